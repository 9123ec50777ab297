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
    AppSettings settings() const;

    // Loads the settings, shows the dialog and writes them on OK (a failure
    // is told in a message box). True when they were written.
    static bool edit(QWidget* parent);

private:
    AppSettings m_settings;
    QSpinBox* m_pageTimeout = nullptr;
    QSpinBox* m_silence = nullptr;
    QSpinBox* m_jobsSpin = nullptr;
    QSpinBox* m_hostConnectionsSpin = nullptr;
    QSpinBox* m_hostInterval = nullptr;
    QSpinBox* m_linkFarm = nullptr;
    QCheckBox* m_cloakCheckBox = nullptr;
    QCheckBox* m_renderBox = nullptr;
};

}  // namespace tarnwick
