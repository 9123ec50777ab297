// Mail.txt made of the input's bytes, through both readers.
#include "FuzzFolder.h"
#include "mail/MailSettings.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string path = fuzz::folder().mailPath();
    fuzz::put(path, data, size);
    const MailSettings dialog = readMailSettingsForDialog(path);
    const NotificationMailSettings notification = readMailSettingsForNotification(path);
    if (!dialog.m_requiresSsl && !dialog.m_password.empty()) {
        __builtin_trap();  // the dialog loads the login only after a "1"
    }
    (void)notification;
    sslFlagFromLine(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
