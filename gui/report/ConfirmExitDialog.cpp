#include "gui/report/ConfirmExitDialog.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "common/ProductName.h"
#include "gui/controls/DialogLayout.h"
#include "mail/ProductWebSite.h"

namespace tarnwick {

ConfirmExitDialog::ConfirmExitDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConfirmExitDialog"));
    setWindowTitle(QLatin1String(kProductName));
    setAccessibleName(windowTitle());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* question =
        new QLabel(tr("Do you want to exit from %1 ? ").arg(QLatin1String(kProductName)), this);
    setAccessibleDescription(question->text());
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(kOkButton);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(kCancelButton);
    ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] { onOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // The designed size at least; larger when the texts need it.
    openAtLeast(this, QSize(358, 68));
}

void ConfirmExitDialog::onOk() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kProductWebSite)));
    accept();
}

}  // namespace tarnwick
