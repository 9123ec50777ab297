// Where a mail's outcome goes. The desktop program implements it on the
// results pane and its message box, the command-line companion on its table
// and standard output, the settings dialog for its test mail.
//
// Both calls may come from any sending thread, several at once: an
// implementation must be thread-safe.
#pragma once

#include <string>

namespace tarnwick {

class NotificationSink {
public:
    virtual ~NotificationSink() = default;

    // Writes text into column 2 ("Mail Address") of a results row, where it
    // replaces the address. row is -1 for the test mail, which has no row.
    virtual void setResultMail(int row, const std::string& text) = 0;

    // Shows a message to the user ("Message sent", "First Enter The Mail
    // Settings") and returns when it has been seen. 8-bit text.
    virtual void showMessage(const std::string& text) = 0;
};

}  // namespace tarnwick
