#include "scan/WebTransfer.h"

#include <string>

#include "common/CurlSetup.h"

namespace tarnwick {

void setUpWebTransfer(CURL* e, const WebTransferOptions& options) {
    curl_easy_reset(e);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, options.protocols);
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, options.protocols);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, options.maxRedirects);
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    // Read anew for every transfer: a changed environment applies at once.
    // libcurl copies the string.
    const std::string caFile = CurlSetup::caFile();
    curl_easy_setopt(e, CURLOPT_CAINFO, caFile.empty() ? nullptr : caFile.c_str());
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, options.connectTimeoutSeconds);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, options.stallSeconds);
}

}  // namespace tarnwick
