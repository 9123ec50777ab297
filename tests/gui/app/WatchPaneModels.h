// Qt's own checker of the item model contract, attached to both pane models
// for their whole life: every row inserted, removed, moved or changed by the
// panes (loading, ticking, a scan filling the results) is checked as it is
// signalled, and a breach fails the running test.
#pragma once

#include <QAbstractItemModelTester>

#include "gui/app/MainWindow.h"
#include "gui/app/ProfileListModel.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"

namespace tarnwick::test {

inline void watchPaneModels(MainWindow& frame) {
    for (QAbstractItemModel* model :
         {static_cast<QAbstractItemModel*>(&frame.profilePane()->model()),
          static_cast<QAbstractItemModel*>(&frame.resultsPane()->model())}) {
        // Owned by the model, so it goes when the window goes.
        new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     model);
    }
}

}  // namespace tarnwick::test
