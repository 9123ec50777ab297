// Mail.txt made of the input's bytes, through both readers.
#include "FuzzFolder.h"
#include "mail/MailSettings.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string path = fuzz::Folder().MailPath();
    fuzz::Put(path, data, size);
    const MailSettings dialog = ReadMailSettingsForDialog(path);
    const NotificationMailSettings notification = ReadMailSettingsForNotification(path);
    if (!dialog.m_bRequiresSsl && !dialog.m_strPassword.empty()) {
        __builtin_trap();  // the dialog loads the login only after a "1"
    }
    (void)notification;
    SslFlagFromLine(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
