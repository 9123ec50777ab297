#include <gtest/gtest.h>

#include "store/ProfileNames.h"

namespace tarnwick {
namespace {

struct NameCase {
    const char* text;
    const char* host;
    const char* base;
};

class NameDerivation : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameDerivation, HostPartAndBaseName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(hostPart(c.text), c.host);
    EXPECT_EQ(baseName(hostPart(c.text)), c.base);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, NameDerivation,
    ::testing::Values(NameCase{"http://www.example.com/links.html", "example.com", "example.com"},
                      NameCase{"www.example.com", "example.com", "example.com"},
                      NameCase{"example.com/page.html", "example.com", "example.com"},
                      NameCase{"http://shop.example.com/", "shop.example.com", "example.com"},
                      NameCase{"https://www.example.co.uk/a/b.html", "example.co.uk",
                               "example.co.uk"},
                      NameCase{"shop.example.co.uk", "shop.example.co.uk", "example.co.uk"},
                      NameCase{"www.example.com.au", "example.com.au", "example.com.au"},
                      NameCase{"example.de", "example.de", "example.de"},
                      NameCase{"ftp.example.org/pub", "example.org", "example.org"},
                      NameCase{"ftp://ftp.example.org/pub", "example.org", "example.org"},
                      NameCase{"ftp://example.org/", "", "."},
                      NameCase{"x.company.co.uk", "x.company.co.uk", "x.co.uk"},
                      NameCase{"WWW.EXAMPLE.COM", "WWW.EXAMPLE.COM", "EXAMPLE.COM"},
                      NameCase{"www.example.com (2)", "example.com (2)", "example.com (2)"},
                      NameCase{"www.example.co.uk (2)", "example.co.uk (2)", "co.uk (2)"},
                      // Edge cases: no dot, port, "http" without "//", upper case, country label.
                      NameCase{"localhost", "localhost", ".localhost"}, NameCase{"", "", "."},
                      NameCase{"example.com:8080/x", "example.com:8080", "example.com:8080"},
                      NameCase{"http:example.com", "ttp:example.com", "ttp:example.com"},
                      NameCase{"HTTP://WWW.EXAMPLE.COM/", "HTTP:", ".HTTP:"},
                      NameCase{"www.example.in", "example.in", "example.in"},
                      NameCase{"www", "www", ".www"},
                      NameCase{"https://a.b.example.net/x?y=1", "a.b.example.net", "example.net"}));

TEST(ProfileName, NumberedDisplayTextsLeadBackToTheirOwnName) {
    EXPECT_EQ(profileName("www.example.com"), "example.com");
    EXPECT_EQ(profileName("www.example.com (2)"), "example.com (2)");
    EXPECT_EQ(profileName("www.example.co.uk (2)"), "example.co.uk (2)");
    EXPECT_EQ(profileName("www.example.co.uk (12)"), "example.co.uk (12)");
    EXPECT_EQ(profileName("http://www.example.co.uk/links.html"), "example.co.uk");
    // Not a number suffix: derived as it stands.
    EXPECT_EQ(profileName("www.example.co.uk (x)"), "co.uk (x)");
    EXPECT_EQ(profileName("www.example.co.uk ()"), "co.uk ()");
}

TEST(ProfileName, NumberedNames) {
    EXPECT_EQ(numberedProfileName("example.com", 1), "example.com");
    EXPECT_EQ(numberedProfileName("example.com", 2), "example.com (2)");
    EXPECT_EQ(numberedProfileName("example.co.uk", 13), "example.co.uk (13)");
}

}  // namespace
}  // namespace tarnwick
