#include "gui/report/SaveReportQuestion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ProductName.h"
#include "gui/controls/DialogLayout.h"

namespace tarnwick {

SaveReportQuestion::SaveReportQuestion(std::function<void()> onStop, QWidget* parent)
    : QDialog(parent), m_stop(std::move(onStop)) {
    setObjectName(QStringLiteral("SaveReportQuestion"));
    setWindowTitle(QLatin1String(kProductName));
    setAccessibleName(windowTitle());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* question = new QLabel(tr("Do you want to save report before exit?"), this);
    setAccessibleDescription(question->text());
    auto* yes = new QPushButton(tr("&Yes"), this);
    yes->setObjectName(kYesButton);
    auto* no = new QPushButton(tr("&No"), this);
    no->setObjectName(kNoButton);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(kCancelButton);
    yes->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addLayout(buttons);

    connect(yes, &QPushButton::clicked, this, [this] { onYes(); });
    connect(no, &QPushButton::clicked, this, [this] { onNo(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // The designed size at least; larger when the texts need it.
    openAtLeast(this, QSize(254, 62));
}

void SaveReportQuestion::onYes() {
    if (m_stop) {
        m_stop();
    }
    accept();
}

void SaveReportQuestion::onNo() {
    accept();
}

}  // namespace tarnwick
