// Letters.ini as people write it by hand: whatever its form, the rules it
// says hold; what cannot be used as it stands is clamped or left at the
// default, and told.
#include "history/LetterRules.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

// By default a webmaster gets one letter a day about a page at most, however
// often the run is played; 0 quiet days lets every run mail.
TEST(LetterRulesTest, DefaultsHoldBackOnlyASecondLetterTheSameDay) {
    constexpr std::int64_t kNow = 1'000'000'000;
    constexpr std::int64_t kHour = 3600;
    EXPECT_EQ(LetterRules(), (LetterRules{1, 1}));
    const struct {
        LetterRules rules;
        int missingRuns;
        std::optional<std::int64_t> lastSent;
        bool held;
    } cases[] = {
        {{}, 1, std::nullopt, false},     {{}, 1, kNow - 34, true},
        {{}, 1, kNow - 23 * kHour, true}, {{}, 1, kNow - 24 * kHour, false},
        {{1, 0}, 1, kNow - 34, false},    {{2, 0}, 1, std::nullopt, true},
        {{2, 0}, 2, std::nullopt, false}, {{1, 7}, 3, kNow - std::int64_t{6} * 24 * kHour, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rules.m_missingRuns) + " runs, " +
                     std::to_string(c.rules.m_quietDays) + " days, sent " +
                     (c.lastSent ? std::to_string(kNow - *c.lastSent) + " s ago" : "never"));
        const std::string reason = letterHoldBackReason(c.rules, c.missingRuns, c.lastSent, kNow);
        EXPECT_EQ(!reason.empty(), c.held) << reason;
    }
    EXPECT_NE(letterHoldBackReason({}, 1, kNow - 34, kNow).find(", within 1 day"),
              std::string::npos);
}

TEST(LetterRulesTest, EveryFormOfTheFileKeepsItsRules) {
    const struct {
        std::string text;
        LetterRules rules;
        std::string warning;  // "" when none is due
    } cases[] = {
        {"missing_runs=2\r\nquiet_days=30", {2, 30}, ""},
        {"missing_runs = 2\nquiet_days = 30\n", {2, 30}, ""},
        {"\t missing_runs\t=\t2 \r\n", {2, 1}, ""},
        {"\xEF\xBB\xBFmissing_runs=2\r\n", {2, 1}, ""},
        {"MISSING_RUNS=2\rQuiet_Days=30\r", {2, 30}, ""},
        {"# letters\n; wait a little\nquiet_days=7\n", {1, 7}, ""},
        {"missing_runs=3\nmissing_runs=4\n", {4, 1}, ""},
        {"missing_runs=+2\n", {2, 1}, ""},
        {"", {1, 1}, ""},
        {"missing_runs=\n", {1, 1}, "missing_runs=\"\" is not a whole number; 1 is used"},
        {"missing_runs=0\n", {1, 1}, "missing_runs=\"0\" is outside 1 to 1000; 1 is used"},
        {"missing_runs=5000\n",
         {1000, 1},
         "missing_runs=\"5000\" is outside 1 to 1000; 1000 is used"},
        {"quiet_days=99999\n",
         {1, 36500},
         "quiet_days=\"99999\" is outside 0 to 36500; 36500 is used"},
        {"quiet_days=-3\n", {1, 0}, "quiet_days=\"-3\" is outside 0 to 36500; 0 is used"},
        {"missing_runs=two\nquiet_days=30\n",
         {1, 30},
         "missing_runs=\"two\" is not a whole number; 1 is used"},
        {"quiet_days=30 days\n", {1, 1}, "quiet_days=\"30 days\" is not a whole number; 1 is used"},
        {"quiet_days=1e3\nmissing_runs=2",
         {2, 1},
         "quiet_days=\"1e3\" is not a whole number; 1 is used"},
    };
    test::TempDataFolder temp;
    const std::string folder = temp.folder().folder();
    temp.folder().ensureExists();
    const std::string path = folder + "/Letters.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        test::writeBytes(path, c.text);
        std::vector<std::string> warnings;
        EXPECT_EQ(readLetterRules(folder, &warnings), c.rules);
        if (c.warning.empty()) {
            EXPECT_TRUE(warnings.empty()) << warnings.front();
        } else {
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_EQ(warnings[0], path + ": " + c.warning);
        }
    }
    // What the dialog writes is read back as it was.
    writeLetterRules(folder, LetterRules{3, 14});
    std::vector<std::string> none;
    EXPECT_EQ(readLetterRules(folder, &none), (LetterRules{3, 14}));
    EXPECT_TRUE(none.empty());
}

// A FIFO (or a folder) in the place of Letters.ini is never opened for a
// read that could wait for a writer: the defaults, with a warning.
TEST(LetterRulesTest, AFifoOrAFolderIsNotRead) {
    test::TempDataFolder temp;
    const std::string folder = temp.folder().folder();
    temp.folder().ensureExists();
    const std::string path = folder + "/Letters.ini";
    for (const bool fifo : {true, false}) {
        ASSERT_EQ(fifo ? mkfifo(path.c_str(), 0600) : mkdir(path.c_str(), 0700), 0);
        std::vector<std::string> warnings;
        EXPECT_EQ(readLetterRules(folder, &warnings), LetterRules());
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0], path + " is not a regular file; it is ignored");
        ASSERT_EQ(fifo ? unlink(path.c_str()) : rmdir(path.c_str()), 0);
    }
    std::vector<std::string> missing;
    EXPECT_EQ(readLetterRules(folder, &missing), LetterRules());
    EXPECT_TRUE(missing.empty());
}

}  // namespace
}  // namespace tarnwick
