#include "engine/physical.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "engine/business_basic.h"
#include "platform/file.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::ExpectError;

// FILE0 of 206 blocks: every block starts with its own number, big-endian, in 4 bytes.
std::string ControlFile() {
    std::string bytes(206 * 512, '\0');
    for (int32_t b = 0; b < 206; ++b)
        testing::PutAt(bytes, static_cast<size_t>(b) * 512, testing::Be(4, b));
    testing::PutAt(bytes, 516, "STORE NAME");
    return bytes;
}

class PhysicalTest : public testing::EngineFixture {
  protected:
    void SetUp() override {
        WriteMinimalDataSet();
        WriteShareFile("D01/FILE0", ControlFile());
        StartEngine();
    }
};

TEST_F(PhysicalTest, BareNameIsCompletedAndOpenedOnce) {
    std::string path = "FILE0";
    const auto file = iOpenFile(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(path, "\\\\DS1\\TMARLNK\\D01\\FILE0");
    EXPECT_EQ(file->Path, path);
    EXPECT_EQ(file->Position, 0);
    std::string again = "FILE0";
    std::string other_case = "\\\\ds1\\tmarlnk\\d01\\file0";
    EXPECT_EQ(iOpenFile(again), file);
    EXPECT_EQ(iOpenFile(other_case), file);
    EXPECT_EQ(mOpenFiles->Count(), 1);
}

TEST_F(PhysicalTest, MissingFileGivesNoneAndIsSearchedAgain) {
    std::string path = "NOFILE";
    EXPECT_EQ(iOpenFile(path), nullptr);
    EXPECT_EQ(mOpenFiles->Count(), 0);
    WriteShareFile("D01/NOFILE", "now here");
    path = "NOFILE";
    EXPECT_TRUE(iOpenFile(path));
    std::string folder = "\\\\DS1\\TMARLNK\\D01";  // folders don't count as files
    EXPECT_EQ(iOpenFile(folder), nullptr);
}

TEST_F(PhysicalTest, BlocksAndBytesByPosition) {
    std::string path = "FILE0";
    const auto file = iOpenFile(path);
    EXPECT_EQ(iBlockReadFile(file, 0).substr(0, 4), testing::Be(4, 0));
    // 401 lies past the end of this 206-block file, and the last 6 bytes asked for run over it
    // by 4: bytes the file does not hold are an error, never zeros.
    const std::string ends =
        "File \\\\DS1\\TMARLNK\\D01\\FILE0 ends at byte 105472: it holds no bytes ";
    testing::ExpectError([&] { iBlockReadFile(file, 401); }, err::kShortFile, "iReadFile",
                         ends + "205312 to 205823");
    EXPECT_EQ(iBlockReadFile(file, 205).substr(0, 4), testing::Be(4, 205));
    EXPECT_EQ(iReadFile(file, 16, 512),
              testing::Be(4, 1) + std::string("STORE NAME") + std::string(2, '\0'));
    testing::ExpectError([&] { iReadFile(file, 6, 206 * 512 - 2); }, err::kShortFile, "iReadFile",
                         ends + "105470 to 105475");
    EXPECT_EQ(iReadFile(file, 2, 206 * 512 - 2).size(), 2u);  // the last bytes it holds
    EXPECT_EQ(iReadFile(file, 0, 0), "");
}

TEST_F(PhysicalTest, ReadErrors) {
    std::string path = "FILE0";
    const auto file = iOpenFile(path);
    ExpectError([&] { iBlockReadFile(file, 4194304); }, 6, "iBlockReadFile", "Overflow");
    ExpectError([&] { iBlockReadFile(nullptr, 4194304); }, 6, "iBlockReadFile", "Overflow");
    ExpectError([&] { iBlockReadFile(nullptr, 1); }, 91, "iBlockReadFile",
                "Object variable or With block variable not set");
    ExpectError([&] { iReadFile(nullptr, 1, 0); }, 91, "iReadFile",
                "Object variable or With block variable not set");
    ExpectError([&] { iReadFile(file, 1, -1); }, 63, "iReadFile", "Bad record number");
    ExpectError([&] { iReadFile(file, -1, 0); }, 5, "iReadFile",
                "Invalid procedure call or argument");
    // A read the system refuses names the file and the reason (the first page of this
    // process's memory is never mapped: reading it is an I/O error).
    int e = 0;
    const auto memory = platform::ReadOnlyFile::Open("/proc/self/mem", &e);
    ASSERT_TRUE(memory) << e;
    ExpectError([&] { ReadCounted(*memory, 0, 16, "iReadFile"); }, 57, "iReadFile",
                "Could not read file: /proc/self/mem (Input/output error)");
}

TEST_F(PhysicalTest, CloseAndReopenUnderAFreeNumber) {
    std::string path = "FILE0";
    const auto first = iOpenFile(path);
    std::string other = "\\\\DS1\\TMARLNK\\ttymap";
    const auto map = iOpenFile(other);
    EXPECT_EQ(first->vbFileNumber, 1);
    EXPECT_EQ(map->vbFileNumber, 2);
    iCloseFile(path);
    EXPECT_FALSE(first->handle);
    EXPECT_EQ(mOpenFiles->Find(path), nullptr);
    iCloseFile(path);  // not open: nothing happens
    const auto second = iOpenFile(path);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->vbFileNumber, 1);  // the lowest free number
}

TEST_F(PhysicalTest, ReadOnlyFilesOpenAndRead) {
    ::chmod(SharePath("D01/FILE0").c_str(), 0444);
    std::string path = "FILE0";
    const auto file = iOpenFile(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(iBlockReadFile(file, 1).substr(4, 10), "STORE NAME");
}

TEST_F(PhysicalTest, ReadsAreCounted) {
    std::string path = "FILE0";
    const auto file = iOpenFile(path);
    ResetEngineReadStats();
    iBlockReadFile(file, 1);
    iReadFile(file, 16, 0);
    EXPECT_EQ(EngineReadStats().reads, 2u);
    EXPECT_EQ(EngineReadStats().bytes, 528u);
}

TEST_F(PhysicalTest, WritesAreRefusedUnlessEnabled) {
    std::string path = "FILE0";
    const auto file = iOpenFile(path);
    const std::string refusal =
        "Path/File access error: the dealer's files are opened read-only and writing is not "
        "enabled: \\\\DS1\\TMARLNK\\D01\\FILE0";
    ExpectError([&] { iWriteFile(file, "xx", 100); }, 75, "iwriteFile", refusal);
    ExpectError([&] { iBlockWriteFile(file, 1, "xx"); }, 75, "iBlockWriteFile", refusal);
    EXPECT_EQ(file->Position, 0);
    EXPECT_FALSE(file->writer);
    EXPECT_EQ(testing::ReadFileBytes(SharePath("D01/FILE0")), ControlFile());
    ExpectError([&] { iWriteFile(nullptr, "xx", 0); }, -10, "iwriteFile",
                "OpenFile parameter is undefined");
}

TEST_F(PhysicalTest, EnabledWritesKeepThePosition) {
    SetWritesAllowed(true);
    std::string path = "FILE0";
    const auto file = iOpenFile(path);
    iWriteFile(file, "AB", 100);
    EXPECT_EQ(file->Position, 100);
    iWriteFile(file, "CD", -1);  // at the kept position again
    iBlockWriteFile(file, 2, "EFG");
    EXPECT_EQ(file->Position, 100);
    const std::string bytes = testing::ReadFileBytes(SharePath("D01/FILE0"));
    EXPECT_EQ(bytes.substr(100, 2), "CD");
    EXPECT_EQ(bytes.substr(1024, 3), "EFG");
    EXPECT_EQ(bytes.size(), ControlFile().size());
    EXPECT_EQ(iReadFile(file, 2, 100), "CD");  // reads see the write: nothing is cached
    ExpectError([&] { iBlockWriteFile(nullptr, 1, "x"); }, 91, "iBlockWriteFile",
                "Object variable or With block variable not set");
}

}  // namespace
}  // namespace dv
