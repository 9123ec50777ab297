#include "gui/controls/SplashScreen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include "common/ProductName.h"
#include "gui/res/Resources.h"

namespace tarnwick {

SplashScreen::SplashScreen(QWidget* parent)
    : PictureDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    initResources();
    setAccessibleName(QLatin1String(kProductName));
    setBackgroundBitmap(QStringLiteral(":/pictures/splash.png"));
    resize(background().isNull() ? QSize(385, 241) : background().size());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

SplashScreen::~SplashScreen() = default;

void SplashScreen::showFor(int milliseconds) {
    if (milliseconds <= 0) {
        return;
    }
    SplashScreen splash;
    splash.show();
    splash.repaint();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(10);
    }
}

}  // namespace tarnwick
