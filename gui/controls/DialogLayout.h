// What the dialogs share for their layout. The controls are placed
// by Qt layouts, so every text gets the room its font needs (a larger system
// font, a scaled screen); the sizes the forms were designed with, in dialog
// units, are only the size a dialog opens with at least.
//
// A dialog unit is a quarter of the dialog font's average character width and
// an eighth of its height: with the 8-point font of the original forms about
// 1.5 pixels wide and 1.625 pixels high, more with a larger font.
#pragma once

#include <QList>
#include <QSize>

class QBoxLayout;
class QWidget;

namespace tarnwick {

QSize dluSize(int w, int h);

// A page of a dialog whose pages share one place: a plain widget laid out by
// `layout` (which it takes). Its size counts while it is hidden, so the dialog
// keeps its size from page to page.
QWidget* makePagePanel(QWidget* parent, QBoxLayout* layout);

// Shows each panel while any of its controls is to be shown, hides it
// otherwise; the controls themselves keep the state the dialog gave them.
void showPanelsWithContent(const QList<QWidget*>& panels);

// The size a dialog opens with: what its layout asks for, at least the
// designed size.
void openAtLeast(QWidget* dialog, QSize designed);

}  // namespace tarnwick
