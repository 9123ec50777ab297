#include "store/AppSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "store/FileError.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class AppSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", (m_temp.Root() + "/config").c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
    test::TempDataFolder m_temp;
};

TEST_F(AppSettingsTest, OneFileUnderTheConfigHomeWrittenAndReadBack) {
    EXPECT_EQ(AppSettings::Path(), m_temp.Root() + "/config/tarnwick/settings.ini");
    EXPECT_EQ(AppSettings::Load().m_nPageTimeoutSeconds, 120);  // no file: the default
    const AppSettings defaults = AppSettings::Load();
    EXPECT_EQ(defaults.m_nJobs, 32);
    EXPECT_EQ(defaults.m_nHostConnections, 2);
    EXPECT_EQ(defaults.m_nHostIntervalMs, 0);
    AppSettings settings;
    settings.m_nPageTimeoutSeconds = 7;
    settings.m_nJobs = 64;
    settings.m_nHostConnections = 1;
    settings.m_nHostIntervalMs = 250;
    settings.Save();  // creates the folders
    EXPECT_EQ(ReadBytes(AppSettings::Path()),
              "[scan]\npage_timeout_seconds=7\njobs=64\nhost_connections=1\n"
              "host_interval_ms=250\n");
    EXPECT_EQ(AppSettings::Load(), settings);
}

TEST_F(AppSettingsTest, WhatIsNotAUsableValueLeavesTheDefault) {
    const std::string path = m_temp.Root() + "/s.ini";
    const struct {
        std::string text;
        long expected;
    } cases[] = {
        {"[scan]\npage_timeout_seconds=30", 30},
        {"\xEF\xBB\xBF[scan]\r\npage_timeout_seconds = 30\r\n", 30},
        {"[scan]\rpage_timeout_seconds=30\r", 30},
        {"# comment\n[ scan ]\n; other\npage_timeout_seconds=3600\n", 3600},
        {"[scan]\npage_timeout_seconds=0\n", 120},
        {"[scan]\npage_timeout_seconds=3601\n", 120},
        {"[scan]\npage_timeout_seconds=-5\n", 120},
        {"[scan]\npage_timeout_seconds=12s\n", 120},
        {"[scan]\npage_timeout_seconds=99999999999999999999\n", 120},
        {"[other]\npage_timeout_seconds=30\n", 120},
        {"page_timeout_seconds=30\n", 120},
        {"[scan]\npage_timeout_seconds\n", 120},
        {std::string("[scan]\npage_timeout_seconds=3\0"
                     "0\n",
                     27),
         120},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.text);
        EXPECT_EQ(AppSettings::Load(path).m_nPageTimeoutSeconds, c.expected) << c.text;
    }
    // The side-by-side settings keep to their ranges the same way.
    const struct {
        std::string text;
        long jobs, connections, intervalMs;
    } fetching[] = {
        {"[scan]\njobs=1\nhost_connections=16\nhost_interval_ms=60000\n", 1, 16, 60000},
        {"[scan]\njobs=64\nhost_connections=1\nhost_interval_ms=0\n", 64, 1, 0},
        {"[scan]\njobs=0\nhost_connections=0\nhost_interval_ms=-1\n", 32, 2, 0},
        {"[scan]\njobs=65\nhost_connections=17\nhost_interval_ms=60001\n", 32, 2, 0},
        {"[scan]\njobs=8 pages\nhost_connections=\nhost_interval_ms=1e3\n", 32, 2, 0},
        {"[mail]\njobs=8\n", 32, 2, 0},
    };
    for (const auto& c : fetching) {
        WriteBytes(path, c.text);
        const AppSettings s = AppSettings::Load(path);
        EXPECT_EQ(s.m_nJobs, c.jobs) << c.text;
        EXPECT_EQ(s.m_nHostConnections, c.connections) << c.text;
        EXPECT_EQ(s.m_nHostIntervalMs, c.intervalMs) << c.text;
    }
    // A folder in the file's place reads as no file.
    mkdir((m_temp.Root() + "/folder.ini").c_str(), 0700);
    EXPECT_EQ(AppSettings::Load(m_temp.Root() + "/folder.ini").m_nPageTimeoutSeconds, 120);
}

TEST_F(AppSettingsTest, SaveFailureNamesTheFile) {
    WriteBytes(m_temp.Root() + "/config", "a file where the folder should be");
    try {
        AppSettings().Save();
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(m_temp.Root() + "/config"), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace tarnwick
