#include "shell/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/test_support.h"

namespace dv {
namespace {

class SettingsFileTest : public ::testing::Test {
  protected:
    std::filesystem::path Path() const {
        return std::filesystem::path(folder_.path()) / "cfg" / "settings.ini";
    }
    dv::testing::TempFolder folder_;
};

TEST_F(SettingsFileTest, TellsAbsentFromEmptyAndKeepsSectionsApart) {
    FileSettingsStore store(Path());
    EXPECT_EQ(store.Get("Dashvane", "Asset", "Accounts"), std::nullopt);  // no file yet
    store.Save("Dashvane", "Asset", "Accounts", "01100,025");
    store.Save("Dashvane", "Liability", "Accounts", "");
    store.Save("Dashvane", "Asset", "Accounts", "1005");  // replaces
    EXPECT_EQ(store.Get("Dashvane", "Asset", "Accounts"), "1005");
    EXPECT_EQ(store.Get("Dashvane", "Liability", "Accounts"), "");
    EXPECT_EQ(store.Get("Dashvane", "Liability", "Other"), std::nullopt);
    store.Save("Dashvane", "Odd", "Key", "a=b\\c\nd");
    // Another store on the same file (the other program) reads the same values.
    FileSettingsStore other(Path());
    EXPECT_EQ(other.Get("Dashvane", "Odd", "Key"), "a=b\\c\nd");
    EXPECT_EQ(other.Get("Dashvane", "Asset", "Accounts"), "1005");
    std::ifstream in(Path());
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "[Dashvane/Asset]");
}

}  // namespace
}  // namespace dv
