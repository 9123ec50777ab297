#include "common/CurlSetup.h"

#include <curl/curl.h>

#include <cstdlib>
#include <mutex>

namespace tarnwick {

bool CurlSetup::globalInit() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ok;
}

std::string CurlSetup::caFile() {
    for (const char* name : {"SSL_CERT_FILE", "CURL_CA_BUNDLE"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

}  // namespace tarnwick
