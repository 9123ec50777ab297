#include "gui/controls/CellColourDelegate.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>

#include "viewrules/ListRules.h"

namespace tarnwick {

QRect CellColourDelegate::checkIndicatorRect(QStyleOptionViewItem option,
                                             const QModelIndex& index) const {
    initStyleOption(&option, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, widget);
}

void CellColourDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_middleElided.contains(index.column())) {
        option->textElideMode = Qt::ElideMiddle;
    }
    const QVariant result = index.data(LinkResultRole);
    const CellColour colour = cellBackgroundOf(
        result.isValid() ? std::optional(static_cast<LinkResult>(result.toInt())) : std::nullopt);
    if (colour != CellColour{}) {
        // A result keeps its colour, and black text on it reads in any theme.
        option->backgroundBrush = QColor(colour.red, colour.green, colour.blue);
        option->palette.setColor(QPalette::Text, Qt::black);
        return;
    }
    // Other cells: the theme's text colour. On a light theme they stay white;
    // on a dark one (light text) the dark bands behind them show through.
    const bool darkTheme = option->palette.color(QPalette::Text).lightness() > 128;
    if (!darkTheme) {
        option->backgroundBrush = QColor(colour.red, colour.green, colour.blue);
    }
}

bool CellColourDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return false;
        default:
            return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
}

}  // namespace tarnwick
