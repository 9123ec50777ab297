#include "gui/app/PreferencesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/controls/AppMessageBox.h"
#include "store/FileError.h"

namespace tarnwick {

PreferencesDialog::PreferencesDialog(AppSettings settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("Preferences"));
    m_pPageTimeout = new QSpinBox(this);
    m_pPageTimeout->setObjectName(QStringLiteral("pageTimeout"));
    m_pPageTimeout->setRange(static_cast<int>(AppSettings::kMinPageTimeoutSeconds),
                             static_cast<int>(AppSettings::kMaxPageTimeoutSeconds));
    m_pPageTimeout->setSuffix(QStringLiteral(" s"));
    m_pPageTimeout->setValue(static_cast<int>(settings.m_nPageTimeoutSeconds));
    m_pPageTimeout->setAccessibleName(QStringLiteral("Time limit of one page"));
    const auto spin = [this](const char* name, long min, long max, long value, const char* suffix,
                             const char* accessible) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setRange(static_cast<int>(min), static_cast<int>(max));
        box->setSuffix(QLatin1String(suffix));
        box->setValue(static_cast<int>(value));
        box->setAccessibleName(QLatin1String(accessible));
        return box;
    };
    m_pSilence =
        spin("silenceTimeout", AppSettings::kMinSilenceSeconds, AppSettings::kMaxSilenceSeconds,
             settings.m_nSilenceSeconds, " s", "Time without any data before a page is given up");
    m_pJobs = spin("jobs", AppSettings::kMinJobs, AppSettings::kMaxJobs, settings.m_nJobs, "",
                   "Pages fetched side by side");
    m_pHostConnections =
        spin("hostConnections", AppSettings::kMinHostConnections, AppSettings::kMaxHostConnections,
             settings.m_nHostConnections, "", "Pages fetched at a time from one host");
    m_pHostInterval =
        spin("hostInterval", AppSettings::kMinHostIntervalMs, AppSettings::kMaxHostIntervalMs,
             settings.m_nHostIntervalMs, " ms", "Pause between two requests to one host");
    m_pHostInterval->setSingleStep(100);
    m_pLinkFarm = spin("linkFarmLinks", AppSettings::kMinLinkFarmLinks,
                       AppSettings::kMaxLinkFarmLinks, settings.m_nLinkFarmLinks, "",
                       "Links to other sites from which a page is a link farm");
    const auto check = [this](const char* name, const char* text, bool value) {
        auto* box = new QCheckBox(QLatin1String(text), this);
        box->setObjectName(QLatin1String(name));
        box->setChecked(value);
        return box;
    };
    m_pCloakCheck = check("cloakCheck", "Ask again as a search engine's &crawler (finds cloaking)",
                          settings.m_bCloakCheck);
    m_pRender =
        check("render", "Also &run the page's scripts in Chromium (slower)", settings.m_bRender);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Time limit of one page:"), m_pPageTimeout);
    form->addRow(QStringLiteral("&Give up a page silent for:"), m_pSilence);
    form->addRow(QStringLiteral("Pages fetched &side by side:"), m_pJobs);
    form->addRow(QStringLiteral("Pages at a time from one &host:"), m_pHostConnections);
    form->addRow(QStringLiteral("&Pause between requests to one host:"), m_pHostInterval);
    form->addRow(QStringLiteral("A page is a link &farm from:"), m_pLinkFarm);
    form->addRow(m_pCloakCheck);
    form->addRow(m_pRender);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

AppSettings PreferencesDialog::Settings() const {
    AppSettings settings = m_settings;
    settings.m_nPageTimeoutSeconds = m_pPageTimeout->value();
    settings.m_nSilenceSeconds = m_pSilence->value();
    settings.m_nJobs = m_pJobs->value();
    settings.m_nHostConnections = m_pHostConnections->value();
    settings.m_nHostIntervalMs = m_pHostInterval->value();
    settings.m_nLinkFarmLinks = m_pLinkFarm->value();
    settings.m_bCloakCheck = m_pCloakCheck->isChecked();
    settings.m_bRender = m_pRender->isChecked();
    return settings;
}

bool PreferencesDialog::Edit(QWidget* parent) {
    PreferencesDialog dialog(AppSettings::Load(), parent);
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
