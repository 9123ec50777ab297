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
    AppSettings settings;
    settings.m_nPageTimeoutSeconds = 7;
    settings.Save();  // creates the folders
    EXPECT_EQ(ReadBytes(AppSettings::Path()), "[scan]\npage_timeout_seconds=7\n");
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
