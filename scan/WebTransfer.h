// The libcurl options every transfer of a scan shares, pages and robots.txt
// alike: who asks, which protocols may be used (also after a redirect), how
// many redirects are followed, compressed bodies, certificates checked
// against the CA file of the moment, and the connect and stall clocks. Each
// caller adds its own address, limits and callbacks.
#pragma once

#include <curl/curl.h>

namespace tarnwick {

// How the checks introduce themselves to the servers.
inline constexpr const char* kUserAgent = "Internet Explorer6.0.2900.2180";

struct WebTransferOptions {
    const char* protocols;  // libcurl's CURLOPT_PROTOCOLS_STR form
    long maxRedirects;
    long connectTimeoutSeconds;
    long stallSeconds;  // below 1 byte/s for this long ends the transfer
};

// Resets the handle, then sets the shared options.
void setUpWebTransfer(CURL* easy, const WebTransferOptions& options);

}  // namespace tarnwick
