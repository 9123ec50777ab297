#include "gui/app/AboutDialog.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include "common/Version.h"
#include "gui/app/ProductInfo.h"
#include "gui/controls/DialogLayout.h"
#include "gui/controls/LinkLabel.h"
#include "gui/res/Resources.h"

namespace tarnwick {
namespace {

const QColor kLabelBackground(245, 244, 244);

QLabel* makeText(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, kLabelBackground);
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    return label;
}

LinkLabel* makeLink(QWidget* parent, const char* name, const QString& text,
                    const QString& hoverText) {
    auto* link = new LinkLabel(parent);
    link->setObjectName(name);
    link->setText(text);
    link->setHoverText(hoverText);
    link->setAutoFillBackground(true);
    QPalette pal = link->palette();
    pal.setColor(QPalette::Window, kLabelBackground);
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link->setPalette(pal);
    QFont font = link->font();
    font.setPixelSize(12);
    font.setUnderline(false);
    link->setFont(font);
    return link;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    initResources();
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("About ") + QLatin1String(kProductName));

    auto* picture = new QLabel(this);
    picture->setObjectName(kPicture);
    picture->setPixmap(QPixmap(QStringLiteral(":/pictures/about.png")));
    picture->setFixedSize(90, 88);
    picture->setAccessibleName(QLatin1String(kProductName));

    QLabel* version = makeText(this, kVersionLabel, QString::fromLatin1(kProductVersionLine));
    // The product's version line is the one users have always seen; the
    // version of this build, the one a bug report needs, stands beside it.
    QLabel* packageVersion = makeText(this, kPackageVersionLabel,
                                      tr("(package %1)").arg(QLatin1String(kPackageVersion)));
    QLabel* notice = makeText(this, kNoticeLabel, tr(kMakerNotice));
    QLabel* contact = makeText(this, kContactLabel, tr(kMakerContact));
    QLabel* mailLabel = makeText(this, kMailLabel, tr("Email : "));
    m_mail = makeLink(this, kMailLink, QString::fromLatin1(kMakerMail),
                      QString::fromLatin1(kMakerMail) + QLatin1Char('.'));
    m_mail->setAccessibleName(tr("Email"));
    m_mail->setAccessibleDescription(QString::fromLatin1(kMakerMail));
    mailLabel->setBuddy(m_mail);
    m_web = makeLink(this, kWebLink, QString::fromLatin1(kProductWebSite),
                     QString::fromLatin1(kProductWebSite));
    m_web->setAccessibleName(tr("Web site"));
    m_web->setAccessibleDescription(QString::fromLatin1(kProductWebSite));

    // The template's OK button is hidden and disabled.
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(kOkButton);
    ok->setAutoDefault(false);
    ok->setEnabled(false);
    ok->hide();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(picture, 0, 0, 5, 1, Qt::AlignTop);
    auto* versions = new QHBoxLayout;
    versions->setSpacing(6);
    versions->addWidget(version);
    versions->addWidget(packageVersion);
    versions->addStretch(1);
    grid->addLayout(versions, 0, 1, 1, 2);
    grid->addWidget(notice, 1, 1, 1, 2);
    grid->addWidget(contact, 2, 1, 1, 2);
    grid->addWidget(mailLabel, 3, 1);
    grid->addWidget(m_mail, 3, 2);
    grid->addWidget(m_web, 4, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    connect(m_mail, &LinkLabel::clicked, this, &AboutDialog::onMailClicked);
    connect(m_web, &LinkLabel::clicked, this, &AboutDialog::onWebClicked);
    // The designed size at least; larger when the texts need it.
    openAtLeast(this, QSize(377, 145));
}

AboutDialog::~AboutDialog() = default;

QColor AboutDialog::backgroundAt(int y) {
    const int step = y / 50;
    return QColor((243 + step) % 256, (242 + step) % 256, (242 + step) % 256);
}

void AboutDialog::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    for (int y = 0; y < height(); ++y) {
        painter.setPen(backgroundAt(y));
        painter.drawLine(0, y, width() - 1, y);
    }
}

void AboutDialog::onMailClicked() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(kMakerMail)));
}

void AboutDialog::onWebClicked() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kProductWebSite)));
}

}  // namespace tarnwick
