#include "gui/editing/CDel.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "common/ProductName.h"
#include "editing/EditingTexts.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/DialogUnits.h"

namespace tarnwick {

QString CDel::ListLine(const ProfileRemoval& profile) {
    return ToQ(profile.m_strDisplayText) +
           (profile.m_nPages == 1 ? QStringLiteral(" (1 page)")
                                  : QStringLiteral(" (%1 pages)").arg(profile.m_nPages));
}

CDel::CDel(const std::vector<ProfileRemoval>& profiles, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("168"));
    setWindowTitle(QLatin1String(kProductName));
    auto* question = new QLabel(QString::fromLatin1(texts::kDeleteQuestion), this);
    question->setGeometry(Dlu(7, 7, 180, 10));

    // The profiles that go, a line each; a long list scrolls.
    const int shown = std::min<int>(static_cast<int>(profiles.size()), 8);
    const int listHeight = profiles.empty() ? 0 : shown * 10 + 4;
    if (!profiles.empty()) {
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("profiles"));
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
        for (const ProfileRemoval& profile : profiles) {
            list->addItem(ListLine(profile));
        }
        list->setGeometry(Dlu(7, 20, 180, listHeight));
    }
    const int width = profiles.empty() ? 141 : 194;
    const int buttonsTop = 24 + (profiles.empty() ? 0 : listHeight + 2);
    setFixedSize(DluSize(width, buttonsTop + 22));

    auto* yes = new QPushButton(QStringLiteral("Yes"), this);
    yes->setObjectName(QStringLiteral("1070"));
    yes->setGeometry(Dlu(width / 2 - 48, buttonsTop, 45, 14));
    yes->setAutoDefault(false);
    auto* no = new QPushButton(QStringLiteral("No"), this);
    no->setObjectName(QStringLiteral("1045"));
    no->setGeometry(Dlu(width / 2 + 3, buttonsTop, 45, 14));
    no->setDefault(true);
    no->setFocus();
    for (const char* id : {"1073", "1"}) {
        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QString::fromLatin1(id));
        ok->setAutoDefault(false);
        ok->setEnabled(false);
        ok->hide();
    }
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace tarnwick
