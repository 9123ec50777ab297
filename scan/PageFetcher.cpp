#include "scan/PageFetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/AsciiText.h"
#include "common/CurlSetup.h"
#include "common/Utf8Ctype.h"
#include "scan/CheckPage.h"
#include "scan/FetchVerdict.h"
#include "scan/HostQueue.h"
#include "scan/LinkFinder.h"
#include "scan/WebTransfer.h"
#include "scan/WireAddress.h"

namespace tarnwick {
namespace {

constexpr const char* kProtocols = "http,https,ftp";

using Clock = std::chrono::steady_clock;

// One page's transfer: the classifier its body goes to, the time the last
// byte (of a header or of the body) arrived, and the final HTTP status once
// the body begins. A page keeps its transfer over its redirections: each
// request is one hop, and the classifier sees every answer's headers but
// only the last answer's body.
struct Transfer {
    explicit Transfer(const std::string& advertiser) : finder(advertiser) {}

    // Ready for the next request of the page on easy.
    void beginHop(CURL* e, Clock::time_point now) {
        easy = e;
        lastByte = now;
        bodyBegun = false;
        httpStatus = 0;
        stoppedOnPurpose = false;
        redirecting = false;
        discarded = 0;
        headerSeen = false;
        location = false;
        error[0] = '\0';
    }

    LinkFinder finder;
    Clock::time_point lastByte{};
    CURL* easy = nullptr;
    bool bodyBegun = false;
    long httpStatus = 0;
    bool stoppedOnPurpose = false;  // the result was decided before the end
    bool redirecting = false;       // the answer sends the page elsewhere
    std::size_t discarded = 0;      // bytes of a redirection's body let go
    bool headerSeen = false;        // a header line of this request arrived
    bool location = false;          // the latest answer has a Location header
    char error[CURL_ERROR_SIZE] = {};
    long retryAfterSeconds = -1;  // the latest answer's Retry-After, -1: none
};

// Where a redirection answer sends the page, or nothing when it does not.
std::optional<std::string> redirectTarget(CURL* easy, long status) {
    if (!isRedirectStatus(status)) {
        return std::nullopt;
    }
    const char* target = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &target) != CURLE_OK || target == nullptr) {
        return std::nullopt;
    }
    return std::string(target);
}

// A redirection's body is not part of the page; a little of it is read so
// that the connection stays usable for the next hop, a longer one is cut.
constexpr std::size_t kLongestRedirectBody = 64 * 1024;

bool isHttp(CURL* easy) {
    const char* scheme = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_SCHEME, &scheme) != CURLE_OK || scheme == nullptr) {
        return false;
    }
    const std::string_view s(scheme);
    const auto is = [&s](std::string_view name) {
        return s.size() == name.size() &&
               std::equal(s.begin(), s.end(), name.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
               });
    };
    return is("http") || is("https");
}

// The final HTTP status of the transfer, 0 for FTP and before any answer.
long httpStatus(CURL* easy) {
    long status = 0;
    if (!isHttp(easy) || curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) {
        return 0;
    }
    return status;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastByte = Clock::now();
    if (t->redirecting) {
        t->discarded += n;
        if (t->discarded > kLongestRedirectBody) {
            t->stoppedOnPurpose = true;
            return 0;
        }
        return n;
    }
    if (!t->bodyBegun) {
        t->bodyBegun = true;
        t->httpStatus = httpStatus(t->easy);
        // libcurl knows the redirection's target only once the answer has
        // ended; its Location header tells it now.
        if (isRedirectStatus(t->httpStatus) && t->location) {
            t->redirecting = true;
            t->discarded = n;
            return n;
        }
        if (t->httpStatus >= 400) {
            // The status decides; the error page's text cannot change that.
            t->stoppedOnPurpose = true;
            return 0;
        }
        // Relative links are read against the address that answered.
        const char* address = nullptr;
        if (curl_easy_getinfo(t->easy, CURLINFO_EFFECTIVE_URL, &address) == CURLE_OK &&
            address != nullptr) {
            t->finder.setPageAddress(address);
        }
    }
    t->finder.feed(std::string_view(data, n));
    return n;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->lastByte = Clock::now();
    t->headerSeen = true;
    const std::string_view line(data, size * count);
    if (line.rfind("HTTP/", 0) == 0) {
        t->retryAfterSeconds = -1;  // a new answer (after a 100)
        t->location = false;
    } else if (line.size() > 9 && (line[0] == 'L' || line[0] == 'l') &&
               loweredAscii(line.substr(0, 9)) == "location:") {
        t->location = true;
    } else if (const long seconds = retryAfterSeconds(line, std::time(nullptr)); seconds >= 0) {
        t->retryAfterSeconds = seconds;
    }
    t->finder.headerLine(line);
    return size * count;
}

RobotsCache::Options robotsOptions(const PageFetcher::Options& options) {
    RobotsCache::Options robots;
    robots.connectTimeoutSeconds = options.connectTimeoutSeconds;
    robots.stallSeconds = options.stallSeconds;
    robots.totalSeconds = options.pageTimeoutSeconds;
    return robots;
}

// The options every page transfer has (the handle may have served a
// robots.txt before: curl_easy_reset comes first).
void setUpPage(CURL* e, const PageFetcher::Options& options) {
    setUpWebTransfer(e, {.protocols = kProtocols,
                         .maxRedirects = options.maxRedirects,
                         .connectTimeoutSeconds = options.connectTimeoutSeconds,
                         .stallSeconds = options.stallSeconds});
    // Each redirection is a request of its own, queued at its host like a
    // first request: waiting for a free connection there is ours, not the
    // partner's, and must not run down the page's time.
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &onHeader);
}

// What the verdict needs to know of the request that ended.
RequestEnd requestEndOf(const Transfer& t, CURLcode code, long status) {
    RequestEnd end;
    end.code = code;
    end.httpStatus = status;
    end.stoppedOnPurpose = t.stoppedOnPurpose;
    end.headerSeen = t.headerSeen;
    if (code != CURLE_OK) {
        end.errorText = t.error[0] != '\0' ? t.error : curl_easy_strerror(code);
        curl_easy_getinfo(t.easy, CURLINFO_OS_ERRNO, &end.osErrno);
        curl_off_t connectTime = 0;
        long requestBytes = 0;
        curl_easy_getinfo(t.easy, CURLINFO_CONNECT_TIME_T, &connectTime);
        curl_easy_getinfo(t.easy, CURLINFO_REQUEST_SIZE, &requestBytes);
        end.requestSent = connectTime != 0 || requestBytes != 0;
    }
    return end;
}

FetchLimits limits(const PageFetcher::Options& options) {
    return {.connectTimeoutSeconds = options.connectTimeoutSeconds,
            .stallSeconds = options.stallSeconds,
            .pageTimeoutSeconds = options.pageTimeoutSeconds,
            .maxRedirects = options.maxRedirects};
}

PageFetcher::Options sane(PageFetcher::Options options) {
    options.jobs = std::max(1, options.jobs);
    options.hostConnections = std::max(1, options.hostConnections);
    options.hostIntervalMs = std::max(0L, options.hostIntervalMs);
    return options;
}

constexpr long kLongestRetryAfterSeconds = 30;
constexpr std::size_t kCheckId = static_cast<std::size_t>(-1);

}  // namespace

// A page (or a robots.txt) waiting for its turn or on the wire.
struct PageFetcher::Job {
    std::size_t id = 0;
    std::uint64_t order = 0;  // pages: in the order added; robots.txt: its first page's
    std::string page;         // robots.txt: the origin
    std::string advertiser;
    std::string host;
    bool evidence = false;
    bool robots = false;
    bool crawler = false;  // the second fetch of a page, as Googlebot
    bool retried = false;
    Clock::time_point notBefore{};  // a Retry-After's
    // Pages: the address of the next request (empty: the page's own), the
    // redirections followed, the page's time used so far (on the wire and in
    // a Retry-After's wait; never in our own queue), and its transfer.
    std::string url;
    long redirects = 0;
    Clock::duration used{};
    std::unique_ptr<Transfer> transfer;
    // robots.txt: the time left to the page that asked for it.
    std::optional<std::chrono::milliseconds> limit;
};

// One transfer on the wire.
struct PageFetcher::Live {
    Live(Job j, CURL* e, Clock::time_point now) : job(std::move(j)), easy(e), start(now) {
        if (!job.robots) {
            if (!job.transfer) {
                job.transfer = std::make_unique<Transfer>(job.advertiser);
            }
            job.transfer->beginHop(e, now);
        }
    }
    Transfer& transfer() { return *job.transfer; }  // pages only
    const Transfer& transfer() const { return *job.transfer; }
    // When the page's time limit ends this request.
    Clock::time_point deadline(std::chrono::seconds limit) const {
        return start + (limit - job.used);
    }
    Job job;
    CURL* easy;
    Clock::time_point start;         // of this request
    RobotsCache::Download download;  // robots.txt
};

struct PageFetcher::Engine {
    Engine(int hostConnections, long hostIntervalMs)
        : queue(hostConnections, std::chrono::milliseconds(hostIntervalMs)) {}

    CURLM* multi = nullptr;
    std::vector<CURL*> spare;  // handles of ended transfers, for the next ones
    HostQueue<Job> queue;
    std::map<CURL*, std::unique_ptr<Live>> live;
    std::vector<Fetched> done;
    // Pages done but for their robots.txt verdict, by origin, with the
    // address the verdict is for.
    std::map<std::string, std::vector<std::pair<std::string, Fetched>>> parked;
    // Pages done but for their fetch as Googlebot: that job (until it is
    // queued) and the page as browsers saw it, by id.
    std::map<std::size_t, Job> crawlerJobs;
    std::map<std::size_t, Fetched> awaitingCrawler;
    std::uint64_t nextOrder = 0;
};

PageFetcher::PageFetcher(Options options)
    : m_options(sane(options)),
      m_engine(std::make_unique<Engine>(m_options.hostConnections, m_options.hostIntervalMs)),
      m_robots(robotsOptions(options)) {
    CurlSetup::globalInit();
    m_engine->multi = curl_multi_init();
    if (m_engine->multi != nullptr) {
        // Our own count keeps to the per-host limit; libcurl's keeps to it too
        // where ours cannot see (a redirection to another host).
        curl_multi_setopt(m_engine->multi, CURLMOPT_MAX_HOST_CONNECTIONS,
                          static_cast<long>(m_options.hostConnections));
        // Idle connections kept for the next page of their host: enough for
        // a run that goes round many hosts, even one page at a time.
        curl_multi_setopt(m_engine->multi, CURLMOPT_MAXCONNECTS,
                          static_cast<long>(std::max(32, m_options.jobs)));
    }
}

PageFetcher::~PageFetcher() {
    forget(std::nullopt);
    for (CURL* e : m_engine->spare) {
        curl_easy_cleanup(e);
    }
    if (m_engine->multi != nullptr) {
        curl_multi_cleanup(m_engine->multi);
    }
}

void PageFetcher::cancel() {
    m_cancelled = true;
    m_robots.cancel();
    wakeup();
}

void PageFetcher::wakeup() {
    m_woken = true;
    if (m_engine->multi != nullptr) {
        curl_multi_wakeup(m_engine->multi);
    }
}

PageResult PageFetcher::check(const std::string& page, const std::string& advertiser,
                              PageEvidence* evidence) {
    add(kCheckId, page, advertiser, evidence != nullptr);
    for (;;) {
        for (Fetched& fetched : run(std::chrono::seconds(1))) {
            if (fetched.id == kCheckId) {
                if (evidence != nullptr) {
                    *evidence = std::move(fetched.evidence);
                }
                return std::move(fetched.result);
            }
        }
    }
}

void PageFetcher::add(std::size_t id, const std::string& page, const std::string& advertiser,
                      bool evidence) {
    ++m_outstanding;
    Fetched now;
    now.id = id;
    now.evidence.m_checked = evidence;  // nothing seen until the transfer says more
    if (!hasScheme(page)) {
        now.result = {LinkResult::CannotBeDisplayed, "no scheme in the address"};
    } else if (m_cancelled) {
        now.result = {LinkResult::CannotBeDisplayed, "the run was stopped"};
    } else if (m_engine->multi == nullptr) {
        now.result = {LinkResult::CannotBeDisplayed, "the network library could not be set up"};
    } else {
        Job job;
        job.id = id;
        job.order = m_engine->nextOrder++;
        job.page = page;
        job.advertiser = advertiser;
        job.host = hostOf(page);
        job.evidence = evidence;
        m_engine->queue.append(std::move(job));
        return;
    }
    m_engine->done.push_back(std::move(now));
}

void PageFetcher::fill() {
    Engine& g = *m_engine;
    while (static_cast<int>(g.live.size()) < m_options.jobs) {
        std::optional<Job> job = g.queue.takeNext(Clock::now());
        if (!job) {
            return;
        }
        start(std::move(*job));
    }
}

void PageFetcher::start(Job job) {
    Engine& g = *m_engine;
    CURL* e = nullptr;
    if (!g.spare.empty()) {
        e = g.spare.back();
        g.spare.pop_back();
    } else {
        e = curl_easy_init();
    }
    if (e == nullptr) {
        g.queue.finished(job.host);
        unstarted(std::move(job));
        return;
    }
    const auto now = Clock::now();
    auto live = std::make_unique<Live>(std::move(job), e, now);
    Live& l = *live;
    if (l.job.robots) {
        m_robots.prepare(e, l.job.page, l.download, l.job.limit);
    } else {
        setUpPage(e, m_options);
        if (l.job.crawler) {
            curl_easy_setopt(e, CURLOPT_USERAGENT, kCrawlerAgent);
        }
        const std::string url = l.job.url.empty() ? encodeForWire(l.job.page) : l.job.url;
        curl_easy_setopt(e, CURLOPT_URL, url.c_str());
        curl_easy_setopt(e, CURLOPT_WRITEDATA, &l.transfer());
        curl_easy_setopt(e, CURLOPT_HEADERDATA, &l.transfer());
        curl_easy_setopt(e, CURLOPT_ERRORBUFFER, l.transfer().error);
    }
    if (curl_multi_add_handle(g.multi, e) != CURLM_OK) {
        Job back = std::move(l.job);
        g.spare.push_back(e);
        g.queue.finished(back.host);
        unstarted(std::move(back));
        return;
    }
    g.live.emplace(e, std::move(live));
}

void PageFetcher::unstarted(Job job) {
    if (job.robots) {
        m_robots.complete(job.page, CURLE_FAILED_INIT, 0, {});
        robotsKnown(job.page);
        return;
    }
    Fetched failed;
    failed.id = job.id;
    failed.result = {LinkResult::CannotBeDisplayed,
                     "the network library could not start the transfer"};
    failed.evidence.m_checked = job.evidence;
    deliver(std::move(failed));
}

void PageFetcher::deliver(Fetched fetched) {
    Engine& g = *m_engine;
    const auto job = g.crawlerJobs.find(fetched.id);
    if (job != g.crawlerJobs.end()) {
        Job crawler = std::move(job->second);
        g.crawlerJobs.erase(job);
        // Only a link worth following is worth a second request.
        if (!m_cancelled && evidenceVerdict(fetched.evidence) == "follow") {
            g.awaitingCrawler.emplace(fetched.id, std::move(fetched));
            requeue(std::move(crawler));
            return;
        }
    }
    g.done.push_back(std::move(fetched));
}

// The second fetch of a page, as Googlebot, has ended: the page as browsers
// saw it comes back with what differed.
void PageFetcher::finishCrawler(Live& live, PageResult result, PageEvidence evidence) {
    Engine& g = *m_engine;
    const auto it = g.awaitingCrawler.find(live.job.id);
    if (it == g.awaitingCrawler.end()) {
        return;
    }
    Fetched page = std::move(it->second);
    g.awaitingCrawler.erase(it);
    const bool answered =
        evidence.m_httpStatus != 0 || result.m_result != LinkResult::CannotBeDisplayed;
    if (m_cancelled) {
        page.evidence.m_cloaking.clear();
    } else if (!answered) {
        page.evidence.m_cloaking = "not compared: " + result.m_reason;
    } else {
        const std::string difference = cloakingDifference(page.evidence, result, evidence);
        page.evidence.m_cloaking =
            difference.empty() ? "same for Googlebot" : "cloaked: " + difference;
    }
    g.done.push_back(std::move(page));
}

// Takes the handle off the multi handle and gives its host's turn on.
std::unique_ptr<PageFetcher::Live> PageFetcher::release(void* easy) {
    Engine& g = *m_engine;
    CURL* e = static_cast<CURL*>(easy);
    const auto it = g.live.find(e);
    std::unique_ptr<Live> live = std::move(it->second);
    g.live.erase(it);
    curl_multi_remove_handle(g.multi, e);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, nullptr);
    g.spare.push_back(e);
    g.queue.finished(live->job.host);
    return live;
}

void PageFetcher::finish(void* easy, End end, int code) {
    CURL* e = static_cast<CURL*>(easy);
    Live& live = *m_engine->live.at(e);
    if (live.job.robots) {
        long status = 0;
        curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
        const std::unique_ptr<Live> ended = release(e);
        m_robots.complete(ended->job.page, end == End::Done ? code : CURLE_ABORTED_BY_CALLBACK,
                          status, ended->download);
        robotsKnown(ended->job.page);
        return;
    }
    finishPage(live, end, static_cast<CURLcode>(code));
}

void PageFetcher::finishPage(Live& live, End end, int curlCode) {
    const CURLcode code = static_cast<CURLcode>(curlCode);
    CURL* e = live.easy;
    const Transfer& transfer = live.transfer();
    const long status = transfer.bodyBegun ? transfer.httpStatus : httpStatus(e);
    const auto now = Clock::now();
    const auto limit = std::chrono::seconds(m_options.pageTimeoutSeconds);
    const Clock::duration used = live.job.used + (now - live.start);
    const Clock::duration left = limit - used;
    const bool answered =
        end == End::Done && !m_cancelled &&
        (code == CURLE_OK || (code == CURLE_WRITE_ERROR && transfer.stoppedOnPurpose));
    std::optional<PageResult> decided;
    if (const auto target = answered ? redirectTarget(e, status) : std::nullopt) {
        if (live.job.redirects >= m_options.maxRedirects) {
            decided = PageResult{
                LinkResult::CannotBeDisplayed,
                "more than " + std::to_string(m_options.maxRedirects) + " redirections", status};
        } else if (!isFetchable(*target)) {
            decided = PageResult{LinkResult::CannotBeDisplayed,
                                 "redirected to an address that is not http, https or ftp", status};
        } else {
            // The next hop waits for its turn at its host like any request.
            Job again = std::move(release(e)->job);
            ++again.redirects;
            again.url = encodeForWire(*target);
            again.host = hostOf(*target);
            again.used = used;
            requeue(std::move(again));
            return;
        }
    }
    if (!decided && answered && !live.job.retried && (status == 429 || status == 503) &&
        transfer.retryAfterSeconds >= 0 &&
        transfer.retryAfterSeconds <= kLongestRetryAfterSeconds &&
        std::chrono::seconds(transfer.retryAfterSeconds) < left) {
        // Asked to come back soon: once, and the host's other pages wait too.
        // The wait is the partner's, so it counts against the page's time.
        const auto wait = std::chrono::seconds(transfer.retryAfterSeconds);
        Job again = std::move(release(e)->job);
        again.retried = true;
        again.notBefore = now + wait;
        again.used = used + wait;
        m_engine->queue.holdHost(again.host, again.notBefore);
        requeue(std::move(again));
        return;
    }
    live.transfer().finder.finish();
    RequestEnd request = requestEndOf(transfer, code, status);
    request.cut = end == End::Stalled     ? RequestEnd::Cut::Stalled
                  : end == End::TimeLimit ? RequestEnd::Cut::TimeLimit
                  : end == End::Failed    ? RequestEnd::Cut::LibraryFailed
                                          : RequestEnd::Cut::None;
    if (m_cancelled) {
        request.cut = RequestEnd::Cut::Stopped;
    }
    PageResult result = decided
                            ? std::move(*decided)
                            : fetchVerdict(request, limits(m_options),
                                           {transfer.finder.result(), transfer.finder.reason()});
    if (live.job.crawler) {
        PageEvidence seen;
        const char* finalUrl = nullptr;
        curl_easy_getinfo(e, CURLINFO_EFFECTIVE_URL, &finalUrl);
        live.transfer().finder.setTransfer(status, finalUrl != nullptr ? finalUrl : "", 0);
        seen = live.transfer().finder.takeEvidence();
        finishCrawler(live, std::move(result), std::move(seen));
        release(e);
        return;
    }
    Fetched fetched;
    fetched.id = live.job.id;
    fetched.result = std::move(result);
    if (live.job.evidence && m_options.cloakCheck && !m_cancelled &&
        fetched.result.m_result == LinkResult::Found) {
        Job crawler;
        crawler.id = live.job.id;
        crawler.order = live.job.order;
        crawler.page = live.job.page;
        crawler.advertiser = live.job.advertiser;
        crawler.host = hostOf(live.job.page);
        crawler.evidence = true;
        crawler.crawler = true;
        m_engine->crawlerJobs.emplace(crawler.id, std::move(crawler));
    }
    if (live.job.evidence) {
        const char* finalUrl = nullptr;
        curl_easy_getinfo(e, CURLINFO_EFFECTIVE_URL, &finalUrl);
        live.transfer().finder.setTransfer(
            status, finalUrl != nullptr ? finalUrl : "",
            std::chrono::duration_cast<std::chrono::milliseconds>(used).count());
        fetched.evidence = live.transfer().finder.takeEvidence();
    }
    const std::unique_ptr<Live> ended = release(e);
    // The page as search engines reach it: robots.txt of its final address,
    // once per host (not for FTP, when nothing answered, or when the page has
    // no time left to wait for it).
    const auto timeLeft = std::chrono::duration_cast<std::chrono::milliseconds>(left);
    if (!ended->job.evidence || fetched.evidence.m_httpStatus == 0 || m_cancelled) {
        deliver(std::move(fetched));
        return;
    }
    const std::string address =
        fetched.evidence.m_finalUrl.empty() ? ended->job.page : fetched.evidence.m_finalUrl;
    if (const auto known = m_robots.known(address)) {
        RobotsCache::fill(fetched.evidence, *known);
        deliver(std::move(fetched));
        return;
    }
    if (timeLeft.count() <= 0) {
        deliver(std::move(fetched));
        return;
    }
    const std::string origin = RobotsCache::originOf(address);
    auto& waiting = m_engine->parked[origin];
    waiting.emplace_back(address, std::move(fetched));
    if (waiting.size() > 1) {
        return;  // its fetch is already on its way
    }
    // Ahead of the host's pages: a page already done waits for it.
    Job robots;
    robots.order = ended->job.order;
    robots.page = origin;
    robots.host = hostOf(origin);
    robots.robots = true;
    robots.limit = timeLeft;
    m_engine->queue.putFirst(std::move(robots));
}

// Puts a page that is not done back in its host's queue, in the order it was
// added.
void PageFetcher::requeue(Job job) {
    m_engine->queue.insertInOrder(std::move(job));
}

void PageFetcher::robotsKnown(const std::string& origin) {
    const auto it = m_engine->parked.find(origin);
    if (it == m_engine->parked.end()) {
        return;
    }
    auto waiting = std::move(it->second);
    m_engine->parked.erase(it);
    for (auto& [address, fetched] : waiting) {
        if (const auto known = m_robots.known(address)) {
            RobotsCache::fill(fetched.evidence, *known);
        }
        deliver(std::move(fetched));
    }
}

void PageFetcher::forget(std::optional<std::size_t> keep) {
    Engine& g = *m_engine;
    // What the kept page still needs: its transfer, or its robots.txt.
    std::string keptOrigin;
    for (const auto& [origin, waiting] : g.parked) {
        for (const auto& entry : waiting) {
            if (keep && entry.second.id == *keep) {
                keptOrigin = origin;
            }
        }
    }
    std::size_t dropped = 0;
    const auto kept = [&](const Job& job) {
        return job.robots ? !keptOrigin.empty() && job.page == keptOrigin : keep && job.id == *keep;
    };
    std::vector<CURL*> ending;
    for (const auto& [e, live] : g.live) {
        if (!kept(live->job)) {
            ending.push_back(e);
        }
    }
    for (CURL* e : ending) {
        const std::unique_ptr<Live> ended = release(e);
        dropped += ended->job.robots || ended->job.crawler ? 0 : 1;
    }
    for (const Job& job : g.queue.removeIf([&](const Job& job) { return !kept(job); })) {
        dropped += job.robots || job.crawler ? 0 : 1;
    }
    for (auto it = g.parked.begin(); it != g.parked.end();) {
        auto& waiting = it->second;
        const auto before = waiting.size();
        waiting.erase(
            std::remove_if(waiting.begin(), waiting.end(),
                           [&](const auto& entry) { return !(keep && entry.second.id == *keep); }),
            waiting.end());
        dropped += before - waiting.size();
        it = waiting.empty() ? g.parked.erase(it) : std::next(it);
    }
    // A page waiting for its fetch as Googlebot is a page not given back.
    for (auto it = g.awaitingCrawler.begin(); it != g.awaitingCrawler.end();) {
        if (keep && it->first == *keep) {
            ++it;
        } else {
            ++dropped;
            it = g.awaitingCrawler.erase(it);
        }
    }
    std::erase_if(g.crawlerJobs,
                  [&](const auto& entry) { return !(keep && entry.first == *keep); });
    const auto before = g.done.size();
    g.done.erase(std::remove_if(g.done.begin(), g.done.end(),
                                [&](const Fetched& f) { return !(keep && f.id == *keep); }),
                 g.done.end());
    dropped += before - g.done.size();
    m_outstanding -= std::min(dropped, m_outstanding);
}

// After Cancel: every page comes back at once as stopped.
void PageFetcher::cancelAll() {
    Engine& g = *m_engine;
    std::vector<CURL*> ending;
    for (const auto& [e, live] : g.live) {
        ending.push_back(e);
    }
    for (CURL* e : ending) {
        finish(e, End::Failed, CURLE_ABORTED_BY_CALLBACK);
    }
    for (Job& job : g.queue.takeAll()) {
        if (job.crawler) {
            // The page itself is done: it comes back as browsers saw it.
            const auto it = g.awaitingCrawler.find(job.id);
            if (it != g.awaitingCrawler.end()) {
                g.done.push_back(std::move(it->second));
                g.awaitingCrawler.erase(it);
            }
        } else if (!job.robots) {
            Fetched stopped;
            stopped.id = job.id;
            stopped.result = {LinkResult::CannotBeDisplayed, "the run was stopped"};
            stopped.evidence.m_checked = job.evidence;
            deliver(std::move(stopped));
        }
    }
    for (auto& [origin, waiting] : g.parked) {
        for (auto& entry : waiting) {
            deliver(std::move(entry.second));
        }
    }
    g.parked.clear();
    for (auto& [id, fetched] : g.awaitingCrawler) {
        g.done.push_back(std::move(fetched));
    }
    g.awaitingCrawler.clear();
    g.crawlerJobs.clear();
}

Clock::time_point PageFetcher::nextTimer() const {
    const Engine& g = *m_engine;
    auto next = Clock::time_point::max();
    const auto stall = std::chrono::seconds(m_options.stallSeconds);
    const auto limit = std::chrono::seconds(m_options.pageTimeoutSeconds);
    for (const auto& [e, live] : g.live) {
        if (!live->job.robots) {
            next = std::min({next, live->deadline(limit), live->transfer().lastByte + stall});
        }
    }
    return std::min(next, g.queue.nextTime());
}

std::vector<PageFetcher::Fetched> PageFetcher::run(std::chrono::milliseconds wait) {
    Engine& g = *m_engine;
    const auto until = Clock::now() + wait;
    const Utf8Ctype utf8;
    for (;;) {
        if (m_cancelled) {
            cancelAll();
        }
        fill();
        if (!g.live.empty()) {
            int running = 0;
            const bool performed = curl_multi_perform(g.multi, &running) == CURLM_OK;
            std::vector<std::pair<CURL*, CURLcode>> ended;
            int left = 0;
            while (CURLMsg* msg = curl_multi_info_read(g.multi, &left)) {
                if (msg->msg == CURLMSG_DONE) {
                    ended.emplace_back(msg->easy_handle, msg->data.result);
                }
            }
            for (const auto& [e, code] : ended) {
                if (g.live.count(e) != 0) {
                    finish(e, End::Done, code);
                }
            }
            // Two clocks of our own end a page: the stall clock (no byte for
            // stallSeconds; libcurl's low-speed check averages over several
            // seconds and stays only as a backstop) and the time limit.
            const auto now = Clock::now();
            const auto stall = std::chrono::seconds(m_options.stallSeconds);
            const auto limit = std::chrono::seconds(m_options.pageTimeoutSeconds);
            std::vector<std::pair<CURL*, End>> expired;
            for (const auto& [e, live] : g.live) {
                if (!performed) {
                    expired.emplace_back(e, End::Failed);
                } else if (live->job.robots) {
                    continue;  // libcurl's own time-outs end it
                } else if (now >= live->deadline(limit)) {
                    expired.emplace_back(e, End::TimeLimit);
                } else if (now >= live->transfer().lastByte + stall) {
                    expired.emplace_back(e, End::Stalled);
                }
            }
            for (const auto& [e, end] : expired) {
                finish(e, end, CURLE_OK);
            }
            fill();
        }
        if (!g.done.empty() || m_woken.exchange(false)) {
            std::vector<Fetched> done = std::move(g.done);
            g.done.clear();
            m_outstanding -= std::min(done.size(), m_outstanding);
            return done;
        }
        const auto now = Clock::now();
        if (now >= until) {
            return {};
        }
        const auto next = std::min({until, nextTimer(), now + std::chrono::seconds(1)});
        const int waitMs = static_cast<int>(std::max<long long>(
            0, std::chrono::ceil<std::chrono::milliseconds>(next - now).count()));
        curl_multi_poll(g.multi, nullptr, 0, waitMs, nullptr);
    }
}

}  // namespace tarnwick
