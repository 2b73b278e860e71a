#include "engine/business_basic.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/physical.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::Be;
using testing::DirEntry;
using testing::ExpectError;
using testing::LinkEntry;
using testing::PutAt;

class FacadeTest : public testing::EngineFixture {
  protected:
    void SetUp() override {
        WriteMinimalDataSet();
        WriteShareFile("LINKSFILE", LinkEntry(":D01:LINEL", "D01:DATAD1") +
                                        LinkEntry(":D01:LINEI", "D01:DATAD1"));
        const sample::BuiltIndex index = testing::BuildIndex(2, {{"AA", 2}, {"BB", 1}}, 30, 30);
        WriteShareFile("D01/DATAD1",
                       DirEntry("LINEL", 0, 1, 50, 'L', 2) +
                           DirEntry("LINEI", 0, 2, 512, 'I', index.layout.last_record));
        std::string container(2 * 512, '\0');
        PutAt(container, 512 + 50, "first line");
        PutAt(container, 512 + 100, "second line");
        container += index.bytes;
        WriteShareFile("D01/DATADB", container);
        std::string file0(402 * 512, '\0');
        PutAt(file0, 512 + 150, "STORE NAME");
        WriteShareFile("D01/FILE0", file0);
        WriteShareFile("D01/DOC7", std::string(76, 'r'));
        StartEngine();
    }
    cBusinessBasic& bb() { return *mBusinessBasic; }
    int16_t flag_ = 9;
};

TEST_F(FacadeTest, ALogicalNameIsListedOnceAndReadsTheSameRecords) {
    const std::string by_name = bb().LreadFile("LINEL", 1, flag_);
    EXPECT_EQ(flag_, 0);
    EXPECT_EQ(by_name.substr(0, 10), "first line");
    ASSERT_EQ(mLogicalFiles->Count(), 1);
    std::string name = "LINEL";
    const LogicalFileRef file = bb().LogicalOpen(name);
    EXPECT_EQ(file, mLogicalFiles->Item("LINEL"));
    EXPECT_EQ(bb().LreadFile(file, 1, flag_), by_name);
    EXPECT_EQ(bb().LreadFile("linel", 2, flag_).substr(0, 11), "second line");
    EXPECT_EQ(mLogicalFiles->Count(), 1);
}

TEST_F(FacadeTest, AnUnknownLogicalNameRaisesFileNotFoundAndListsNothing) {
    for (auto call : std::vector<std::function<void()>>{
             [&] { bb().LreadFile("NOPE", 1, flag_); },
             [&] {
                 std::string c, k;
                 int32_t r = 0;
                 bb().KFind("NOPE", c, k, r, flag_);
             },
             [&] { bb().KCount("NOPE", flag_); },
             [&] { bb().LogicalLock("NOPE", 1); },
         }) {
        ExpectError(call, -10, "LogicalOpen", "File not Found: \"NOPE\"");
    }
    EXPECT_EQ(mLogicalFiles->Count(), 0);
}

TEST_F(FacadeTest, TheControlFileIsOpenedOnceAndClosedByName) {
    EXPECT_EQ(bb().BlockReadFile("FILE0", 1, flag_).substr(150, 10), "STORE NAME");
    const OpenFileRef first = mOpenFiles->Item(1);
    bb().BlockReadFile("FILE0", 401, flag_);
    EXPECT_EQ(mOpenFiles->Count(), 1);
    EXPECT_EQ(mOpenFiles->Item(1), first);
    bb().CloseFile("FILE0");
    EXPECT_EQ(mOpenFiles->Count(), 0);
    EXPECT_FALSE(first->handle);
    bb().BlockReadFile("FILE0", 1, flag_);
    EXPECT_EQ(mOpenFiles->Count(), 1);
    EXPECT_NE(mOpenFiles->Item(1), first);
    bb().CloseFile(mOpenFiles->Item(1));
    EXPECT_EQ(mOpenFiles->Count(), 0);
    bb().CloseFile("DOC7");  // not open: opened and at once closed again
    EXPECT_EQ(mOpenFiles->Count(), 0);
}

TEST_F(FacadeTest, MissingPhysicalFiles) {
    ExpectError([&] { bb().BlockReadFile("NOFILE", 1, flag_); }, 91, "iBlockReadFile",
                "Object variable or With block variable not set");
    ExpectError([&] { bb().ReadFile("NOFILE", 4, 0, flag_); }, 91, "iReadFile",
                "Object variable or With block variable not set");
    ExpectError([&] { bb().CloseFile("NOFILE"); }, 91, "CloseFile",
                "Object variable or With block variable not set");
    ExpectError([&] { bb().WriteFile("NOFILE", "x", 0, flag_); }, -10, "iwriteFile",
                "OpenFile parameter is undefined");
    std::string path = "NOFILE";
    EXPECT_EQ(bb().OpenFile(path), nullptr);
    EXPECT_EQ(path, "\\\\DS1\\TMARLNK\\D01\\NOFILE");
}

TEST_F(FacadeTest, IndexMembersByName) {
    std::string cursor(544, ' ');
    std::string key = "AA";
    int32_t record = 0;
    bb().KFind("LINEI", cursor, key, record, flag_);
    EXPECT_EQ(record, 2);
    bb().KNext("LINEI", cursor, key, record, flag_);
    EXPECT_EQ(key, "BB");
    EXPECT_EQ(record, 1);
    bb().KPrev("LINEI", cursor, key, record, flag_);
    EXPECT_EQ(key, "AA");
    bb().KLast("LINEI", cursor, key, record, flag_);
    EXPECT_EQ(key, "BB");
    EXPECT_EQ(bb().KCount("LINEI", flag_), 2);
    EXPECT_EQ(bb().KLength("LINEI", flag_), 2);
}

TEST_F(FacadeTest, PlainRecordFilesByName) {
    const LogicalFileRef file = bb().PhysLogicalOpen("DOC7", "L", 38, 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->LastRecord, 1);
    EXPECT_EQ(bb().LreadFile(file, 1, flag_), std::string(38, 'r'));
    bb().CloseFile("DOC7");
    ExpectError([&] { bb().LreadFile(file, 1, flag_); }, 52, "iReadFile",
                "Bad file name or number");
}

TEST_F(FacadeTest, WriteMembersRefuseTheDealersFiles) {
    EXPECT_FALSE(cBusinessBasic::WritesAllowed());
    const std::string before = testing::ReadFileBytes(SharePath("D01/DATADB"));
    EXPECT_THROW(bb().LwriteFile("LINEL", 1, std::string(50, 'x'), flag_), BasicError);
    EXPECT_THROW(bb().InitFile("LINEI", 2, 0, 0, flag_), BasicError);
    EXPECT_THROW(bb().DelRec("LINEL", 1, flag_), BasicError);
    EXPECT_THROW(bb().BlockWriteFile("FILE0", 1, "x", flag_), BasicError);
    EXPECT_EQ(testing::ReadFileBytes(SharePath("D01/DATADB")), before);
    try {
        bb().WriteFile("FILE0", "x", 0, flag_);
        ADD_FAILURE();
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), 75);
    }
    cBusinessBasic::AllowWrites(true);
    bb().LwriteFile("LINEL", 1, std::string(50, 'x'), flag_);
    EXPECT_EQ(bb().LreadFile("LINEL", 1, flag_), std::string(50, 'x'));
}

TEST_F(FacadeTest, HelpersPassThrough) {
    std::string data(4, '\0');
    bb().Pack("L", data, -2, 1);
    EXPECT_EQ(bb().Unpack("L", data, 1), -2);
    EXPECT_EQ(bb().Trun("AB \r", 1), "AB");
    EXPECT_EQ(bb().Split("a  b", " ", -1, 0).size(), 2u);
    EXPECT_EQ(bb().Min(3, -4), -4);
    EXPECT_EQ(bb().Sys(4), 12);
    EXPECT_EQ(bb().ReleaseLock(3), 0);
    EXPECT_EQ(bb().PhysicalLock(1, 2, 3), 0);
    int32_t record = 0;
    ExpectError([&] { bb().GetRec("LINEL", record, flag_); }, 57, "iGetRec",
                "Could not obtain a Lock on Record Zero of LINEL");
}

}  // namespace
}  // namespace dv
