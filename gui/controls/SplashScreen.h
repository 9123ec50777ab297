// The start-up picture, shown without frame in the middle of the screen.
#pragma once

#include "gui/controls/PictureDialog.h"

namespace tarnwick {

class SplashScreen : public PictureDialog {
    Q_OBJECT
public:
    explicit SplashScreen(QWidget* parent = nullptr);
    ~SplashScreen() override;

    // Shows a splash for the given time; the program takes no input meanwhile
    // but keeps painting.
    static void showFor(int milliseconds);
};

}  // namespace tarnwick
