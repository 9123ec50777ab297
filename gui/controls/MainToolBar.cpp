#include "gui/controls/MainToolBar.h"

#include <QAction>
#include <QBitmap>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QToolButton>

namespace tarnwick {

MainToolBar::MainToolBar(const QString& title, QWidget* parent) : QToolBar(title, parent) {}

MainToolBar::~MainToolBar() = default;

QList<QPixmap> MainToolBar::cutStrip(const QImage& strip, int buttonWidth) {
    QList<QPixmap> pictures;
    if (strip.isNull() || buttonWidth <= 0) {
        return pictures;
    }
    const QColor mask = strip.pixelColor(0, strip.height() - 1);
    const int count = strip.width() / buttonWidth;
    for (int i = 0; i < count; ++i) {
        QPixmap picture =
            QPixmap::fromImage(strip.copy(i * buttonWidth, 0, buttonWidth, strip.height()));
        picture.setMask(picture.createMaskFromColor(mask));
        pictures.append(picture);
    }
    return pictures;
}

bool MainToolBar::loadColorImages(int buttonWidth, const QString& normal, const QString& hot,
                                  const QString& disabled) {
    const QList<QAction*> buttons = actions();
    const struct {
        const QString* path;
        QIcon::Mode mode;
    } strips[] = {{&normal, QIcon::Normal}, {&hot, QIcon::Active}, {&disabled, QIcon::Disabled}};
    for (const auto& strip : strips) {
        if (strip.path->isEmpty()) {
            continue;
        }
        const QImage image(*strip.path);
        const QList<QPixmap> pictures = cutStrip(image, buttonWidth);
        if (pictures.isEmpty()) {
            return false;
        }
        int next = 0;
        for (QAction* action : buttons) {
            if (action->isSeparator() || next >= pictures.size()) {
                continue;
            }
            const QPixmap& picture = pictures[next++];
            QIcon icon = action->icon();
            if (action->property("themeIcon").toBool()) {
                continue;
            }
            icon.addPixmap(picture, strip.mode);
            action->setIcon(icon);
        }
        setIconSize(QSize(buttonWidth, image.height()));
    }
    return true;
}

void MainToolBar::addMenuButton(QWidget* owner, QAction* action, QMenu* menu) {
    m_dropDownArrows = true;
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action))) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    m_menuButtons.append({action, menu, owner});
}

}  // namespace tarnwick
