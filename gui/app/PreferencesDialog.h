// Preferences (File > Preferences...): the settings the desktop program shares
// with tarnwick-cli (AppSettings): the time limit of one page, how many pages
// are fetched side by side, how many at a time from one host and the pause
// between two requests to one host, and how far the link's worth is checked
// (the link-farm threshold, the second fetch as a crawler, running the page's
// scripts). OK writes them; the next run uses them.
#pragma once

#include <QDialog>

#include "store/AppSettings.h"

class QCheckBox;
class QSpinBox;

namespace tarnwick {

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(AppSettings settings, QWidget* parent = nullptr);

    // The settings as the dialog's controls have them now.
    AppSettings Settings() const;

    // Loads the settings, shows the dialog and writes them on OK (a failure
    // is told in a message box). True when they were written.
    static bool Edit(QWidget* parent);

private:
    AppSettings m_settings;
    QSpinBox* m_pPageTimeout = nullptr;
    QSpinBox* m_pSilence = nullptr;
    QSpinBox* m_pJobs = nullptr;
    QSpinBox* m_pHostConnections = nullptr;
    QSpinBox* m_pHostInterval = nullptr;
    QSpinBox* m_pLinkFarm = nullptr;
    QCheckBox* m_pCloakCheck = nullptr;
    QCheckBox* m_pRender = nullptr;
};

}  // namespace tarnwick
