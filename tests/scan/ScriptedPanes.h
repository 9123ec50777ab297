// The two panes as plain tables for scan session tests, with a record of
// what the run told them. Every call is safe from any thread. MarshalledPanes
// puts a pane thread in front of them, as the desktop program does: events
// from other threads run on the pane thread, which must pump them.
// PanesSession is a session whose plan comes from such panes and whose events
// go to them.
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

#include "scan/ScanListener.h"
#include "scan/ScanSession.h"

namespace tarnwick::test {

struct ScriptedProfile {
    std::string text;
    bool ticked = true;
    std::string status;
    std::vector<ResultRow> pages;  // as the plan lists them
};

class ScriptedPanes : public ScanListener {
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

    // The ticked profiles and their pages, as the window's models give them
    // at Play.
    ScanPlan plan() {
        std::lock_guard<std::mutex> lock(m_mutex);
        ScanPlan plan;
        for (size_t j = 0; j < m_profiles.size(); ++j) {
            if (m_profiles[j].ticked) {
                plan.m_profiles.push_back({static_cast<int>(j), m_profiles[j].text});
                for (ResultRow r : m_profiles[j].pages) {
                    r.m_profileRow = static_cast<int>(j);
                    r.m_result.reset();
                    r.m_stopped = false;
                    plan.addRow(r);
                }
            }
        }
        return plan;
    }

    void profileStatusChanged(int row, ProfileStatus value) override {
        const std::string& status = profileStatusWord(value);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_profiles.at(row).status = status;
        m_log.push_back("profile " + std::to_string(row) + " " + status);
    }
    void runStarted(const std::shared_ptr<const ScanPlan>& plan) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results = plan->resultRows();
        m_changes.clear();
        m_log.emplace_back("rebuild");
    }
    void pageChecked(const ScanJob& job, const PageResult& result, const PageEvidence& evidence,
                     const std::string& change) override {
        const int row = job.m_row;
        if (evidence.m_checked) {
            setResultEvidence(row, evidence);
        }
        setResult(row, result);
        if (!change.empty()) {
            setResultChange(row, change);
        }
    }
    void pageStopped(int row) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ResultRow& r = m_results.at(row);
        if (!r.hasStatus()) {
            r.m_stopped = true;
            m_log.push_back("result " + std::to_string(row) + " Stopped by user");
        }
    }
    void letterHeldBack(const ScanJob& job, const std::string& reason) override {
        setResultMail(job.m_row, "Not mailed: " + reason);
    }
    void setResult(int row, const PageResult& result) {
        std::lock_guard<std::mutex> lock(m_mutex);
        ResultRow& r = m_results.at(row);
        r.m_result = result.m_result;
        r.m_stopped = false;
        r.m_reason = result.m_reason;
        r.m_httpStatus = result.m_httpStatus;
        m_log.push_back("result " + std::to_string(row) + " " + result.word());
    }
    void setResultMail(int row, const std::string& text) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.at(row).m_mail = text;
        m_log.push_back("mail " + std::to_string(row) + " " + text);
    }
    void setResultEvidence(int row, const PageEvidence& evidence) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.at(row).m_evidence = evidence;
        m_log.push_back("evidence " + std::to_string(row) + " " +
                        std::to_string(evidence.m_httpStatus) + " robots " +
                        robotsVerdictName(evidence.m_robotsAll));
    }
    void runFinished(bool /*completed*/) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_reports.push_back(m_results);
        m_log.emplace_back("report");
    }
    void letterQueued(const NotificationJob& job) override {
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

    void setResultChange(int row, const std::string& text) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changes[row] = text;
        m_log.push_back("change " + std::to_string(row) + " " + text);
    }
    void runSummary(const std::string& summary) override {
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
            out.push_back(r.statusText());
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

class MarshalledPanes : public ScanListener {
public:
    MarshalledPanes(ScriptedPanes& inner, PaneThread& thread) : m_inner(inner), m_thread(thread) {}

    ScanPlan plan() {
        ScanPlan plan;
        m_thread.run([&] { plan = m_inner.plan(); });
        return plan;
    }
    void profileStatusChanged(int row, ProfileStatus s) override {
        m_thread.run([&] { m_inner.profileStatusChanged(row, s); });
    }
    void runStarted(const std::shared_ptr<const ScanPlan>& plan) override {
        m_thread.run([&] { m_inner.runStarted(plan); });
    }
    void pageStarted(int row) override {
        m_thread.run([&] { m_inner.pageStarted(row); });
    }
    void pageChecked(const ScanJob& job, const PageResult& result, const PageEvidence& evidence,
                     const std::string& change) override {
        m_thread.run([&] { m_inner.pageChecked(job, result, evidence, change); });
    }
    void pageStopped(int row) override {
        m_thread.run([&] { m_inner.pageStopped(row); });
    }
    void letterHeldBack(const ScanJob& job, const std::string& reason) override {
        m_thread.run([&] { m_inner.letterHeldBack(job, reason); });
    }
    void letterQueued(const NotificationJob& job) override {
        m_thread.run([&] { m_inner.letterQueued(job); });
    }
    void runFinished(bool completed) override {
        m_thread.run([&] { m_inner.runFinished(completed); });
    }

private:
    ScriptedPanes& m_inner;
    PaneThread& m_thread;
};

// A session that takes its plan from the panes and tells them every event.
class PanesSession : public ScanSession {
public:
    template <class Panes>
    explicit PanesSession(Panes& panes, PageChecker checker = {})
        : ScanSession([&panes] { return panes.plan(); }, std::move(checker)) {
        addListener(&panes);
        // The panes' profiles give Play something to play.
        runState().setProfilesToPlay(true);
    }
};

}  // namespace tarnwick::test
