#include "scan/WebUrl.h"

#include <curl/curl.h>
#include <idn2.h>

#include <algorithm>
#include <memory>

#include "common/AsciiText.h"
#include "common/CurlSetup.h"

namespace tarnwick {

namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

struct CurlText {
    char* text = nullptr;
    CurlText() = default;
    CurlText(const CurlText&) = delete;
    CurlText& operator=(const CurlText&) = delete;
    ~CurlText() { curl_free(text); }
};

constexpr unsigned kSetFlags = CURLU_URLENCODE;

bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

bool isUnreserved(unsigned char c) {
    return isAsciiAlpha(static_cast<char>(c)) || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// The scheme an href starts with ("" when it starts with none), lowered.
std::string schemeOf(std::string_view href) {
    if (href.empty() || !isAsciiAlpha(href[0])) {
        return {};
    }
    for (std::size_t i = 1; i < href.size(); ++i) {
        const char c = href[i];
        if (c == ':') {
            return loweredAscii(href.substr(0, i));
        }
        if (!isAsciiAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return {};
        }
    }
    return {};
}

bool isWebScheme(std::string_view scheme) {
    return scheme == "http" || scheme == "https";
}

// Escapes decoded where they stand for unreserved characters, the others in
// capitals; bytes a browser escapes (controls, blanks, quotes, angle
// brackets, bytes above 0x7E) escaped.
std::string canonicalEscapes(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2])) {
            const auto decoded =
                static_cast<unsigned char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            if (isUnreserved(decoded)) {
                out += static_cast<char>(decoded);
            } else {
                out += '%';
                out += kHex[decoded >> 4];
                out += kHex[decoded & 15];
            }
            i += 2;
        } else if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '`') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// An international name in its punycode spelling (libidn2, as browsers
// read names: non-transitional, then transitional processing). A name it
// refuses stays as written: it can only equal itself.
std::string asciiHost(const std::string& host) {
    if (std::all_of(host.begin(), host.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return host;
    }
    for (const int flags : {IDN2_NONTRANSITIONAL, IDN2_TRANSITIONAL}) {
        char* ascii = nullptr;
        if (idn2_to_ascii_8z(host.c_str(), &ascii, flags) == IDN2_OK && ascii != nullptr) {
            std::string out(ascii);
            idn2_free(ascii);
            return out;
        }
        idn2_free(ascii);
    }
    return host;
}

}  // namespace

std::string cleanHref(std::string_view href) {
    while (!href.empty() && static_cast<unsigned char>(href.front()) <= 0x20) {
        href.remove_prefix(1);
    }
    while (!href.empty() && static_cast<unsigned char>(href.back()) <= 0x20) {
        href.remove_suffix(1);
    }
    std::string out;
    out.reserve(href.size());
    bool beforeQuery = true;
    for (const char c : href) {
        if (c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        if (c == '?' || c == '#') {
            beforeQuery = false;
        }
        out += (c == '\\' && beforeQuery) ? '/' : c;
    }
    return out;
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) &&
            isHexDigit(text[i + 2])) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<WebUrl> WebUrl::parse(std::string_view address) {
    const std::string cleaned = cleanHref(address);
    if (!isWebScheme(schemeOf(cleaned))) {
        return std::nullopt;
    }
    CurlSetup::globalInit();
    const UrlHandle url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, cleaned.c_str(), kSetFlags) != CURLUE_OK) {
        return std::nullopt;
    }
    return fromCurl(url.get());
}

std::optional<WebUrl> WebUrl::resolve(const WebUrl& base, std::string_view href) {
    std::string cleaned = cleanHref(href);
    const std::string scheme = schemeOf(cleaned);
    if (!scheme.empty()) {
        if (!isWebScheme(scheme)) {
            return std::nullopt;  // mailto:, javascript:, ftp:...
        }
        // As browsers read it: the page's own scheme followed by fewer than
        // two slashes is an address on the page's host ("http:page",
        // "http:/page" on an http page); otherwise any run of slashes, none
        // included, leads to the host ("https:page" stands for
        // https://page there, "http:///page" for http://page).
        std::string_view rest = std::string_view(cleaned).substr(scheme.size() + 1);
        if (scheme == base.m_scheme && rest.substr(0, 2) != "//") {
            cleaned = std::string(rest);
        } else {
            rest.remove_prefix(std::min(rest.find_first_not_of('/'), rest.size()));
            cleaned = scheme + "://" + std::string(rest);
        }
    } else if (cleaned.substr(0, 2) == "//") {
        // Protocol-relative: any number of slashes before the host.
        cleaned = "//" + cleaned.substr(std::min(cleaned.find_first_not_of('/'), cleaned.size()));
    }
    CurlSetup::globalInit();
    const UrlHandle url(curl_url());
    const std::string baseText = base.toString();
    if (!url || curl_url_set(url.get(), CURLUPART_URL, baseText.c_str(), kSetFlags) != CURLUE_OK) {
        return std::nullopt;
    }
    if (cleaned.empty()) {
        return fromCurl(url.get());  // the page itself
    }
    if (curl_url_set(url.get(), CURLUPART_URL, cleaned.c_str(), kSetFlags) != CURLUE_OK) {
        return std::nullopt;
    }
    return fromCurl(url.get());
}

std::optional<WebUrl> WebUrl::fromCurl(void* handle) {
    auto* url = static_cast<CURLU*>(handle);
    WebUrl out;
    {
        CurlText scheme;
        if (curl_url_get(url, CURLUPART_SCHEME, &scheme.text, 0) != CURLUE_OK) {
            return std::nullopt;
        }
        out.m_scheme = loweredAscii(scheme.text);
        if (!isWebScheme(out.m_scheme)) {
            return std::nullopt;
        }
    }
    {
        CurlText host;
        if (curl_url_get(url, CURLUPART_HOST, &host.text, 0) != CURLUE_OK) {
            return std::nullopt;
        }
        out.m_host = loweredAscii(asciiHost(percentDecoded(host.text)));
        while (!out.m_host.empty() && out.m_host.back() == '.') {
            out.m_host.pop_back();
        }
        if (out.m_host.empty()) {
            return std::nullopt;
        }
    }
    {
        CurlText port;
        if (curl_url_get(url, CURLUPART_PORT, &port.text, 0) == CURLUE_OK) {
            out.m_port = port.text;
            if ((out.m_scheme == "http" && out.m_port == "80") ||
                (out.m_scheme == "https" && out.m_port == "443")) {
                out.m_port.clear();
            }
        }
    }
    {
        CurlText path;
        if (curl_url_get(url, CURLUPART_PATH, &path.text, 0) == CURLUE_OK) {
            out.m_path = canonicalEscapes(path.text);
        }
        if (out.m_path.empty()) {
            out.m_path = "/";
        }
    }
    {
        CurlText query;
        if (curl_url_get(url, CURLUPART_QUERY, &query.text, 0) == CURLUE_OK) {
            out.m_hasQuery = true;
            out.m_query = canonicalEscapes(query.text);
        }
    }
    return out;
}

std::string WebUrl::toString() const {
    std::string out = m_scheme + "://" + m_host;
    if (!m_port.empty()) {
        out += ':' + m_port;
    }
    out += m_path;
    if (m_hasQuery) {
        out += '?' + m_query;
    }
    return out;
}

}  // namespace tarnwick
