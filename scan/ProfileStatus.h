// Where a profile of the run stands, as the profile pane's "Status" column
// and the command line show it.
#pragma once

#include <string>

namespace tarnwick {

enum class ProfileStatus {
    Waiting,    // "Waiting...": its pages' turn has not come
    Running,    // "Running...": its pages are being checked
    Done,       // "Completed.": its pages are checked, the run goes on
    Completed,  // "Completed": the profile of the run's last page, the run is over
    Stopped,    // "Stopped.": Stop came before its pages were all checked
};

const std::string& profileStatusWord(ProfileStatus status);

}  // namespace tarnwick
