// Dialog sizes and places are given in dialog units: a quarter of the
// dialog font's average character width and an eighth of its height. With
// the 8-point dialog font of the original forms that is about 1.5 pixels
// wide and 1.625 pixels high per unit; a larger font (or a larger system font
// setting) makes the whole form larger, never smaller, so no text is cut.
#pragma once

#include <QRect>

class QWidget;

namespace tarnwick {

QRect Dlu(int x, int y, int w, int h);
QSize DluSize(int w, int h);

// Widens every label and button of the dialog whose text needs more room
// than its place gives, moves what stands to its right on the same line
// along, and grows the dialog to hold it all. Call it once the controls are
// placed.
void FitTextsToDialog(QWidget* dialog);

}  // namespace tarnwick
