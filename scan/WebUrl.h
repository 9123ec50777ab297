// A web address taken apart the way the page check compares addresses:
// scheme, host, port, path and query, each in one canonical spelling, so that
// two spellings a browser treats as one address compare equal.
//
// Parsing and resolving are libcurl's (curl_url), after the clean-up a
// browser applies to an href first: blanks and control characters at both
// ends dropped, tabs and line breaks inside removed, backslashes before the
// query read as slashes. Then:
//   - scheme lowered; only http and https are web addresses here;
//   - host percent-decoded, lowered, IDN written as punycode, a final dot
//     dropped;
//   - port empty when it is the scheme's default (80 for http, 443 for https);
//   - path with "." and ".." resolved, percent-escapes of unreserved
//     characters decoded and the others in capitals, other bytes outside
//     printable ASCII escaped; never empty ("/");
//   - query kept as written (without "?"), fragment dropped.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

class WebUrl {
public:
    // An absolute address (UTF-8); nullopt when it is none, or not http(s).
    static std::optional<WebUrl> parse(std::string_view address);
    // href as a link on a page at base (an absolute address) reads it.
    static std::optional<WebUrl> resolve(const WebUrl& base, std::string_view href);

    const std::string& scheme() const { return m_scheme; }
    const std::string& host() const { return m_host; }
    const std::string& port() const { return m_port; }
    const std::string& path() const { return m_path; }
    const std::string& query() const { return m_query; }
    bool hasQuery() const { return m_hasQuery; }
    // The whole address in its canonical spelling.
    std::string toString() const;

private:
    static std::optional<WebUrl> fromCurl(void* handle);

    std::string m_scheme;
    std::string m_host;
    std::string m_port;
    std::string m_path;
    std::string m_query;
    bool m_hasQuery = false;
};

// The clean-up a browser applies to an href before it parses it (see above).
std::string cleanHref(std::string_view href);

// %XX escapes decoded once; others bytes kept.
std::string percentDecoded(std::string_view text);

}  // namespace tarnwick
