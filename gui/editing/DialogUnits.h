// Dialog sizes and places are given in dialog units of the 8-point dialog
// font: about 1.5 pixels wide and 1.625 pixels high per unit.
#pragma once

#include <QRect>

namespace tarnwick {

inline QRect Dlu(int x, int y, int w, int h) {
    return QRect(x * 3 / 2, y * 13 / 8, w * 3 / 2, h * 13 / 8);
}

inline QSize DluSize(int w, int h) {
    return QSize(w * 3 / 2, h * 13 / 8);
}

}  // namespace tarnwick
