// Command identifiers of the menu and tool bar. Every action carries its
// identifier as object name, so tests find it as the command list names it.
#pragma once

namespace tarnwick {

enum CommandId : int {
    ID_PLAY = 32771,
    ID_STOP = 32772,
    ID_ADD = 32773,
    ID_DELETE = 32774,
    ID_EDIT_PROFILE = 32778,
    ID_FILE_EXIT = 32779,
    ID_ABOUT = 32780,
    ID_EXIT = 32781,
    ID_VIEW_STATUS_BAR = 32782,
    ID_HELP_ABOUT = 32783,
    ID_HELP_TOPIC = 32785,
    ID_FILE_PREFERENCES = 32790,
    ID_VIEW_HISTORY = 32791,
    ID_CHECK_WITHOUT_MAIL = 32801,  // Scan > Check without mailing (a toggle)
    ID_MAIL_SETTINGS = 32802,       // Profile > Mail Settings...
    ID_FILE_EXPORT = 32811,         // File > Export Results...
    ID_CHECK_PAGE_NOW = 32812,      // Scan > Check This Page Now (the current result row)
    ID_VIEW_FIND = 32813,           // View > Find... (Ctrl+F: the results' search box)
    ID_HELP = 57670,
    ID_VIEW_TOOLBAR = 59392,  // also the tool bar's own ID
    ID_STATUS_BAR_WINDOW = 59393,
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCRL = 59139,
};

}  // namespace tarnwick
