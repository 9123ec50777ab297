#include "store/AppSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "store/FileError.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::readBytes;
using test::writeBytes;

class AppSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", (m_temp.root() + "/config").c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
    test::TempDataFolder m_temp;
};

TEST_F(AppSettingsTest, OneFileUnderTheConfigHomeWrittenAndReadBack) {
    EXPECT_EQ(AppSettings::path(), m_temp.root() + "/config/tarnwick/settings.ini");
    EXPECT_EQ(AppSettings::load().m_pageTimeoutSeconds, 120);  // no file: the default
    const AppSettings defaults = AppSettings::load();
    EXPECT_EQ(defaults.m_jobs, 256);
    EXPECT_EQ(defaults.m_silenceSeconds, 20);
    EXPECT_EQ(defaults.m_hostConnections, 2);
    EXPECT_EQ(defaults.m_hostIntervalMs, 0);
    EXPECT_EQ(defaults.m_linkFarmLinks, 100);
    AppSettings settings;
    settings.m_pageTimeoutSeconds = 7;
    settings.m_silenceSeconds = 5;
    settings.m_jobs = 64;
    settings.m_hostConnections = 1;
    settings.m_hostIntervalMs = 250;
    settings.m_linkFarmLinks = 40;
    settings.m_cloakCheck = false;
    settings.save();  // creates the folders
    EXPECT_EQ(readBytes(AppSettings::path()),
              "[scan]\npage_timeout_seconds=7\nsilence_timeout_seconds=5\njobs=64\n"
              "host_connections=1\nhost_interval_ms=250\nlink_farm_links=40\nrender=0\n"
              "cloak_check=0\n");
    EXPECT_EQ(AppSettings::load(), settings);
}

// Whatever the form of the file, a value is read; a value that cannot be used
// as it stands is clamped (or, when it is no number, left at the default)
// with one warning that names the file, the key and the value used.
TEST_F(AppSettingsTest, ValuesAreReadWhateverTheFormAndBadOnesAreToldOf) {
    const std::string path = m_temp.root() + "/s.ini";
    const struct {
        std::string text;
        long expected;
        std::string warning;  // "" when none is due
    } cases[] = {
        {"[scan]\npage_timeout_seconds=30", 30, ""},
        {"\xEF\xBB\xBF[scan]\r\npage_timeout_seconds = 30\r\n", 30, ""},
        {"[scan]\rpage_timeout_seconds=30\r", 30, ""},
        {"# comment\n[ scan ]\n; other\npage_timeout_seconds=3600\n", 3600, ""},
        {"[SCAN]\n\tPage_Timeout_Seconds\t=\t45 \n", 45, ""},
        {"[scan]\npage_timeout_seconds=10\npage_timeout_seconds=20\n", 20, ""},
        {"[scan]\npage_timeout_seconds=0\n", 1,
         ": page_timeout_seconds=\"0\" is outside 1 to 3600; 1 is used"},
        {"[scan]\npage_timeout_seconds=3601\n", 3600,
         ": page_timeout_seconds=\"3601\" is outside 1 to 3600; 3600 is used"},
        {"[scan]\npage_timeout_seconds=-5\n", 1, "\"-5\" is outside 1 to 3600; 1 is used"},
        {"[scan]\npage_timeout_seconds=99999999999999999999\n", 3600, "; 3600 is used"},
        {"[scan]\npage_timeout_seconds=12s\n", 120,
         ": page_timeout_seconds=\"12s\" is not a whole number; 120 is used"},
        {"[scan]\npage_timeout_seconds=\x1b[2J\n", 120, "=\"?[2J\" is not a whole number"},
        {"[other]\npage_timeout_seconds=30\n", 120, ""},
        {"page_timeout_seconds=30\n", 120, ""},
        {"[scan]\npage_timeout_seconds\n", 120, ""},
        {std::string("[scan]\npage_timeout_seconds=3\0"
                     "0\n",
                     32),
         120, "=\"3?0\" is not a whole number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        writeBytes(path, c.text);
        std::vector<std::string> warnings;
        EXPECT_EQ(AppSettings::load(path, &warnings).m_pageTimeoutSeconds, c.expected);
        if (c.warning.empty()) {
            EXPECT_TRUE(warnings.empty()) << warnings.front();
        } else {
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_EQ(warnings[0].rfind(path + ": ", 0), 0u) << warnings[0];
            EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << warnings[0];
        }
    }
    // The side-by-side settings keep to their ranges the same way.
    const struct {
        std::string text;
        long jobs, connections, intervalMs, silence;
        size_t warnings;
        long linkFarmLinks = 100;
    } fetching[] = {
        {"[scan]\njobs=1\nhost_connections=16\nhost_interval_ms=60000\n", 1, 16, 60000, 20, 0},
        {"[scan]\njobs=1024\nhost_connections=1\nhost_interval_ms=0\n", 1024, 1, 0, 20, 0},
        {"[scan]\njobs=0\nhost_connections=0\nhost_interval_ms=-1\nsilence_timeout_seconds=0\n", 1,
         1, 0, 1, 4},
        {"[scan]\njobs=1025\nhost_connections=17\nhost_interval_ms=60001\n", 1024, 16, 60000, 20,
         3},
        {"[scan]\njobs=8 pages\nhost_connections=\nhost_interval_ms=1e3\n", 256, 2, 0, 20, 3},
        {"[scan]\nsilence_timeout_seconds=3601\n", 256, 2, 0, 3600, 1},
        {"[mail]\njobs=8\n", 256, 2, 0, 20, 0},
        {"[scan]\nlink_farm_links=250\n", 256, 2, 0, 20, 0, 250},
        {"[scan]\nlink_farm_links=0\n", 256, 2, 0, 20, 1, 1},
        {"[scan]\nlink_farm_links=many\n", 256, 2, 0, 20, 1, 100},
    };
    for (const auto& c : fetching) {
        SCOPED_TRACE(c.text);
        writeBytes(path, c.text);
        std::vector<std::string> warnings;
        const AppSettings s = AppSettings::load(path, &warnings);
        EXPECT_EQ(s.m_jobs, c.jobs);
        EXPECT_EQ(s.m_hostConnections, c.connections);
        EXPECT_EQ(s.m_hostIntervalMs, c.intervalMs);
        EXPECT_EQ(s.m_silenceSeconds, c.silence);
        EXPECT_EQ(s.m_linkFarmLinks, c.linkFarmLinks);
        EXPECT_EQ(warnings.size(), c.warnings);
    }
    // A folder or a FIFO in the file's place is never read (a FIFO would
    // block the program): the defaults, and a warning.
    const std::string folder = m_temp.root() + "/folder.ini";
    const std::string fifo = m_temp.root() + "/fifo.ini";
    mkdir(folder.c_str(), 0700);
    mkfifo(fifo.c_str(), 0600);
    for (const std::string& odd : {folder, fifo, std::string("/dev/zero")}) {
        std::vector<std::string> warnings;
        EXPECT_EQ(AppSettings::load(odd, &warnings), AppSettings());
        ASSERT_EQ(warnings.size(), 1u) << odd;
        EXPECT_EQ(warnings[0], odd + " is not a regular file; it is ignored");
    }
    std::vector<std::string> none;
    EXPECT_EQ(AppSettings::load(m_temp.root() + "/missing.ini", &none), AppSettings());
    EXPECT_TRUE(none.empty());
}

TEST_F(AppSettingsTest, SaveFailureNamesTheFile) {
    writeBytes(m_temp.root() + "/config", "a file where the folder should be");
    try {
        AppSettings().save();
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(m_temp.root() + "/config"), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace tarnwick
