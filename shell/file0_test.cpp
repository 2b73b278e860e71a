// GetOption and GetStoreName through the real engine, on control files written by the sample
// writer and on one written here byte by byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/business_basic.h"
#include "engine/packed_text.h"
#include "engine/startup.h"
#include "engine/system.h"
#include "engine/tables.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/test_support.h"
#include "sampledata/data_set.h"
#include "shell/operation_log.h"
#include "shell/options.h"
#include "test_support/sample_share.h"

namespace dv {
namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::string text = ReadLogText(path);
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    return lines;
}

class File0Test : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetHostServices(
            {[] { return std::string("WS7"); }, [](std::string_view) { return int32_t{-1}; }});
        saved_log_ = mLogPath;
        InitLogPath();
    }
    void TearDown() override {
        platform::SetHostServices({});
        mLogPath = saved_log_;
    }

    sample::DataSetImage Image(std::string store, std::vector<int32_t> options_on) {
        sample::DataSetOptions options;
        options.store_name = std::move(store);
        options.terminals = {{"WS7", "12,console"}};
        sample::DataSetWriter writer(options);
        for (int32_t p : options_on) writer.SetOption(p, true);
        return writer.Build();
    }
    void Start(const sample::DataSetImage& image) {
        ASSERT_TRUE(share_.Start(image));
        ASSERT_TRUE(share_.messages().empty());
    }
    std::string File0Path() const { return share_.DataFolder() + "/FILE0"; }

    sample::SampleShare share_;
    std::string saved_log_;
};

TEST_F(File0Test, OptionsAndStoreNameOfTheSampleWriter) {
    Start(Image("LAKESIDE MOTORS", {320}));
    EXPECT_TRUE(GetOption(320));
    EXPECT_FALSE(GetOption(317));
    const auto file = EngineControlFile(mBusinessBasic);
    EXPECT_EQ(GetStoreName(*file), "LAKESIDE MOTORS" + std::string(20, ' '));
    // Each read closes FILE0 again.
    EXPECT_EQ(mOpenFiles->Count(), 0);
    EXPECT_TRUE(FileLines(mLogPath).empty());
}

TEST_F(File0Test, LayoutWrittenByHand) {
    sample::DataSetImage image = Image("UNUSED", {});
    // Block 1: the store name at 151; block 401: "Y" at 317, "y" at 320.
    std::string file0(402 * 512, '\0');
    file0.replace(512 + 150, 35, "HAND WRITTEN STORE NAME 1234567890X");
    file0[401 * 512 + 316] = 'Y';
    file0[401 * 512 + 319] = 'y';
    image.File(image.DataPath("FILE0")) = file0;
    Start(image);
    EXPECT_TRUE(GetOption(317));
    EXPECT_FALSE(GetOption(320));
    EXPECT_FALSE(GetOption(318));
    EXPECT_EQ(GetStoreName(*EngineControlFile(mBusinessBasic)),
              "HAND WRITTEN STORE NAME 1234567890X");
}

TEST_F(File0Test, MissingFile0GivesFalseAndTheStoreNameError) {
    Start(Image("LAKESIDE MOTORS", {320, 317}));
    std::filesystem::remove(File0Path());
    EXPECT_FALSE(GetOption(320));
    EXPECT_EQ(GetStoreName(*EngineControlFile(mBusinessBasic)), "Error finding Store Name");
    const std::vector<std::string> lines = FileLines(mLogPath);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "*Error in GetOption function error # :91");
    EXPECT_EQ(lines[2], "*Error in GetStoreName function error # :91");
    EXPECT_TRUE(share_.messages().empty());  // logged, never shown
}

TEST_F(File0Test, NoGlobalEngineGivesFalse) {
    EXPECT_FALSE(GetOption(320));
    EXPECT_EQ(FileLines(mLogPath).size(), 2u);
}

}  // namespace
}  // namespace dv
