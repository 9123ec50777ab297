// The main window's tool bar: its button pictures come from one true-colour
// strip of equally wide pictures (the strip's corner colour is transparent),
// and a button can carry a drop-down menu.
#pragma once

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QToolBar>

class QMenu;

namespace tarnwick {

class MainToolBar : public QToolBar {
    Q_OBJECT
public:
    struct MenuButton {
        QPointer<QAction> m_action;
        QPointer<QMenu> m_menu;
        QPointer<QWidget> m_owner;
    };

    explicit MainToolBar(const QString& title, QWidget* parent = nullptr);
    ~MainToolBar() override;

    // Gives the buttons, in order, the pictures of the strips (paths of
    // pictures; empty for none): normal, hot (under the mouse) and disabled.
    // A button that already has a desktop theme icon keeps it. False at the
    // first strip that cannot be loaded.
    bool loadColorImages(int buttonWidth, const QString& normal, const QString& hot = {},
                         const QString& disabled = {});

    // The pictures cut from a strip: width / buttonWidth pictures of the
    // strip's height, the colour of its bottom-left pixel made transparent.
    static QList<QPixmap> cutStrip(const QImage& strip, int buttonWidth);

    // Gives the button of the action a drop-down arrow that opens the menu.
    void addMenuButton(QWidget* owner, QAction* action, QMenu* menu);
    bool dropDownArrowsEnabled() const { return m_dropDownArrows; }
    const QList<MenuButton>& menuButtons() const { return m_menuButtons; }

private:
    bool m_dropDownArrows = false;
    QList<MenuButton> m_menuButtons;
};

}  // namespace tarnwick
