#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace tarnwick::cli {
namespace {

TEST(CliOptionsTest, GoodCommandLines) {
    struct Row {
        std::vector<std::string> args;
        Command command;
        bool help;
        std::string page, advertiser, report;
        bool noMail;
    };
    const std::vector<Row> rows = {
        {{"--help"}, Command::None, true, "", "", "", false},
        {{"help", "scan"}, Command::Scan, true, "", "", "", false},
        {{"check", "-h"}, Command::Check, true, "", "", "", false},
        {{"check", "http://p/", "www.a.com"},
         Command::Check,
         false,
         "http://p/",
         "www.a.com",
         "",
         false},
        {{"check", "--", "-p", "-a"}, Command::Check, false, "-p", "-a", "", false},
        {{"list"}, Command::List, false, "", "", "", false},
        {{"scan"}, Command::Scan, false, "", "", "", false},
        {{"scan", "--no-mail", "--report", "r.html"}, Command::Scan, false, "", "", "r.html", true},
        {{"scan", "--report=r.txt"}, Command::Scan, false, "", "", "r.txt", false},
    };
    for (const Row& row : rows) {
        const CliOptions o = parseArguments(row.args);
        EXPECT_EQ(o.command, row.command) << row.args[0];
        EXPECT_EQ(o.help, row.help) << row.args[0];
        EXPECT_EQ(o.page, row.page);
        EXPECT_EQ(o.advertiser, row.advertiser);
        EXPECT_EQ(o.reportPath, row.report);
        EXPECT_EQ(o.noMail, row.noMail);
        EXPECT_EQ(o.jobs, 0);  // the settings' unless given
    }
    EXPECT_EQ(parseArguments({"scan", "--jobs", "1"}).jobs, 1);
    EXPECT_EQ(parseArguments({"scan", "--jobs=64", "--no-mail"}).jobs, 64);
    EXPECT_TRUE(parseArguments({"scan", "--render"}).render);
    EXPECT_FALSE(parseArguments({"scan"}).render);  // the setting's unless given
}

TEST(CliOptionsTest, BadCommandLines) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{}, "no command given"},
        {{"bogus"}, "unknown command 'bogus'"},
        {{"check", "http://p/"}, "check needs a page address and an advertiser's address"},
        {{"check", "a", "b", "c"}, "check needs a page address and an advertiser's address"},
        {{"check", "--no-mail", "a", "b"}, "unknown option '--no-mail' for check"},
        {{"list", "--render"}, "unknown option '--render' for list"},
        {{"list", "x"}, "unexpected argument 'x' for list"},
        {{"scan", "--report"}, "--report needs a file name"},
        {{"scan", "--report="}, "--report needs a file name"},
        {{"scan", "--mail"}, "unknown option '--mail' for scan"},
        {{"scan", "--jobs", "0"}, "--jobs needs a number of pages from 1 to 1024"},
        {{"scan", "--jobs=1025"}, "--jobs needs a number of pages from 1 to 1024"},
        {{"scan", "--jobs", "many"}, "--jobs needs a number of pages from 1 to 1024"},
        {{"scan", "--jobs"}, "--jobs needs a value"},
        {{"check", "--jobs", "4", "a", "b"}, "unknown option '--jobs' for check"},
        {{"help", "bogus"}, "unknown command 'bogus'"},
    };
    for (const auto& [args, message] : rows) {
        try {
            parseArguments(args);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
}

}  // namespace
}  // namespace tarnwick::cli
