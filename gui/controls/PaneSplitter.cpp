#include "gui/controls/PaneSplitter.h"

#include <QApplication>
#include <QEvent>
#include <cstring>

namespace tarnwick {

PaneSplitter::PaneSplitter(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setChildrenCollapsible(false);
}

PaneSplitter::~PaneSplitter() = default;

QSplitterHandle* PaneSplitter::createHandle() {
    QSplitterHandle* handle = QSplitter::createHandle();
    handle->installEventFilter(this);
    return handle;
}

bool PaneSplitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (auto* handle = qobject_cast<QSplitterHandle*>(watched)) {
            handle->setCursor(orientation() == Qt::Horizontal ? Qt::SplitHCursor
                                                              : Qt::SplitVCursor);
        }
    }
    return QSplitter::eventFilter(watched, event);
}

bool PaneSplitter::replacePaneView(int row, int column, QWidget* view, bool skipClassTest) {
    const int index = orientation() == Qt::Horizontal ? column : row;
    QWidget* old = widget(index);
    if (view == nullptr || old == nullptr) {
        delete view;
        return false;
    }
    if (!skipClassTest &&
        std::strcmp(old->metaObject()->className(), view->metaObject()->className()) == 0) {
        delete view;
        return false;
    }
    const QList<int> before = sizes();
    const bool hadFocus = old->isAncestorOf(QApplication::focusWidget()) || old->hasFocus();
    replaceWidget(index, view);
    old->deleteLater();
    old->hide();
    setSizes(before);
    view->show();
    if (hadFocus) {
        view->setFocus();
    }
    return true;
}

}  // namespace tarnwick
