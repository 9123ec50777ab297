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
    setWindowTitle(tr("Preferences"));
    m_pageTimeout = new QSpinBox(this);
    m_pageTimeout->setObjectName(QStringLiteral("pageTimeout"));
    m_pageTimeout->setRange(static_cast<int>(AppSettings::kMinPageTimeoutSeconds),
                            static_cast<int>(AppSettings::kMaxPageTimeoutSeconds));
    m_pageTimeout->setSuffix(tr(" s"));
    m_pageTimeout->setValue(static_cast<int>(settings.m_pageTimeoutSeconds));
    m_pageTimeout->setAccessibleName(tr("Time limit of one page"));
    const auto spin = [this](const char* name, long min, long max, long value, const char* suffix,
                             const char* accessible) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setRange(static_cast<int>(min), static_cast<int>(max));
        box->setSuffix(tr(suffix));
        box->setValue(static_cast<int>(value));
        box->setAccessibleName(tr(accessible));
        return box;
    };
    m_silence = spin("silenceTimeout", AppSettings::kMinSilenceSeconds,
                     AppSettings::kMaxSilenceSeconds, settings.m_silenceSeconds, QT_TR_NOOP(" s"),
                     QT_TR_NOOP("Time without any data before a page is given up"));
    m_jobsSpin = spin("jobs", AppSettings::kMinJobs, AppSettings::kMaxJobs, settings.m_jobs, "",
                      QT_TR_NOOP("Pages fetched side by side"));
    m_hostConnectionsSpin =
        spin("hostConnections", AppSettings::kMinHostConnections, AppSettings::kMaxHostConnections,
             settings.m_hostConnections, "", QT_TR_NOOP("Pages fetched at a time from one host"));
    m_hostInterval = spin("hostInterval", AppSettings::kMinHostIntervalMs,
                          AppSettings::kMaxHostIntervalMs, settings.m_hostIntervalMs,
                          QT_TR_NOOP(" ms"), QT_TR_NOOP("Pause between two requests to one host"));
    m_hostInterval->setSingleStep(100);
    m_linkFarm = spin("linkFarmLinks", AppSettings::kMinLinkFarmLinks,
                      AppSettings::kMaxLinkFarmLinks, settings.m_linkFarmLinks, "",
                      QT_TR_NOOP("Links to other sites from which a page is a link farm"));
    const auto check = [this](const char* name, const char* text, bool value) {
        auto* box = new QCheckBox(tr(text), this);
        box->setObjectName(QLatin1String(name));
        box->setChecked(value);
        return box;
    };
    m_cloakCheckBox =
        check("cloakCheck", QT_TR_NOOP("Ask again as a search engine's &crawler (finds cloaking)"),
              settings.m_cloakCheck);
    m_renderBox = check("render", QT_TR_NOOP("Also &run the page's scripts in Chromium (slower)"),
                        settings.m_render);

    auto* form = new QFormLayout;
    form->addRow(tr("&Time limit of one page:"), m_pageTimeout);
    form->addRow(tr("&Give up a page silent for:"), m_silence);
    form->addRow(tr("Pages fetched &side by side:"), m_jobsSpin);
    form->addRow(tr("Pages at a time from one &host:"), m_hostConnectionsSpin);
    form->addRow(tr("&Pause between requests to one host:"), m_hostInterval);
    form->addRow(tr("A page is a link &farm from:"), m_linkFarm);
    form->addRow(m_cloakCheckBox);
    form->addRow(m_renderBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

AppSettings PreferencesDialog::settings() const {
    AppSettings settings = m_settings;
    settings.m_pageTimeoutSeconds = m_pageTimeout->value();
    settings.m_silenceSeconds = m_silence->value();
    settings.m_jobs = m_jobsSpin->value();
    settings.m_hostConnections = m_hostConnectionsSpin->value();
    settings.m_hostIntervalMs = m_hostInterval->value();
    settings.m_linkFarmLinks = m_linkFarm->value();
    settings.m_cloakCheck = m_cloakCheckBox->isChecked();
    settings.m_render = m_renderBox->isChecked();
    return settings;
}

bool PreferencesDialog::edit(QWidget* parent) {
    PreferencesDialog dialog(AppSettings::load(), parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    try {
        dialog.settings().save();
        return true;
    } catch (const FileError& error) {
        AppMessageBox::show(error, AppMessageBox::Buttons::Ok, parent);
        return false;
    }
}

}  // namespace tarnwick
