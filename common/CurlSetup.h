// The libcurl set-up every part that talks to a server shares: the page
// fetcher and the SMTP component. libcurl's global initialisation runs once per
// process, and both verify certificates against the same CA file.
#pragma once

#include <string>

namespace tarnwick {

class CurlSetup {
public:
    // Initialises libcurl once for the whole process (the first call does it;
    // later calls only tell the outcome). False when libcurl is unusable.
    static bool globalInit();

    // The CA file named by the environment (SSL_CERT_FILE, else
    // CURL_CA_BUNDLE), read anew on every call so a change applies to the next
    // transfer; empty when neither is set, and then the system's store is used.
    static std::string caFile();
};

}  // namespace tarnwick
