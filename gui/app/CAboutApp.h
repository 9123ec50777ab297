// The about box: the product picture, name and version, the maker's notice and
// contact lines, and two links (mail and web site). It has no visible button:
// Enter leaves it open, Esc or the close box closes it.
#pragma once

#include <QDialog>

class QLabel;

namespace tarnwick {

class CStaClass;

class CAboutApp : public QDialog {
    Q_OBJECT
public:
    explicit CAboutApp(QWidget* parent = nullptr);
    ~CAboutApp() override;

    // The background colour of pixel row y: a light grey brightening by one
    // step every 50 rows.
    static QColor BackgroundAt(int y);

    // The OK handling does nothing: the box stays open.
    void accept() override {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnMailClicked();
    void OnWebClicked();

    CStaClass* m_wndMail = nullptr;  // 1056
    CStaClass* m_wndWeb = nullptr;   // 1057
};

}  // namespace tarnwick
