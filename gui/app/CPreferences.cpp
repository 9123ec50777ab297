#include "gui/app/CPreferences.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/controls/AppMessageBox.h"
#include "store/FileError.h"

namespace tarnwick {

CPreferences::CPreferences(AppSettings settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("Preferences"));
    m_pPageTimeout = new QSpinBox(this);
    m_pPageTimeout->setObjectName(QStringLiteral("pageTimeout"));
    m_pPageTimeout->setRange(static_cast<int>(AppSettings::kMinPageTimeoutSeconds),
                             static_cast<int>(AppSettings::kMaxPageTimeoutSeconds));
    m_pPageTimeout->setSuffix(QStringLiteral(" s"));
    m_pPageTimeout->setValue(static_cast<int>(settings.m_nPageTimeoutSeconds));
    m_pPageTimeout->setAccessibleName(QStringLiteral("Time limit of one page"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Time limit of one page:"), m_pPageTimeout);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

AppSettings CPreferences::Settings() const {
    AppSettings settings = m_settings;
    settings.m_nPageTimeoutSeconds = m_pPageTimeout->value();
    return settings;
}

bool CPreferences::Edit(QWidget* parent) {
    CPreferences dialog(AppSettings::Load(), parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    try {
        dialog.Settings().Save();
        return true;
    } catch (const FileError& error) {
        AppMessageBox::Show(error, AppMessageBox::Buttons::Ok, parent);
        return false;
    }
}

}  // namespace tarnwick
