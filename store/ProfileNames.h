// Profile names follow the advertiser's host: the host part of the address,
// then its last two labels (three for names like example.co.uk). Plain
// byte-wise string work; every text gives some name.
#pragma once

#include <string>

namespace tarnwick {

// The address without scheme, leading "www"/"ftp" label and path; may be empty.
std::string hostPart(const std::string& text);

// The last two labels of a host part, or three when a two-letter country label
// follows one of "co", "com", "info", "biz", "net", "org".
std::string baseName(const std::string& hostPart);

// The profile name a display text or an address leads to. A trailing " (k)"
// of a numbered profile's display text is set aside while the base name is
// derived and put back after, so "www.example.co.uk (2)" leads to
// "example.co.uk (2)".
std::string profileName(const std::string& text);

// The base name for k = 1, else base name + " (" + k + ")".
std::string numberedProfileName(const std::string& baseName, int k);

}  // namespace tarnwick
