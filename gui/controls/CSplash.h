// The start-up picture, shown without frame in the middle of the screen.
#pragma once

#include "gui/controls/CBDialog.h"

namespace tarnwick {

class CSplash : public CBDialog {
    Q_OBJECT
public:
    explicit CSplash(QWidget* parent = nullptr);
    ~CSplash() override;

    // Shows a splash for the given time; the program takes no input meanwhile
    // but keeps painting.
    static void ShowFor(int milliseconds);
};

}  // namespace tarnwick
