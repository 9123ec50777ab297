#include "scan/PageServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <curl/curl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace tarnwick::test {
namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? v : fallback;
}

int jsonInt(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? 0 : std::atoi(json.c_str() + at + key.size() + 3);
}

std::string jsonString(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\": \"");
    if (at == std::string::npos) {
        return {};
    }
    const size_t from = at + key.size() + 5;
    return json.substr(from, json.find('"', from) - from);
}

}  // namespace

PageServer::PageServer(bool tls, bool ftp, int hosts) {
    // A proxy set for the user's own use must not carry loopback requests.
    for (const char* proxy :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"}) {
        if (std::getenv(proxy) != nullptr) {
            std::string list = envOr("no_proxy", "");
            list += list.empty() ? "127.0.0.1,127.0.0.0/8,localhost"
                                 : ",127.0.0.1,127.0.0.0/8,localhost";
            setenv("no_proxy", list.c_str(), 1);
            break;
        }
    }
    std::string pattern = envOr("TMPDIR", "/tmp") + "/tarnwick-pages-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder for the page server");
    }
    m_dir = pattern;
    std::filesystem::create_directories(m_dir + "/root");
    std::filesystem::create_directories(m_dir + "/tls");

    const std::string python = envOr("TARNWICK_TEST_PYTHON", "/usr/bin/python3");
    const std::string script = envOr("TARNWICK_SOURCE_DIR", TARNWICK_SOURCE_DIR_FALLBACK) +
                               "/tests/support/page_server.py";
    std::vector<std::string> args = {python, script, "--root", m_dir + "/root"};
    if (tls) {
        args.insert(args.end(), {"--tls-dir", m_dir + "/tls"});
    }
    if (ftp) {
        args.emplace_back("--ftp");
    }
    if (hosts > 0) {
        args.insert(args.end(), {"--hosts", std::to_string(hosts)});
    }
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) {
        throw std::runtime_error("cannot create pipes for the page server");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int rc = posix_spawn(&m_pid, python.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    m_stdin = in[1];
    if (rc != 0) {
        close(out[0]);
        throw std::runtime_error("cannot start " + python);
    }
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    close(out[0]);
    m_http = jsonInt(line, "http");
    m_https = jsonInt(line, "https");
    m_ftp = jsonInt(line, "ftp");
    m_caFile = jsonString(line, "ca");
    const size_t list = line.find("\"hosts\": [");
    if (list != std::string::npos) {
        const char* p = line.c_str() + list + 10;
        while (*p != '\0' && *p != ']') {
            char* end = nullptr;
            const long port = std::strtol(p, &end, 10);
            if (end == p) {
                ++p;
                continue;
            }
            m_hostPorts.push_back(static_cast<int>(port));
            p = end;
        }
    }
    if (m_http == 0) {
        throw std::runtime_error("the page server did not start: " + line);
    }
}

PageServer::~PageServer() {
    if (m_stdin >= 0) {
        close(m_stdin);  // the server ends when its input ends
    }
    if (m_pid > 0) {
        int status = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > until) {
                kill(m_pid, SIGKILL);
                waitpid(m_pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

void PageServer::addFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(m_dir + "/root/" + name, std::ios::binary) << bytes;
}

std::string PageServer::http(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_http) + path;
}

std::string PageServer::https(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(m_https) + path;
}

std::string PageServer::ftp(const std::string& path) const {
    return "ftp://127.0.0.1:" + std::to_string(m_ftp) + path;
}

std::string PageServer::hostHttp(int k, const std::string& path) const {
    return "http://127.0.0." + std::to_string(k + 2) + ":" +
           std::to_string(m_hostPorts.at(static_cast<size_t>(k))) + path;
}

int PageServer::hostStat(int k, const std::string& key) const {
    // Asked of the first host, whose own counts do not matter.
    return number("/stats?host=127.0.0." + std::to_string(k + 2) + "&key=" + key);
}

int PageServer::requests() const {
    return number("/count");
}

int PageServer::number(const std::string& path) const {
    CURL* e = curl_easy_init();
    std::string body;
    const std::string url = http(path);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(
        e, CURLOPT_WRITEFUNCTION, +[](char* data, size_t size, size_t count, void* user) {
            static_cast<std::string*>(user)->append(data, size * count);
            return size * count;
        });
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
    const CURLcode code = curl_easy_perform(e);
    curl_easy_cleanup(e);
    return code == CURLE_OK ? std::atoi(body.c_str()) : -1;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) {
        m_had = true;
        m_old = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_had) {
        setenv(m_name.c_str(), m_old.c_str(), 1);
    } else {
        unsetenv(m_name.c_str());
    }
}

}  // namespace tarnwick::test
