// The advertiser's address as the page check compares links with it: the one
// place that says whether a link points to the advertiser.
//
// The address as typed in the profile is read once. Without a scheme
// ("shop-a.example", "www.shop-a.example/offers") it is a host and path on
// http. A link points to the advertiser when, both in WebUrl's canonical
// spelling:
//   - http and https count as one scheme;
//   - the hosts are equal once a leading "www." is dropped from each (IDN and
//     punycode spellings are equal, letter case is ignored);
//   - the ports are equal (a scheme's default port is no port);
//   - the link's path starts with the advertiser's path at a "/" boundary,
//     letter case ignored and a final "/" on either ignored ("/" matches
//     every path);
//   - where the advertiser's address has a query, the link has the same one.
// A link to the advertiser's host that fails the rest is "another path"; a
// link to another host whose own address carries the advertiser's address
// (http://partner.example/out?url=http%3A%2F%2Fwww.shop-a.example%2F) goes
// "through a redirect": neither is a link to the advertiser.
//
// An address that is no web address at all (no host can be read from it)
// falls back to what the check always did with such text: a link whose href
// holds it, letter case ignored, points to it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scan/WebUrl.h"

namespace tarnwick {

class AdvertiserAddress {
public:
    enum class Match {
        None,       // not about the advertiser at all
        Direct,     // a link to the advertiser
        OtherPath,  // the advertiser's host, but not the address
        Redirect,   // another host's address that carries the advertiser's
    };

    // typed: as stored in the profile, UTF-8.
    explicit AdvertiserAddress(std::string_view typed);

    // How a link (href as written, resolved to url) relates to the advertiser;
    // url is nullopt when the href is no web address.
    Match match(const std::optional<WebUrl>& url, std::string_view href) const;
    Match match(const WebUrl& url) const;

    // Lowered host names under which the advertiser may be written in text
    // (without "www."; its punycode and its typed spelling when they differ),
    // or the lowered typed text for an address that is no web address.
    const std::string& searchName() const { return m_searchName; }
    const std::string& typedSearchName() const { return m_typedSearchName; }
    bool isWebAddress() const { return m_url.has_value(); }
    // Whether url is on the advertiser's host (any port, path or scheme).
    bool onHost(const WebUrl& url) const;

    // Whether actual is the page expected names, by the same rules: scheme,
    // a leading "www.", letter case and a final "/" do not count; the path
    // must be the same (not one below it), and where expected has a query,
    // actual has the same one.
    static bool samePage(const WebUrl& expected, const WebUrl& actual);

private:
    bool sameHost(const WebUrl& url) const;
    bool samePlace(const WebUrl& url) const;
    bool carriedBy(const WebUrl& url) const;

    std::optional<WebUrl> m_url;
    std::string m_host;  // without "www."
    std::string m_path;  // lowered, without a final "/"
    std::string m_searchName;
    std::string m_typedSearchName;
};

}  // namespace tarnwick
