// A loopback HTTP, HTTPS and FTP server for one test (tests/support/
// page_server.py under Debian's python3), serving the files the test puts in
// its folder. Started by the constructor, stopped by the destructor.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/MuteListener.h"

namespace tarnwick::test {

class PageServer {
public:
    // tls: also HTTPS, with a certificate from a CA made for this server
    // (CaFile()). ftp: also FTP (anonymous, read-only). hosts: that many more
    // HTTP hosts on 127.0.0.2, 127.0.0.3, ... serving the same files.
    explicit PageServer(bool tls = true, bool ftp = true, int hosts = 0);
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    // Puts a file in the served folder.
    void addFile(const std::string& name, const std::string& bytes) const;

    // Full addresses for a path that begins with "/".
    std::string http(const std::string& path) const;
    std::string https(const std::string& path) const;
    std::string ftp(const std::string& path) const;
    // The address of a path on the further host k (0: 127.0.0.2).
    std::string hostHttp(int k, const std::string& path) const;
    // What further host k saw: "peak" (most connections open at once),
    // "robots" (requests of /robots.txt) or "requests".
    int hostStat(int k, const std::string& key) const;
    // The requests the first host has answered, this one included.
    int requests() const;
    const std::string& caFile() const { return m_caFile; }
    int httpPort() const { return m_http; }

private:
    // The number a path of the first host answers with; -1 when it cannot
    // be had.
    int number(const std::string& path) const;

    std::string m_dir;
    std::string m_caFile;
    int m_http = 0;
    int m_https = 0;
    int m_ftp = 0;
    std::vector<int> m_hostPorts;
    pid_t m_pid = -1;
    int m_stdin = -1;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had = false;
    std::string m_old;
};

}  // namespace tarnwick::test
