#include "gui/editing/DeleteProfilesQuestion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "common/ProductName.h"
#include "editing/EditingTexts.h"
#include "gui/controls/DialogLayout.h"
#include "gui/controls/TextCodec.h"

namespace tarnwick {

QString DeleteProfilesQuestion::listLine(const ProfileRemoval& profile) {
    return toQ(profile.m_displayText) +
           (profile.m_pages == 1 ? tr(" (1 page)") : tr(" (%1 pages)").arg(profile.m_pages));
}

DeleteProfilesQuestion::DeleteProfilesQuestion(const std::vector<ProfileRemoval>& profiles,
                                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DeleteProfilesQuestion"));
    setWindowTitle(QLatin1String(kProductName));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(tr(texts::kDeleteQuestion), this);
    layout->addWidget(question);

    // The profiles that go, a line each; a long list scrolls.
    if (!profiles.empty()) {
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("profiles"));
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
        for (const ProfileRemoval& profile : profiles) {
            list->addItem(listLine(profile));
        }
        const int shown = std::min<int>(static_cast<int>(profiles.size()), 8);
        list->setFixedHeight(shown * list->sizeHintForRow(0) + 2 * list->frameWidth());
        list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                              (static_cast<int>(profiles.size()) > shown
                                   ? list->verticalScrollBar()->sizeHint().width()
                                   : 0));
        question->setBuddy(list);
        layout->addWidget(list);
    }

    auto* yes = new QPushButton(tr("&Yes"), this);
    yes->setObjectName(kYesButton);
    auto* no = new QPushButton(tr("&No"), this);
    no->setObjectName(kNoButton);
    no->setDefault(true);
    no->setFocus();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    for (const char* name : {kHiddenOkButton, kOkButton}) {
        auto* ok = new QPushButton(tr("OK"), this);
        ok->setObjectName(name);
        ok->setAutoDefault(false);
        ok->setEnabled(false);
        ok->hide();
    }
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    openAtLeast(this, dluSize(profiles.empty() ? 141 : 194, 46));
}

}  // namespace tarnwick
