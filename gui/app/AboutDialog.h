// The about box: the product picture, name and version, the maker's notice and
// contact lines, and two links (mail and web site). It has no visible button:
// Enter leaves it open, Esc or the close box closes it.
#pragma once

#include <QDialog>

class QLabel;

namespace tarnwick {

class LinkLabel;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

    // The background colour of pixel row y: a light grey brightening by one
    // step every 50 rows.
    static QColor backgroundAt(int y);

    // The OK handling does nothing: the box stays open.
    void accept() override {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void onMailClicked();
    void onWebClicked();

    LinkLabel* m_mail = nullptr;  // 1056
    LinkLabel* m_web = nullptr;   // 1057
};

}  // namespace tarnwick
