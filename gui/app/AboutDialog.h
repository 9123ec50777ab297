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
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kPicture[] = "picture";
    static constexpr char kVersionLabel[] = "versionLabel";
    static constexpr char kPackageVersionLabel[] = "packageVersion";
    static constexpr char kNoticeLabel[] = "noticeLabel";
    static constexpr char kContactLabel[] = "contactLabel";
    static constexpr char kMailLabel[] = "mailLabel";
    static constexpr char kMailLink[] = "mailLink";
    static constexpr char kWebLink[] = "webLink";
    static constexpr char kOkButton[] = "okButton";

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

    LinkLabel* m_mail = nullptr;
    LinkLabel* m_web = nullptr;
};

}  // namespace tarnwick
