#include "engine/limits.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/business_basic.h"
#include "engine/logical.h"
#include "engine/startup.h"
#include "platform/file_calls.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::DirEntry;
using testing::LinkEntry;

// A file the engine reads whole, its limit, and what a start-up that meets it one byte over
// ends in. Files are made long with resize_file (sparse: no disk, whatever the size).
struct SizeCase {
    const char* name;
    const char* file;  // relative to the link share; "" the catalog settings file
    int64_t limit;
    int32_t error;
    const char* described;  // what the description names before " is larger than"
};

class SizeLimitTest : public testing::EngineFixture,
                      public ::testing::WithParamInterface<SizeCase> {
  protected:
    void SetUp() override {
        WriteMinimalDataSet();
        WriteShareFile("LINKSFILE", LinkEntry(":D01:PARTL", "D01:DATAD1"));
        WriteShareFile("D01/DATAD1", DirEntry("PARTL", 0, 1, 100, 'L', 2));
        WriteShareFile("D01/DATADB", std::string(1024, '\0'));
    }

    std::string Path() const {
        const SizeCase& c = GetParam();
        return *c.file != '\0' ? SharePath(c.file) : temp_ / "tMRCatalog.ini";
    }

    // 0 when the start-up (the global engine, then the main window's own) and the look-up of
    // PARTL succeed; else the number of the error they end in, File not Found (-10) for a name
    // that can't be resolved.
    static int32_t StartAndOpen(std::string* description) {
        try {
            LoadCatalogSettings();
            cBusinessBasic engine;  // raises what the global engine's creation kept quiet
            if (mSystem->TerminalID != "12") return -1;
            const LogicalFileRef file = iLogicalOpen("PARTL");
            if (!file) {
                *description = "File not Found";
                return err::kFile;
            }
            return 0;
        } catch (const BasicError& e) {
            *description = e.description();
            return e.number();
        }
    }
};

TEST_P(SizeLimitTest, AFileAtItsLimitIsReadAndOneAboveEndsInItsError) {
    const SizeCase& c = GetParam();
    std::string description;
    // Exactly the limit: the text first, zero bytes after it (ignored by every reader).
    std::filesystem::resize_file(Path(), static_cast<uintmax_t>(c.limit));
    EXPECT_EQ(StartAndOpen(&description), 0) << description;

    ResetEngineState();
    std::filesystem::resize_file(Path(), uintmax_t{2} << 30);
    const platform::FileCalls before = platform::FileCallCounts();
    EXPECT_EQ(StartAndOpen(&description), c.error);
    EXPECT_NE(description.find(std::string(c.described) + " "), std::string::npos) << description;
    if (c.error != err::kFile) {
        EXPECT_NE(description.find(" is larger than " + std::to_string(c.limit) + " bytes"),
                  std::string::npos)
            << description;
    }
    // The big file was never read through: every read together stays below two limits.
    EXPECT_LT(platform::FileCallCounts().bytes - before.bytes, 2 * static_cast<uint64_t>(c.limit));
}

// A directory file over its limit is one that can't be read: LogicalOpen's File not Found, as
// for a missing directory file (its own error, 1053, stays inside the look-up).
INSTANTIATE_TEST_SUITE_P(
    , SizeLimitTest,
    ::testing::Values(
        SizeCase{"Catalog", "", kCatalogFileLimit, err::kCatalogTooLarge, "Catalog settings file"},
        SizeCase{"TerminalMap", "ttymap", kShareTextLimit, err::kShareTextTooLarge,
                 "\\\\DS1\\TMARLNK\\ttymap"},
        SizeCase{"LinksFile", "LINKSFILE", kLinksFileLimit, err::kLinksTooLarge,
                 "\\\\DS1\\TMARLNK\\LINKSFILE"},
        SizeCase{"DirectoryFile", "D01/DATAD1", kDirectoryFileLimit, err::kFile, "File not"}),
    [](const ::testing::TestParamInfo<SizeCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace dv
