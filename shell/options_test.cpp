#include "shell/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/error.h"
#include "platform/test_support.h"
#include "shell/operation_log.h"

namespace dv {
namespace {

// FILE0 as a map of blocks; a missing block fails the way a missing FILE0 does.
class FakeFile0 : public ControlFile {
  public:
    std::map<int32_t, std::string> blocks;
    std::vector<std::string> calls;
    bool fail_close = false;

    std::string ReadBlock(int32_t block) override {
        calls.push_back("read " + std::to_string(block));
        const auto it = blocks.find(block);
        if (it == blocks.end()) RaisePlatform(err::kNoObject, "iBlockReadFile");
        return it->second;
    }
    void Close() override {
        calls.push_back("close");
        if (fail_close) RaisePlatform(err::kFileNotFound, "CloseFile");
    }
};

class OptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_path_ = mLogPath;
        mLogPath = folder_ / "dvoperation.log";
    }
    void TearDown() override { mLogPath = saved_path_; }
    std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        const std::string text = ReadLogText(mLogPath);
        size_t start = 0;
        for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
            lines.push_back(text.substr(start, at - start));
        return lines;
    }

    testing::TempFolder folder_;
    std::string saved_path_;
};

TEST_F(OptionsTest, OptionIsSetOnlyByAnUpperCaseY) {
    FakeFile0 f;
    std::string block(512, 'N');
    block[319] = 'Y';  // 320
    block[316] = 'y';  // 317
    f.blocks[401] = block;
    EXPECT_TRUE(GetOption(320, f));
    EXPECT_FALSE(GetOption(317, f));
    EXPECT_FALSE(GetOption(600, f));  // past the block's end
    EXPECT_EQ(f.calls, (std::vector<std::string>{"read 401", "close", "read 401", "close",
                                                 "read 401", "close"}));
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(OptionsTest, MissingFile0GivesFalseAndOneEntryOfTwoLines) {
    FakeFile0 f;
    EXPECT_FALSE(GetOption(320, f));
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"*Error in GetOption function error # :91",
                                        "Object variable or With block variable not set"}));
}

TEST_F(OptionsTest, AFailedCloseKeepsTheComparedResult) {
    FakeFile0 f;
    f.blocks[401] = std::string(319, 'N') + "Y";
    f.fail_close = true;
    EXPECT_TRUE(GetOption(320, f));
    EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(OptionsTest, StoreNameIsThirtyFiveCharactersFrom151Untrimmed) {
    FakeFile0 f;
    std::string block(512, '\0');
    const std::string name = "NORTHFIELD EQUIPMENT";
    block.replace(150, 35, name + std::string(35 - name.size(), ' '));
    f.blocks[1] = block;
    EXPECT_EQ(GetStoreName(f), name + std::string(15, ' '));
    EXPECT_EQ(f.calls, (std::vector<std::string>{"read 1", "close"}));
}

TEST_F(OptionsTest, StoreNameErrorIsLoggedNotShown) {
    FakeFile0 f;
    EXPECT_EQ(GetStoreName(f), "Error finding Store Name");
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"*Error in GetStoreName function error # :91",
                                        "Object variable or With block variable not set"}));
}

}  // namespace
}  // namespace dv
