#include "mail/NotificationLetter.h"

#include <curl/curl.h>

#include <memory>

#include "mail/ProductWebSite.h"

namespace tarnwick {
namespace {

constexpr char kPiece1[] =
    "Dear Webmaster\n\nWe regularly check our link partners\x92 websites to verify the "
    "availability of our back-links on their websites.\n\nDuring our routine back link "
    "verification, we found that you have removed our link [";
constexpr char kPiece2[] = "] from your website URL [";
constexpr char kPiece3[] =
    "].\n\nPlease check your website and add our link again on your website. If you have "
    "transferred our link location somewhere else on your website, please let us know the new "
    "location of our back-link.\n\n For any query or comments, feel free to contact "
    "us.\n\nSincerely,\nWebmaster\n[";
constexpr char kPiece4[] =
    "]\n\nThis notification has been sent using Osgrel\x92s Tarnwick Ambrel software. More "
    "information about software is available on ";

std::string trimmed(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The host of a page address, typed with or without its scheme; "" when
// libcurl cannot read one.
std::string hostOf(const std::string& page) {
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), &curl_url_cleanup);
    if (!url || curl_url_set(url.get(), CURLUPART_URL, page.c_str(),
                             CURLU_GUESS_SCHEME | CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
        return {};
    }
    char* host = nullptr;
    if (curl_url_get(url.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK || host == nullptr) {
        return {};
    }
    std::string text = host;
    curl_free(host);
    return text;
}

}  // namespace

std::string notificationSubject(const std::string& advertiser, const std::string& page) {
    const std::string trimmedPage = trimmed(page);
    std::string site = trimmedPage.find('\0') == std::string::npos ? hostOf(trimmedPage) : "";
    if (site.empty()) {
        site = trimmedPage;
    }
    return "Link to " + trimmed(advertiser) + " missing on " + site;
}

std::string buildNotificationLetter(const std::string& advertiser, const std::string& page) {
    std::string letter = kPiece1;
    letter += advertiser;
    letter += kPiece2;
    letter += page;
    letter += kPiece3;
    letter += advertiser;
    letter += kPiece4;
    letter += kProductWebSite;
    return letter;
}

}  // namespace tarnwick
