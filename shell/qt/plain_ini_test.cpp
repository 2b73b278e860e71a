// The plain reading of a QSettings file answers exactly what QSettings reads, and declines
// every file it can't be sure of: each case is written as a user's settings file and read both
// ways.
#include "shell/plain_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/test_support.h"
#include "shell/qt/qt_settings_store.h"

namespace dv {
namespace {

TEST(PlainIni, AnswersAsQSettingsDoesOrDeclines) {
    struct Case {
        const char* text;
        const char* section;
        bool plain;  // whether the plain reading answers
    };
    const Case cases[] = {
        {"[Asset]\nAccounts=\"01100,01200\"\n", "Asset", true},
        {"[Asset]\nAccounts=\n", "Asset", true},
        {"[Asset]\nAccounts=01100\n", "Asset", true},
        {"[Asset]\r\nAccounts=\"01100, 01200\"\r\n", "Asset", true},
        {"[Liability]\nAccounts=\"1\"\n\n[Asset]\nAccounts=\"2,3\"\n", "Asset", true},
        {"\n \t\n[Asset]\n\nAccounts=a.b-c_d", "Asset", true},
        {"[Asset]\nAccounts=01100,01200\n", "Asset", false},  // a list to QSettings
        {"[Asset]\nAccounts=\"01100\\\\,01200\"\n", "Asset", false},
        {"; comment\n[Asset]\nAccounts=1\n", "Asset", false},
        {"[Asset]\nAccounts=@Invalid()\n", "Asset", false},
        {"[Asset]\nAccounts=1\nAccounts=2\n", "Asset", false},
        {"[Asset]\nAccounts = 1\n", "Asset", false},
        {"[Asset]\nAccounts=\"1\"2\n", "Asset", false},
        {"[Asset]\nAccounts=%U0041\n", "Asset", false},
        {"[Asset]\nOther=1\n", "Asset", false},  // no such key: QSettings's fallbacks decide
        {"Accounts=1\n[General]\nAccounts=2\n", "General", false},
    };
    testing::TempFolder config;
    const testing::ScopedEnv xdg("XDG_CONFIG_HOME", config.path());
    const std::unique_ptr<SettingsStore> qt = qt::MakeUserSettingsStore();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        // A file of its own for each case: QSettings keeps what it read of a file.
        const std::string app = "Case" + std::to_string(++n);
        const std::optional<std::string> file = QSettingsUserFile(app);
        ASSERT_TRUE(file);
        EXPECT_EQ(*file, config / ("Dashvane/" + app + ".conf"));
        testing::WriteFile(*file, c.text);
        const std::optional<std::string> plain = PlainIniValue(c.text, c.section, "Accounts");
        EXPECT_EQ(plain.has_value(), c.plain);
        if (plain) {
            EXPECT_EQ(plain, qt->Get(app, c.section, "Accounts"));
        }
    }
    // What the window saves, the plain reading reads back: account lists, one account, none.
    for (const char* saved : {"01100,01200,02300", "01100", ""}) {
        SCOPED_TRACE(saved);
        const std::string app = "Saved" + std::to_string(++n);
        qt->Save(app, "Asset", "Accounts", saved);
        EXPECT_EQ(
            PlainIniValue(testing::ReadFileBytes(*QSettingsUserFile(app)), "Asset", "Accounts"),
            saved);
    }
    const testing::ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    EXPECT_FALSE(QSettingsUserFile("Dashvane"));  // left to QSettings
}

}  // namespace
}  // namespace dv
