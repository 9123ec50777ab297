// The two panes as plain tables for scan run tests, with a record of what the
// run did to them. Every call is safe from any thread. MarshalledPanes puts a
// pane thread in front of them, as the desktop program does: calls from other
// threads run on the pane thread, which must pump them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "scan/ScanPanes.h"

namespace tarnwick::test {

struct ScriptedProfile {
    std::string text;
    bool ticked = true;
    std::string status;
    std::vector<ResultRow> pages;  // as RebuildResults lists them
};

class ScriptedPanes : public ScanPanes {
public:
    // Profiles with the given page counts, ticked, pages "http://p<profile>-<k>/"
    // of advertiser "www.a<profile>.com", mail "w<profile>-<k>@x.com", Enabled.
    static std::vector<ScriptedProfile> Make(const std::vector<int>& pageCounts) {
        std::vector<ScriptedProfile> profiles;
        for (size_t j = 0; j < pageCounts.size(); ++j) {
            ScriptedProfile p;
            p.text = "www.a" + std::to_string(j) + ".com";
            for (int k = 0; k < pageCounts[j]; ++k) {
                ResultRow r;
                r.m_strAdvertiser = p.text;
                r.m_strPage = "http://p" + std::to_string(j) + "-" + std::to_string(k) + "/";
                r.m_strMail = "w" + std::to_string(j) + "-" + std::to_string(k) + "@x.com";
                r.m_strNotify = "Enabled";
                p.pages.push_back(r);
            }
            profiles.push_back(p);
        }
        return profiles;
    }

    explicit ScriptedPanes(std::vector<ScriptedProfile> profiles = {})
        : m_profiles(std::move(profiles)) {}

    int ProfileRowCount() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_profiles.size());
    }
    bool IsProfileTicked(int row) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_profiles.at(row).ticked;
    }
    std::string ProfileStatus(int row) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_profiles.at(row).status;
    }
    void SetProfileStatus(int row, const std::string& status) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_profiles.at(row).status = status;
        m_log.push_back("profile " + std::to_string(row) + " " + status);
    }
    void RebuildResults() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.clear();
        m_changes.clear();
        for (size_t j = 0; j < m_profiles.size(); ++j) {
            if (m_profiles[j].ticked) {
                for (ResultRow r : m_profiles[j].pages) {
                    r.m_nProfileRow = static_cast<int>(j);
                    r.m_strStatus.clear();
                    m_results.push_back(r);
                }
            }
        }
        m_log.push_back("rebuild");
    }
    int ResultRowCount() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_results.size());
    }
    ResultRow ResultRowAt(int row) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_results.at(row);
    }
    void SetResultStatus(int row, const std::string& status) override {
        SetResult(row, PageResult(status));
    }
    void SetResult(int row, const PageResult& result) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ResultRow& r = m_results.at(row);
        r.m_strStatus = result.m_strStatus;
        r.m_strReason = result.m_strReason;
        r.m_nHttpStatus = result.m_nHttpStatus;
        m_log.push_back("result " + std::to_string(row) + " " + result.m_strStatus);
    }
    void SetResultMail(int row, const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.at(row).m_strMail = text;
        m_log.push_back("mail " + std::to_string(row) + " " + text);
    }
    void SetResultEvidence(int row, const PageEvidence& evidence) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.at(row).m_evidence = evidence;
        m_log.push_back("evidence " + std::to_string(row) + " " +
                        std::to_string(evidence.m_nHttpStatus) + " robots " +
                        RobotsVerdictName(evidence.m_robotsAll));
    }
    void OfferReport() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_reports.push_back(m_results);
        m_log.push_back("report");
    }
    void StartNotification(const NotificationJob& job) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_notifications.push_back(job);
        m_log.push_back("notify " + std::to_string(job.m_nRow));
    }
    void PageStarted(int row) override {
        std::function<void(int)> hook;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_log.push_back("started " + std::to_string(row));
            hook = m_onPageStarted;
        }
        if (hook) {
            hook(row);
        }
    }

    void PagesFetched(int fetched) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_fetched.push_back(fetched);
    }
    // Every count PagesFetched told, in order.
    std::vector<int> FetchedCounts() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_fetched;
    }

    void SetResultChange(int row, const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changes[row] = text;
        m_log.push_back("change " + std::to_string(row) + " " + text);
    }
    void ShowRunSummary(const std::string& summary) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_summaries.push_back(summary);
        m_log.push_back("summary " + summary);
    }
    // An entry of the test's own (an observer's call) among the panes' writes.
    void Note(const std::string& entry) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.push_back(entry);
    }

    // Snapshots for the test.
    std::map<int, std::string> Changes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_changes;
    }
    std::vector<std::string> Summaries() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_summaries;
    }
    std::vector<std::string> ResultMails() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> out;
        for (const auto& r : m_results) {
            out.push_back(r.m_strMail);
        }
        return out;
    }
    std::vector<std::string> ProfileStatuses() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> out;
        for (const auto& p : m_profiles) {
            out.push_back(p.status);
        }
        return out;
    }
    std::vector<std::string> ResultStatuses() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> out;
        for (const auto& r : m_results) {
            out.push_back(r.m_strStatus);
        }
        return out;
    }
    std::vector<std::string> Log() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_log;
    }
    int ReportCount() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_reports.size());
    }
    std::vector<ResultRow> Report(int k) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reports.at(k);
    }
    std::vector<NotificationJob> Notifications() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_notifications;
    }
    void SetProfiles(std::vector<ScriptedProfile> profiles) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_profiles = std::move(profiles);
    }
    void OnPageStarted(std::function<void(int)> hook) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_onPageStarted = std::move(hook);
    }

private:
    std::mutex m_mutex;
    std::vector<ScriptedProfile> m_profiles;
    std::vector<ResultRow> m_results;
    std::vector<std::string> m_log;
    std::vector<std::vector<ResultRow>> m_reports;
    std::vector<NotificationJob> m_notifications;
    std::function<void(int)> m_onPageStarted;
    std::vector<int> m_fetched;
    std::map<int, std::string> m_changes;
    std::vector<std::string> m_summaries;
};

// Runs functions on the thread that created it; other threads wait for them.
class PaneThread {
public:
    PaneThread() : m_owner(std::this_thread::get_id()) {}

    void Run(const std::function<void()>& f) {
        if (std::this_thread::get_id() == m_owner) {
            f();
            return;
        }
        bool done = false;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_queue.push_back([&] {
            f();
            std::lock_guard<std::mutex> l(m_mutex);
            done = true;
        });
        m_cv.notify_all();
        m_cv.wait(lock, [&] { return done; });
    }

    // Serves queued calls on the owner thread until done() holds; false on
    // time-out.
    bool PumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        const auto until = std::chrono::steady_clock::now() + limit;
        for (;;) {
            if (done()) {
                return true;
            }
            std::function<void()> next;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                if (m_queue.empty()) {
                    m_cv.wait_for(lock, std::chrono::milliseconds(5));
                }
                if (!m_queue.empty()) {
                    next = std::move(m_queue.front());
                    m_queue.pop_front();
                }
            }
            if (next) {
                next();
                m_cv.notify_all();
            } else if (std::chrono::steady_clock::now() > until) {
                return false;
            }
        }
    }

private:
    std::thread::id m_owner;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_queue;
};

class MarshalledPanes : public ScanPanes {
    template <class F>
    auto Get(F f) -> decltype(f()) {
        decltype(f()) value{};
        m_thread.Run([&] { value = f(); });
        return value;
    }

public:
    MarshalledPanes(ScanPanes& inner, PaneThread& thread) : m_inner(inner), m_thread(thread) {}

    int ProfileRowCount() override {
        return Get([&] { return m_inner.ProfileRowCount(); });
    }
    bool IsProfileTicked(int row) override {
        return Get([&] { return m_inner.IsProfileTicked(row); });
    }
    std::string ProfileStatus(int row) override {
        return Get([&] { return m_inner.ProfileStatus(row); });
    }
    void SetProfileStatus(int row, const std::string& s) override {
        m_thread.Run([&] { m_inner.SetProfileStatus(row, s); });
    }
    void RebuildResults() override {
        m_thread.Run([&] { m_inner.RebuildResults(); });
    }
    int ResultRowCount() override {
        return Get([&] { return m_inner.ResultRowCount(); });
    }
    ResultRow ResultRowAt(int row) override {
        return Get([&] { return m_inner.ResultRowAt(row); });
    }
    void SetResultStatus(int row, const std::string& s) override {
        m_thread.Run([&] { m_inner.SetResultStatus(row, s); });
    }
    void SetResult(int row, const PageResult& r) override {
        m_thread.Run([&] { m_inner.SetResult(row, r); });
    }
    void SetResultMail(int row, const std::string& t) override {
        m_thread.Run([&] { m_inner.SetResultMail(row, t); });
    }
    void OfferReport() override {
        m_thread.Run([&] { m_inner.OfferReport(); });
    }
    void StartNotification(const NotificationJob& job) override {
        m_thread.Run([&] { m_inner.StartNotification(job); });
    }
    void PageStarted(int row) override {
        m_thread.Run([&] { m_inner.PageStarted(row); });
    }

private:
    ScanPanes& m_inner;
    PaneThread& m_thread;
};

}  // namespace tarnwick::test
