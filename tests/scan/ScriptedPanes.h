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
    static std::vector<ScriptedProfile> make(const std::vector<int>& pageCounts) {
        std::vector<ScriptedProfile> profiles;
        for (size_t j = 0; j < pageCounts.size(); ++j) {
            ScriptedProfile p;
            p.text = "www.a" + std::to_string(j) + ".com";
            for (int k = 0; k < pageCounts[j]; ++k) {
                ResultRow r;
                r.m_advertiser = p.text;
                r.m_page = "http://p" + std::to_string(j) + "-" + std::to_string(k) + "/";
                r.m_mail = "w" + std::to_string(j) + "-" + std::to_string(k) + "@x.com";
                r.m_notify = "Enabled";
                p.pages.push_back(r);
            }
            profiles.push_back(p);
        }
        return profiles;
    }

    explicit ScriptedPanes(std::vector<ScriptedProfile> profiles = {})
        : m_profiles(std::move(profiles)) {}

    int profileRowCount() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_profiles.size());
    }
    bool isProfileTicked(int row) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_profiles.at(row).ticked;
    }
    std::string profileStatus(int row) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_profiles.at(row).status;
    }
    void setProfileStatus(int row, const std::string& status) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_profiles.at(row).status = status;
        m_log.push_back("profile " + std::to_string(row) + " " + status);
    }
    void rebuildResults() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.clear();
        m_changes.clear();
        for (size_t j = 0; j < m_profiles.size(); ++j) {
            if (m_profiles[j].ticked) {
                for (ResultRow r : m_profiles[j].pages) {
                    r.m_profileRow = static_cast<int>(j);
                    r.m_status.clear();
                    m_results.push_back(r);
                }
            }
        }
        m_log.emplace_back("rebuild");
    }
    int resultRowCount() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_results.size());
    }
    ResultRow resultRowAt(int row) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_results.at(row);
    }
    void setResultStatus(int row, const std::string& status) override {
        setResult(row, PageResult(status));
    }
    void setResult(int row, const PageResult& result) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ResultRow& r = m_results.at(row);
        r.m_status = result.m_status;
        r.m_reason = result.m_reason;
        r.m_httpStatus = result.m_httpStatus;
        m_log.push_back("result " + std::to_string(row) + " " + result.m_status);
    }
    void setResultMail(int row, const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.at(row).m_mail = text;
        m_log.push_back("mail " + std::to_string(row) + " " + text);
    }
    void setResultEvidence(int row, const PageEvidence& evidence) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.at(row).m_evidence = evidence;
        m_log.push_back("evidence " + std::to_string(row) + " " +
                        std::to_string(evidence.m_httpStatus) + " robots " +
                        robotsVerdictName(evidence.m_robotsAll));
    }
    void offerReport() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_reports.push_back(m_results);
        m_log.emplace_back("report");
    }
    void startNotification(const NotificationJob& job) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_notifications.push_back(job);
        m_log.push_back("notify " + std::to_string(job.m_row));
    }
    void pageStarted(int row) override {
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

    void pagesFetched(int fetched) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_fetched.push_back(fetched);
    }
    // Every count PagesFetched told, in order.
    std::vector<int> fetchedCounts() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_fetched;
    }

    void setResultChange(int row, const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changes[row] = text;
        m_log.push_back("change " + std::to_string(row) + " " + text);
    }
    void showRunSummary(const std::string& summary) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_summaries.push_back(summary);
        m_log.push_back("summary " + summary);
    }
    // An entry of the test's own (an observer's call) among the panes' writes.
    void note(const std::string& entry) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.push_back(entry);
    }

    // Snapshots for the test.
    std::map<int, std::string> changes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_changes;
    }
    std::vector<std::string> summaries() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_summaries;
    }
    std::vector<std::string> resultMails() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> out;
        for (const auto& r : m_results) {
            out.push_back(r.m_mail);
        }
        return out;
    }
    std::vector<std::string> profileStatuses() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> out;
        for (const auto& p : m_profiles) {
            out.push_back(p.status);
        }
        return out;
    }
    std::vector<std::string> resultStatuses() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> out;
        for (const auto& r : m_results) {
            out.push_back(r.m_status);
        }
        return out;
    }
    std::vector<std::string> log() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_log;
    }
    int reportCount() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_reports.size());
    }
    std::vector<ResultRow> report(int k) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reports.at(k);
    }
    std::vector<NotificationJob> notifications() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_notifications;
    }
    void setProfiles(std::vector<ScriptedProfile> profiles) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_profiles = std::move(profiles);
    }
    void onPageStarted(std::function<void(int)> hook) {
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

    void run(const std::function<void()>& f) {
        if (std::this_thread::get_id() == m_owner) {
            f();
            return;
        }
        bool done = false;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_queue.emplace_back([&] {
            f();
            std::lock_guard<std::mutex> l(m_mutex);
            done = true;
        });
        m_cv.notify_all();
        m_cv.wait(lock, [&] { return done; });
    }

    // Serves queued calls on the owner thread until done() holds; false on
    // time-out.
    bool pumpUntil(const std::function<bool()>& done,
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
    auto get(F f) -> decltype(f()) {
        decltype(f()) value{};
        m_thread.run([&] { value = f(); });
        return value;
    }

public:
    MarshalledPanes(ScanPanes& inner, PaneThread& thread) : m_inner(inner), m_thread(thread) {}

    int profileRowCount() override {
        return get([&] { return m_inner.profileRowCount(); });
    }
    bool isProfileTicked(int row) override {
        return get([&] { return m_inner.isProfileTicked(row); });
    }
    std::string profileStatus(int row) override {
        return get([&] { return m_inner.profileStatus(row); });
    }
    void setProfileStatus(int row, const std::string& s) override {
        m_thread.run([&] { m_inner.setProfileStatus(row, s); });
    }
    void rebuildResults() override {
        m_thread.run([&] { m_inner.rebuildResults(); });
    }
    int resultRowCount() override {
        return get([&] { return m_inner.resultRowCount(); });
    }
    ResultRow resultRowAt(int row) override {
        return get([&] { return m_inner.resultRowAt(row); });
    }
    void setResultStatus(int row, const std::string& s) override {
        m_thread.run([&] { m_inner.setResultStatus(row, s); });
    }
    void setResult(int row, const PageResult& r) override {
        m_thread.run([&] { m_inner.setResult(row, r); });
    }
    void setResultMail(int row, const std::string& t) override {
        m_thread.run([&] { m_inner.setResultMail(row, t); });
    }
    void offerReport() override {
        m_thread.run([&] { m_inner.offerReport(); });
    }
    void startNotification(const NotificationJob& job) override {
        m_thread.run([&] { m_inner.startNotification(job); });
    }
    void pageStarted(int row) override {
        m_thread.run([&] { m_inner.pageStarted(row); });
    }

private:
    ScanPanes& m_inner;
    PaneThread& m_thread;
};

}  // namespace tarnwick::test
