#include "scan/AdvertiserAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick {
namespace {

using Match = AdvertiserAddress::Match;

struct MatchCase {
    const char* advertiser;  // as typed in the profile
    const char* link;        // as resolved on the page
    Match expected;
};

TEST(AdvertiserAddressTest, LinksMatchAsTheWebReadsThem) {
    const std::vector<MatchCase> cases = {
        // Scheme, www, slash, port, letter case.
        {"http://www.shop-a.example/", "https://www.shop-a.example/", Match::Direct},
        {"https://www.shop-a.example/", "http://www.shop-a.example", Match::Direct},
        {"http://www.shop-a.example/", "http://shop-a.example/", Match::Direct},
        {"http://shop-a.example/", "http://www.shop-a.example/", Match::Direct},
        {"http://www.shop-a.example", "http://www.shop-a.example/", Match::Direct},
        {"http://www.shop-a.example/", "http://WWW.Shop-A.Example./", Match::Direct},
        {"http://www.shop-a.example/", "http://www.shop-a.example:80/", Match::Direct},
        {"http://www.shop-a.example/", "https://www.shop-a.example:443/", Match::Direct},
        {"http://www.shop-a.example/", "http://www.shop-a.example:8080/", Match::OtherPath},
        {"HTTP://WWW.SHOP-A.EXAMPLE/", "http://www.shop-a.example/", Match::Direct},
        // Any page of a site counts for the site; a path counts for itself
        // and below it.
        {"http://www.shop-a.example/", "http://www.shop-a.example/deep/page.html?x=1#y",
         Match::Direct},
        {"http://www.shop-a.example/shoes/", "http://www.shop-a.example/shoes", Match::Direct},
        {"http://www.shop-a.example/shoes", "http://www.shop-a.example/shoes/red", Match::Direct},
        {"http://www.shop-a.example/shoes", "http://www.shop-a.example/shoestring",
         Match::OtherPath},
        {"http://www.shop-a.example/shoes", "http://www.shop-a.example/", Match::OtherPath},
        {"http://www.shop-a.example/a%7Eb", "http://www.shop-a.example/a~b", Match::Direct},
        {"http://www.shop-a.example/a%2fb", "http://www.shop-a.example/a%2Fb", Match::Direct},
        {"http://www.shop-a.example/?ref=7", "http://www.shop-a.example/?ref=7", Match::Direct},
        {"http://www.shop-a.example/?ref=7", "http://www.shop-a.example/", Match::OtherPath},
        // Typed without a scheme: a host (and path) on the web.
        {"www.shop-a.example", "https://shop-a.example/x", Match::Direct},
        {"shop-a.example/offers", "http://www.shop-a.example/offers/", Match::Direct},
        {"  www.shop-a.example/  ", "http://www.shop-a.example/", Match::Direct},
        // International names: their own letters and punycode are one name.
        {"http://b\xC3\xBC"
         "cher.example/",
         "http://xn--bcher-kva.example/", Match::Direct},
        {"http://xn--bcher-kva.example/",
         "http://B\xC3\x9C"
         "CHER.example/",
         Match::Direct},
        // Not the advertiser: other hosts, longer names, look-alikes.
        {"http://www.shop-a.example/", "http://www.shop-a.example.evil.example/", Match::None},
        {"http://www.shop-a.example/", "http://myshop-a.example/", Match::None},
        {"http://www.shop-a.example/", "http://www2.shop-a.example/", Match::None},
        {"http://shop-a.example/", "http://www.www.shop-a.example/", Match::None},
        // Redirectors on another host carry the address in their own.
        {"http://www.shop-a.example/",
         "http://partner.example/out?url=http%3A%2F%2Fwww.shop-a.example%2F", Match::Redirect},
        {"http://www.shop-a.example/", "http://partner.example/go/https://shop-a.example/",
         Match::Redirect},
        {"http://www.shop-a.example/", "http://partner.example/r?to=www.shop-a.example&x=1",
         Match::Redirect},
        {"http://www.shop-a.example/",
         "http://partner.example/r?u=http%253A%252F%252Fwww.shop-a.example%252F", Match::Redirect},
        {"http://www.shop-a.example/", "http://partner.example/r?u=http://notshop-a.example/",
         Match::None},
        {"http://www.shop-a.example/shoes", "http://t.example/?u=http://shop-a.example/hats",
         Match::None},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(std::string(c.advertiser) + " / " + c.link);
        const AdvertiserAddress advertiser(c.advertiser);
        EXPECT_EQ(advertiser.match(WebUrl::parse(c.link), c.link), c.expected);
    }
}

TEST(AdvertiserAddressTest, RelativeLinksResolveAgainstThePage) {
    const std::optional<WebUrl> base = WebUrl::parse("http://partner.example/dir/page.html");
    ASSERT_TRUE(base);
    const struct {
        const char* href;
        const char* resolved;  // nullptr: no web address
    } cases[] = {
        {"other.html", "http://partner.example/dir/other.html"},
        {"../up/", "http://partner.example/up/"},
        {"//www.shop-a.example", "http://www.shop-a.example/"},
        {"  http://www.shop-a.example/\n", "http://www.shop-a.example/"},
        {"http://www.sh\top-a.example/", "http://www.shop-a.example/"},
        {"http:\\\\www.shop-a.example\\x", "http://www.shop-a.example/x"},
        // The scheme of the page followed by fewer than two slashes is a
        // path on the page's host; another scheme takes any number of slashes
        // before the host, as does any scheme with two or more.
        {"http:/www.shop-a.example/", "http://partner.example/www.shop-a.example/"},
        {"http:www.shop-a.example/", "http://partner.example/dir/www.shop-a.example/"},
        {"http:///www.shop-a.example/", "http://www.shop-a.example/"},
        {"https:www.shop-a.example/", "https://www.shop-a.example/"},
        {"https:/www.shop-a.example/", "https://www.shop-a.example/"},
        {"https:////www.shop-a.example/", "https://www.shop-a.example/"},
        {"///www.shop-a.example/", "http://www.shop-a.example/"},
        {"\\\\www.shop-a.example\\", "http://www.shop-a.example/"},
        {"?q=1", "http://partner.example/dir/page.html?q=1"},
        {"", "http://partner.example/dir/page.html"},
        {"mailto:a@shop-a.example", nullptr},
        {"javascript:void(0)", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.href);
        const std::optional<WebUrl> url = WebUrl::resolve(*base, c.href);
        if (c.resolved == nullptr) {
            EXPECT_FALSE(url);
        } else {
            ASSERT_TRUE(url);
            EXPECT_EQ(url->toString(), c.resolved);
        }
    }
}

// An advertiser that is no web address at all is looked for in the href as
// written, as before.
TEST(AdvertiserAddressTest, TextThatIsNoAddressMatchesTheHrefAsWritten) {
    const AdvertiserAddress odd("shop a!");
    EXPECT_FALSE(odd.isWebAddress());
    EXPECT_EQ(odd.match(std::nullopt, "http://x.example/?q=SHOP A!"), Match::Direct);
    EXPECT_EQ(odd.match(std::nullopt, "http://x.example/"), Match::None);
    const AdvertiserAddress empty("");
    EXPECT_EQ(empty.match(WebUrl::parse("http://x.example/"), "http://x.example/"), Match::None);
}

}  // namespace
}  // namespace tarnwick
