#include "editing/TypedPages.h"

#include <gtest/gtest.h>

#include "editing/EditingTexts.h"
#include "mail/MailRules.h"

namespace tarnwick {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rowsOf(const TypedPages& pages) {
    Rows rows;
    for (const ImportRow& row : pages.m_rows) {
        rows.emplace_back(row.m_page, row.m_mail);
    }
    return rows;
}

TEST(TypedPagesTest, OnePagePerLineWithAnOptionalMail) {
    const TypedPages pages = parseTypedPages(
        "http://a.example.net/links\r\n\n  b.example.org/x\tweb@b.example.org \n"
        "c.example.com ; c@c.example.com\nd.example.com, d@d.example.com\n"
        "e.example.com   e@e.example.com");
    EXPECT_EQ(pages.m_line, 0);
    EXPECT_EQ(rowsOf(pages), (Rows{{"http://a.example.net/links", ""},
                                   {"b.example.org/x", "web@b.example.org"},
                                   {"c.example.com", "c@c.example.com"},
                                   {"d.example.com", "d@d.example.com"},
                                   {"e.example.com", "e@e.example.com"}}));
    EXPECT_TRUE(parseTypedPages("").m_rows.empty());
    EXPECT_EQ(parseTypedPages(" \n\t\n").m_line, 0);
}

TEST(TypedPagesTest, TheFirstBadLineIsNamedAndNothingIsTaken) {
    struct Case {
        const char* text;
        int line;
        std::string message;
    } cases[] = {
        {"a.example.com\n\nno scheme here\n", 3,
         std::string("Line 3: no scheme here\n\n") + texts::kUrlInvalid},
        {"a.example.com;not a mail\n", 1,
         std::string("Line 1: a.example.com;not a mail\n\n") + kMsgIncorrectMail},
        {"example.c\n", 1, std::string("Line 1: example.c\n\n") + texts::kUrlInvalid},
        {";m@x.org\n", 1, std::string("Line 1: ;m@x.org\n\n") + texts::kUrlInvalid},
    };
    for (const Case& c : cases) {
        const TypedPages pages = parseTypedPages(c.text);
        EXPECT_EQ(pages.m_line, c.line) << c.text;
        EXPECT_EQ(pages.m_message, c.message) << c.text;
        EXPECT_TRUE(pages.m_rows.empty()) << c.text;
    }
}

TEST(TypedPagesTest, ASpreadsheetsHeadingIsLeftOut) {
    const TypedPages pages =
        parseTypedPages("\nUrl\tMail Address\na.example.com\tm@a.example.com\n");
    EXPECT_EQ(pages.m_line, 0) << pages.m_message;
    EXPECT_EQ(rowsOf(pages), (Rows{{"a.example.com", "m@a.example.com"}}));
    // Only the first line with text can be a heading.
    EXPECT_EQ(parseTypedPages("a.example.com\nUrl\n").m_line, 2);
}

// Rows copied from a spreadsheet into a profile's list: page, mail address
// and an optional notification, a heading left out, pages the list has (or
// the paste had before) counted and left out, a bad line named.
TEST(TypedPagesTest, PastedPages) {
    const PastedPages pasted = parsePastedPages(
        "Page\tMail\tEmail Notification\r\n"
        "http://a.example.com/x\tw@a.example.com\tdisabled\r\n"
        "b.example.com\t\tEnabled\r\n"
        "c.example.com;c@c.example.com\r\n"
        "old.example.com\tm@old.example.com\r\n"
        "c.example.com\r\n",
        {"old.example.com"}, "Disabled");
    EXPECT_EQ(pasted.m_line, 0) << pasted.m_message;
    EXPECT_EQ(pasted.m_pages,
              (std::vector<ProfilePage>{{"http://a.example.com/x", "w@a.example.com", "Disabled"},
                                        {"b.example.com", "", "Enabled"},
                                        {"c.example.com", "c@c.example.com", "Disabled"}}));
    EXPECT_EQ(pasted.m_skipped, 2);

    struct Case {
        const char* text;
        int line;
        std::string message;
    } cases[] = {
        {"a.example.com\tm@a.example.com\tperhaps\n", 1,
         "Line 1: a.example.com\tm@a.example.com\tperhaps\n\nThe notification is \"Enabled\" "
         "or \"Disabled\"."},
        {"a.example.com\nb.example.com\tnot a mail\n", 2,
         std::string("Line 2: b.example.com\tnot a mail\n\n") + kMsgIncorrectMail},
        {"a.example.com\nno scheme here\tm@x.org\n", 2,
         std::string("Line 2: no scheme here\tm@x.org\n\n") + texts::kUrlInvalid},
    };
    for (const Case& c : cases) {
        const PastedPages bad = parsePastedPages(c.text, {}, "Enabled");
        EXPECT_EQ(bad.m_line, c.line) << c.text;
        EXPECT_EQ(bad.m_message, c.message) << c.text;
        EXPECT_TRUE(bad.m_pages.empty()) << c.text;
    }
}

TEST(TypedPagesTest, PageAndMailCheck) {
    EXPECT_EQ(checkPageAndMail("www.a.com", " "), nullptr);
    EXPECT_EQ(checkPageAndMail(" http://a.com/x ", "w@a.com"), nullptr);
    EXPECT_STREQ(checkPageAndMail("no scheme here", ""), texts::kUrlInvalid);
    EXPECT_STREQ(checkPageAndMail("a.com", "not a mail"), kMsgIncorrectMail);
}

}  // namespace
}  // namespace tarnwick
