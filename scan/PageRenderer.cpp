#include "scan/PageRenderer.h"

#include "scan/LinkFinder.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace tarnwick {

namespace {

using Clock = std::chrono::steady_clock;

// One browser at work on one page.
struct Job {
    std::size_t index = 0;
    pid_t pid = -1;
    int out = -1;
    std::string profile;  // its fresh profile folder
    Clock::time_point deadline;
    std::string document;
    bool cut = false;  // past kMaxDocument
};

std::string tempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/tarnwick-render-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

// Ends the browser and everything it started, and forgets its profile.
void reap(Job& job, bool kill) {
    if (job.out >= 0) {
        close(job.out);
        job.out = -1;
    }
    if (job.pid > 0) {
        if (kill) {
            ::kill(-job.pid, SIGKILL);
        }
        int status = 0;
        while (waitpid(job.pid, &status, 0) < 0 && errno == EINTR) {
        }
        ::kill(-job.pid, SIGKILL);  // helpers left behind
        job.pid = -1;
    }
    if (!job.profile.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(job.profile, ignored);
        job.profile.clear();
    }
}

}  // namespace

PageRenderer::PageRenderer(long timeLimitSeconds, std::string program)
    : m_timeLimitSeconds(timeLimitSeconds), m_program(std::move(program)) {}

PageRenderer::Rendered PageRenderer::render(const std::string& url) {
    return renderAll({url}).front();
}

std::vector<PageRenderer::Rendered> PageRenderer::renderAll(const std::vector<std::string>& urls) {
    std::vector<Rendered> results(urls.size());
    std::vector<Job> running;
    std::size_t next = 0;
    const auto start = [&](std::size_t index) -> bool {
        Job job;
        job.index = index;
        job.profile = tempFolder();
        if (job.profile.empty()) {
            results[index].failure = "no temporary folder for the browser";
            return true;
        }
        int pipe[2];
        if (pipe2(pipe, O_CLOEXEC) != 0) {
            results[index].failure = std::string("no pipe: ") + std::strerror(errno);
            reap(job, false);
            return true;
        }
        const std::string userDir = "--user-data-dir=" + job.profile;
        std::vector<std::string> args = {m_program,
                                         "--headless",
                                         "--no-sandbox",
                                         "--disable-gpu",
                                         "--disable-background-networking",
                                         "--disable-component-update",
                                         "--disable-sync",
                                         "--no-first-run",
                                         "--disable-quic",
                                         userDir,
                                         "--dump-dom",
                                         urls[index]};
        std::vector<char*> argv;
        argv.reserve(args.size() + 1);
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        const int spawned =
            posix_spawnp(&job.pid, m_program.c_str(), &actions, &attributes, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        close(pipe[1]);
        job.out = pipe[0];
        if (spawned != 0) {
            job.pid = -1;
            reap(job, false);
            m_missing = true;
            m_missingReason = m_program + " could not be started (" + std::strerror(spawned) +
                              "): links written by scripts are not checked";
            results[index].failure = m_missingReason;
            return false;
        }
        job.deadline = Clock::now() + std::chrono::seconds(m_timeLimitSeconds);
        running.push_back(std::move(job));
        return true;
    };
    while (next < urls.size() || !running.empty()) {
        while (next < urls.size() && running.size() < kPool && !m_missing) {
            if (!start(next++)) {
                break;
            }
        }
        if (m_missing) {
            for (; next < urls.size(); ++next) {
                results[next].failure = m_missingReason;
            }
        }
        if (running.empty()) {
            continue;
        }
        std::vector<pollfd> fds;
        fds.reserve(running.size());
        for (const Job& job : running) {
            fds.push_back({job.out, POLLIN, 0});
        }
        poll(fds.data(), fds.size(), 100);
        const Clock::time_point now = Clock::now();
        for (std::size_t k = running.size(); k > 0; --k) {
            Job& job = running[k - 1];
            bool ended = false;
            if ((fds[k - 1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                char buffer[65536];
                const ssize_t n = read(job.out, buffer, sizeof buffer);
                if (n > 0) {
                    if (job.document.size() + static_cast<std::size_t>(n) > kMaxDocument) {
                        job.cut = true;
                        ended = true;
                    } else {
                        job.document.append(buffer, static_cast<std::size_t>(n));
                    }
                } else if (n == 0 || errno != EINTR) {
                    ended = true;  // the browser closed its output: done
                }
            }
            const bool late = !ended && now >= job.deadline;
            if (!ended && !late) {
                continue;
            }
            Rendered& result = results[job.index];
            if (late) {
                result.failure =
                    "no page from the browser within " + std::to_string(m_timeLimitSeconds) + " s";
            } else if (job.cut) {
                result.failure = "the rendered page is larger than " +
                                 std::to_string(kMaxDocument >> 20) + " MiB";
            } else if (job.document.empty()) {
                result.failure = "the browser gave no page";
            } else {
                result.document = std::move(job.document);
            }
            reap(job, true);
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(k - 1));
        }
    }
    return results;
}

void judgeRendered(PageEvidence& evidence, const std::string& advertiser,
                   const PageRenderer::Rendered& rendered) {
    if (!rendered.document) {
        evidence.m_rendering = "not rendered: " + rendered.failure;
        return;
    }
    LinkFinder finder(advertiser);
    finder.setPageAddress(evidence.m_finalUrl);
    finder.feed(*rendered.document);
    finder.finish();
    const bool after = finder.evidence().m_anchorFound;
    if (after == evidence.m_anchorFound) {
        evidence.m_rendering =
            after ? "the link is there after scripts" : "no link after scripts either";
    } else {
        evidence.m_rendering = after ? "link only after scripts" : "link removed by scripts";
    }
}

}  // namespace tarnwick
