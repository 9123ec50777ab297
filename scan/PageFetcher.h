// Fetches publisher pages over HTTP, HTTPS or FTP and classifies each as its
// bytes arrive (LinkFinder). One fetcher keeps one libcurl multi handle and
// its connections for as long as it lives, so a scan run that checks many pages
// of one site does not open a new connection for each.
//
// Pages are fetched one at a time (Check) or side by side (Add, then Run until
// each has come back): one thread drives every transfer through the multi
// handle, with no thread per page. Side by side:
//   - at most Options::jobs transfers are on the wire at once, robots.txt
//     fetches included; pages start in the order they were added, except that
//     a page whose host is busy lets later pages of other hosts go first;
//   - at most Options::hostConnections transfers to one host at a time, and
//     the starts of two requests to one host at least Options::hostIntervalMs
//     apart;
//   - a page's time limit covers its whole life on the partner's side: every
//     redirection hop, a Retry-After wait and its robots.txt, but never the
//     time it waits for its turn in our own queue (each redirection hop waits
//     for its turn at its host like a first request); the time recorded in
//     the evidence is that time;
//   - each transfer keeps only the classifier's window and the evidence
//     parser's state, never the body;
//   - a 429 or 503 answer with a Retry-After of at most 30 s is asked again
//     once after that time (the host waits as long); otherwise the answer is
//     the result, as below;
//   - with Options::cloakCheck, a page checked with evidence whose link is
//     worth following is asked once more with Googlebot's User-Agent, through
//     the same per-host queue and limits, before it comes back; what the
//     crawler was shown differently goes into the evidence (m_cloaking).
//
// Rules of the fetch:
//   - an address without "scheme://" at its start is not opened ("Page cannot
//     be displayed"), and only http, https and ftp are opened, also when a
//     redirection leads elsewhere (file://, ...): that too is "Page cannot be
//     displayed";
//   - redirections (301, 302, 303, 307, 308 with a Location) are followed,
//     at most Options::maxRedirects of them;
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
//     transfer): the words LinkFinder gives for the body;
//   - final HTTP status 404 or 410: "Page Cannot be Found", whatever the body;
//   - any other final status of 400 or more: "Page cannot be displayed";
//   - a transfer that did not complete (time limit, stall, reset, broken
//     chunking, TLS failure mid-body...): "Page cannot be displayed", whatever
//     arrived before.
// Every result carries its reason. Every failure becomes a result; nothing is
// thrown, logged or shown.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scan/PageEvidence.h"
#include "scan/PageQueue.h"
#include "scan/PageResult.h"
#include "scan/RobotsCache.h"

namespace tarnwick {

class PageFetcher : public PageQueue {
public:
    struct Options {
        long connectTimeoutSeconds = 30;
        long stallSeconds = 20;         // no byte received for this long ends the transfer
        long pageTimeoutSeconds = 120;  // the whole page, connecting included
        long maxRedirects = 20;
        int jobs = 256;           // transfers on the wire at once (Add and Run)
        int hostConnections = 2;  // transfers to one host at once
        long hostIntervalMs = 0;  // between the starts of two requests to one host
        // A page whose link is worth following (evidence asked for) is
        // fetched a second time as Googlebot, and what differs is told.
        bool cloakCheck = true;
    };

    PageFetcher() : PageFetcher(Options{}) {}
    explicit PageFetcher(Options options);
    ~PageFetcher() override;
    PageFetcher(const PageFetcher&) = delete;
    PageFetcher& operator=(const PageFetcher&) = delete;

    // One of "Link Found", "Link Not Found", "Page cannot be displayed",
    // "Page Cannot be Found", with its reason and the final HTTP status. Not
    // to be called from two threads at once, nor while pages added with Add
    // are outstanding. With evidence, also gathers what the same transfer
    // shows of the link's worth (LinkFinder) and the host's robots.txt
    // verdict (fetched once per host for the life of the fetcher, with the
    // same time-outs).
    PageResult check(const std::string& page, const std::string& advertiser,
                     PageEvidence* evidence = nullptr);

    // Queues a page; Run gives it back with the caller's id. Add, Run and
    // Forget belong to one thread.
    void add(std::size_t id, const std::string& page, const std::string& advertiser,
             bool evidence) override;
    // Drives the transfers until at least one page is done, Wakeup is called
    // or wait has passed; returns the pages done (in any order).
    std::vector<Fetched> run(std::chrono::milliseconds wait) override;
    // Ends every transfer and drops every page added, but keep (and the
    // robots.txt fetch it waits for): none of them comes back from Run.
    void forget(std::optional<std::size_t> keep) override;
    // Pages added that Run has not given back yet.
    std::size_t outstanding() const override { return m_outstanding; }

    // Callable from any thread: ends the transfers in progress at once and
    // makes every later page answer "Page cannot be displayed" without
    // fetching. For shutting down a scan run.
    void cancel() override;
    // Callable from any thread: makes the Run in progress (or the next one)
    // return soon.
    void wakeup() override;

private:
    struct Job;
    struct Live;
    struct Engine;
    enum class End { Done, Stalled, TimeLimit, Failed };

    void fill();
    void start(Job job);
    void unstarted(Job job);
    void finish(void* easy, End end, int code);
    void finishPage(Live& live, End end, int code);
    void requeue(Job job);
    void finishCrawler(Live& live, PageResult result, PageEvidence evidence);
    void robotsKnown(const std::string& origin);
    std::unique_ptr<Live> release(void* easy);
    void deliver(Fetched fetched);
    void cancelAll();
    std::chrono::steady_clock::time_point nextTimer() const;

    Options m_options;
    std::unique_ptr<Engine> m_engine;
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_woken{false};
    std::size_t m_outstanding = 0;
    RobotsCache m_robots;
};

}  // namespace tarnwick
