// Fetches publisher pages over HTTP, HTTPS or FTP and classifies each as its
// bytes arrive (LinkClassifier). One fetcher keeps one transfer handle and its
// connections for as long as it lives, so a scan run that checks many pages of
// one site does not open a new connection for each.
//
// Rules of the fetch:
//   - an address without "scheme://" at its start is not opened ("Page cannot
//     be displayed"), and only http, https and ftp are opened, also when a
//     redirection leads elsewhere (file://, ...): that too is "Page cannot be
//     displayed";
//   - redirections are followed (at most Options::maxRedirects);
//   - HTTP requests carry the User-Agent "Internet Explorer6.0.2900.2180";
//   - compressed bodies are decoded;
//   - TLS certificates are verified against the system's store, or against
//     the file named by SSL_CERT_FILE (else CURL_CA_BUNDLE) when set;
//   - proxies come from the usual environment variables (http_proxy, ...);
//   - a connection that is not made within the connect time-out, a transfer
//     that receives no byte for the stall time-out, and a page that is not
//     complete within the page time limit end the fetch;
//   - spaces, control bytes and bytes above 0x7E in the address are sent as
//     %XX, as a browser does.
// The result says only what was seen:
//   - a complete transfer with a 2xx final status (or a complete FTP
//     transfer): the words LinkClassifier gives for the body;
//   - final HTTP status 404 or 410: "Page Cannot be Found", whatever the body;
//   - any other final status of 400 or more: "Page cannot be displayed";
//   - a transfer that did not complete (time limit, stall, reset, broken
//     chunking, TLS failure mid-body...): "Page cannot be displayed", whatever
//     arrived before.
// Every result carries its reason. Every failure becomes a result; nothing is
// thrown, logged or shown.
#pragma once

#include <atomic>
#include <string>

#include "scan/PageEvidence.h"
#include "scan/PageResult.h"
#include "scan/RobotsCache.h"

namespace tarnwick {

class PageFetcher {
public:
    struct Options {
        long connectTimeoutSeconds = 30;
        long stallSeconds = 60;         // no byte received for this long ends the transfer
        long pageTimeoutSeconds = 120;  // the whole page, connecting included
        long maxRedirects = 20;
    };

    PageFetcher() : PageFetcher(Options{}) {}
    explicit PageFetcher(Options options);
    ~PageFetcher();
    PageFetcher(const PageFetcher&) = delete;
    PageFetcher& operator=(const PageFetcher&) = delete;

    // One of "Link Found", "Link Not Found", "Page cannot be displayed",
    // "Page Cannot be Found", with its reason and the final HTTP status. Not
    // to be called from two threads at once. With evidence, also gathers
    // what the same transfer shows of the link's worth (EvidenceCollector)
    // and the host's robots.txt verdict (fetched once per host for the life
    // of the fetcher, with the same time-outs).
    PageResult Check(const std::string& page, const std::string& advertiser,
                     PageEvidence* evidence = nullptr);

    // Callable from any thread: ends the transfer in progress at once and
    // makes every later Check answer "Page cannot be displayed" without
    // fetching. For shutting down a scan run.
    void Cancel();

private:
    Options m_options;
    void* m_pMulti;  // CURLM*
    void* m_pEasy;   // CURL*
    std::atomic<bool> m_bCancelled{false};
    RobotsCache m_robots;
};

}  // namespace tarnwick
