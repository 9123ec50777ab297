// Page Details: everything the check of one results row saw, as selectable
// text: the row's advertiser's site, page and result, what became of its
// letter (sent, failed or held back, and why), then every fact of its
// evidence. Read only; Close (or Escape) ends it.
#pragma once

#include <QDialog>

#include "scan/ResultRow.h"

class QFormLayout;

namespace tarnwick {

class PageDetailsDialog : public QDialog {
    Q_OBJECT
public:
    PageDetailsDialog(const ResultRow& row, QWidget* parent = nullptr);

    // The value shown for a name ("Verdict", "HTTP status", ...); empty when
    // there is no such line.
    QString value(const QString& name) const;

private:
    void addLine(const QString& name, const QString& value);

    QFormLayout* m_form = nullptr;
};

}  // namespace tarnwick
