#include "engine/logical.h"

#include <gtest/gtest.h>

#include "engine/business_basic.h"
#include "engine/physical.h"
#include "platform/file_calls.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::Be;
using testing::DirEntry;
using testing::ExpectError;
using testing::LinkEntry;
using testing::PutAt;

// A directory entry whose last record reads -1: the writer refuses to make one, so the field
// is written over by hand (bytes 17-20 of the entry).
std::string NegativeLastRecord(std::string_view name) {
    std::string entry = DirEntry(name, 0, 3, 100, 'L', 0);
    PutAt(entry, 16, Be(4, -1));
    return entry;
}

// Record n of PARTL: 100 bytes, status word 1, then "REC" and the number.
std::string PartRecord(int n) {
    std::string r(100, '\0');
    PutAt(r, 0, Be(2, 1));
    PutAt(r, 2, "REC" + std::to_string(n));
    return r;
}

class LogicalTest : public testing::EngineFixture {
  protected:
    void SetUp() override {
        WriteMinimalDataSet();
        WriteShareFile(
            "LINKSFILE",
            LinkEntry(":D01:PARTL", "D01:DATAD1") + LinkEntry(":D01:ORDRL", "D01:DATAD1") +
                LinkEntry(":D01:COLON", ":D01:DATAD1") + LinkEntry(":D01:MISSC", "D01:NOCOND1") +
                LinkEntry(":D01:NODIR", "D01:ABSENT1") + LinkEntry(":D01:GHOST", "D01:DATAD1") +
                LinkEntry(":D01:ZEROL", "D01:DATAD1") + LinkEntry(":D01:NEGL", "D01:DATAD1") +
                LinkEntry(":D01:FARL", "D01:DATAD1") + LinkEntry(":D01:CUTL", "D01:DATAD1"));
        // The first PARTL entry carries a flags word that takes part in the name: skipped.
        WriteShareFile(
            "D01/DATAD1",
            DirEntry("PARTL", 0x0101, 9, 50, 'L', 1) + DirEntry("PARTL", 0x2000, 3, 100, 'L', 5) +
                DirEntry("ORDRL", 0, 8, 64, 'I', 3) + DirEntry("COLON", 0, 3, 100, 'L', 5) +
                DirEntry("ZEROL", 0, 3, 0, 'L', 5) + NegativeLastRecord("NEGL") +
                DirEntry("FARL", 0, 12, 100, 'L', 5) + DirEntry("CUTL", 0, 10, 100, 'L', 30));
        std::string container(12 * 512, '\0');
        std::string zero(16, '\0');
        PutAt(zero, 0, Be(2, -2));
        PutAt(zero, 2, Be(4, -1));
        PutAt(zero, 6, Be(4, 4));   // highest used
        PutAt(zero, 10, Be(4, 3));  // active
        PutAt(container, 3 * 512, zero);
        for (int n = 1; n <= 6; ++n) PutAt(container, 3 * 512 + n * 100, PartRecord(n));
        WriteShareFile("D01/DATADB", container);
        WriteShareFile("D01/NOCOND1", DirEntry("MISSC", 0, 0, 10, 'L', 2));
        WriteShareFile("D01/DOC123", std::string(380, 'd'));
        StartEngine();
    }
};

TEST_F(LogicalTest, ABareNameResolvesThroughTheLinkAndTheDirectory) {
    const auto file = iLogicalOpen("PARTL");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->FileName, "PARTL");
    EXPECT_EQ(file->FileType, "L");
    EXPECT_EQ(file->Position, 3);
    EXPECT_EQ(file->RecordLength, 100);
    EXPECT_EQ(file->LastRecord, 5);
    EXPECT_EQ(file->Flags, 0x2000);
    ASSERT_TRUE(file->OpenFile);
    EXPECT_EQ(file->OpenFile->Path, "\\\\DS1\\TMARLNK\\D01\\DATADB");
    EXPECT_EQ(iLogicalOpen("partl"), file);  // listed: any letter case finds it
    EXPECT_EQ(mLogicalFiles->Count(), 1);
}

TEST_F(LogicalTest, TheFullNameIsListedApartAndSharesTheContainer) {
    const auto bare = iLogicalOpen("PARTL");
    const auto full = iLogicalOpen(":D01:PARTL");
    ASSERT_TRUE(full);
    EXPECT_NE(full, bare);
    EXPECT_EQ(full->FileName, ":D01:PARTL");
    EXPECT_EQ(full->OpenFile, bare->OpenFile);
    EXPECT_EQ(mOpenFiles->Count(), 1);
    // A target that starts with a colon: two backslashes after TMARLNK, used as they stand.
    const auto colon = iLogicalOpen("COLON");
    ASSERT_TRUE(colon);
    EXPECT_EQ(colon->OpenFile->Path, "\\\\DS1\\TMARLNK\\\\D01\\DATADB");
}

TEST_F(LogicalTest, NamesThatCanNotBeResolvedGiveNone) {
    EXPECT_EQ(iLogicalOpen(""), nullptr);
    EXPECT_EQ(iLogicalOpen("NOLINK"), nullptr);
    EXPECT_EQ(iLogicalOpen("NODIR"), nullptr);  // directory file missing
    EXPECT_EQ(iLogicalOpen("GHOST"), nullptr);  // not in the directory file
    EXPECT_EQ(mLogicalFiles->Count(), 0);
    // A container that does not exist still gives a listed file, without OpenFile.
    const auto missing = iLogicalOpen("MISSC");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->OpenFile, nullptr);
    ExpectError([&] { iLreadFile(missing, 1); }, 91, "iReadFile",
                "Object variable or With block variable not set");
    EXPECT_EQ(missing->ActiveCount(), 0);
}

TEST_F(LogicalTest, ADirectoryFileIsReadOnceUntilItsScansAreDropped) {
    ASSERT_TRUE(iLogicalOpen("PARTL"));
    // Another name of the same directory file, and a name it lacks, asked twice: no file call.
    const platform::FileCalls before = platform::FileCallCounts();
    EXPECT_TRUE(iLogicalOpen("ORDRL"));
    EXPECT_EQ(iLogicalOpen("GHOST"), nullptr);
    EXPECT_EQ(iLogicalOpen("GHOST"), nullptr);
    EXPECT_EQ((platform::FileCallCounts() - before).Calls(), 0u);
    // An entry the dealer system adds is found once the scans are dropped (Refresh does); an
    // all-zero entry before it is an entry like any other, not the directory's end.
    WriteShareFile("D01/DATAD1", testing::ReadFileBytes(SharePath("D01/DATAD1")) +
                                     std::string(kDirectoryEntrySize, '\0') +
                                     DirEntry("GHOST", 0, 3, 100, 'L', 5));
    EXPECT_EQ(iLogicalOpen("GHOST"), nullptr);
    DropDirectoryScans();
    EXPECT_TRUE(iLogicalOpen("GHOST"));
}

TEST_F(LogicalTest, RecordsAreReadByNumberInsideTheirBounds) {
    const auto file = iLogicalOpen("PARTL");
    EXPECT_EQ(iLreadFile(file, 1), PartRecord(1));
    EXPECT_EQ(iLreadFile(file, 2), PartRecord(2));  // at byte 2 * 100 + 3 * 512 = 1736
    EXPECT_EQ(iLreadFile(file, 5), PartRecord(5));
    ExpectError([&] { iLreadFile(file, 0); }, 81, "iLreadFile",
                "Illegal Record Number for File: PARTL and Record:  0");
    ExpectError([&] { iLreadFile(file, 6); }, 81, "iLreadFile",
                "Illegal Record Number for File: PARTL and Record:  6");
    ExpectError([&] { iLreadFile(file, -3); }, 81, "iLreadFile",
                "Illegal Record Number for File: PARTL and Record: -3");
    ExpectError([&] { iLreadFile(nullptr, 1); }, -10, "iLreadFile",
                "LogicalFile parameter is undefined");
    cLogicalFile far = *file;
    far.LastRecord = 0x7FFFFFFF;
    ExpectError([&] { iLreadFile(std::make_shared<cLogicalFile>(far), 30000000); }, 6, "iLreadFile",
                "Overflow");
}

TEST_F(LogicalTest, RecordZeroCounts) {
    const auto file = iLogicalOpen("PARTL");
    EXPECT_EQ(file->HighUsedRecord(), 4);
    EXPECT_EQ(file->ActiveCount(), 3);
    const auto index = iLogicalOpen("ORDRL");  // type I: nothing is read
    ResetEngineReadStats();
    EXPECT_EQ(index->ActiveCount(), 0);
    EXPECT_EQ(index->HighUsedRecord(), 0);
    EXPECT_EQ(EngineReadStats().reads, 0u);
}

TEST_F(LogicalTest, PlainFileOfRecords) {
    std::string path = "DOC123";
    int32_t last = 0;
    const auto file = iPhysLogicalOpen(path, "L", 38, last);
    ASSERT_TRUE(file);
    EXPECT_EQ(path, "\\\\DS1\\TMARLNK\\D01\\DOC123");
    EXPECT_EQ(last, 9);
    EXPECT_EQ(file->FileName, path);
    EXPECT_EQ(file->LastRecord, 9);
    EXPECT_EQ(file->Position, 0);
    EXPECT_EQ(iLreadFile(file, 9), std::string(38, 'd'));
    EXPECT_THROW(iLreadFile(file, 10), BasicError);
    // Unkeyed: a second open adds a second entry.
    std::string again = "DOC123";
    int32_t given = 4;
    const auto second = iPhysLogicalOpen(again, "L", 38, given);
    EXPECT_NE(second, file);
    EXPECT_EQ(second->LastRecord, 4);
    EXPECT_EQ(mLogicalFiles->Count(), 2);
    // The file stays open; one that has grown since is measured again.
    WriteShareFile("D01/DOC123", std::string(38 * 12, 'd'));
    std::string grown = "DOC123";
    int32_t grown_last = 0;
    EXPECT_EQ(iPhysLogicalOpen(grown, "L", 38, grown_last)->LastRecord, 11);
    EXPECT_EQ(mLogicalFiles->Count(), 3);
    std::string none = "NODOC";
    EXPECT_EQ(iPhysLogicalOpen(none, "L", 38, last), nullptr);
    std::string zero = "DOC123";
    int32_t zero_last = 0;
    ExpectError([&] { iPhysLogicalOpen(zero, "L", 0, zero_last); }, 11, "iPhysLogicalOpen",
                "Division by zero");
    EXPECT_EQ(mLogicalFiles->Count(), 3);
}

TEST_F(LogicalTest, WriteSideChecksComeBeforeAnyWrite) {
    const auto file = iLogicalOpen("PARTL");
    ExpectError([&] { iLwriteFile(file, 1, std::string(99, 'x')); }, 36, "iLwriteFile",
                "Illegal Data length for this record.  Size is:  99 and should be  100");
    ExpectError([&] { iLwriteFile(file, 6, std::string(100, 'x')); }, 81, "iLwriteFile",
                "Illegal Record Number for File: PARTL and Record:  6");
    ExpectError([&] { iLwriteFile(nullptr, 1, ""); }, -10, "iLwriteFile",
                "LogicalFile parameter is undefined");
    ExpectError([&] { iInitFile(nullptr, 10, 0, 0); }, -10, "iLwriteFile",
                "LogicalFile parameter is undefined");
    // Writing is off: the dealer's file is refused and left unchanged.
    EXPECT_THROW(iLwriteFile(file, 1, std::string(100, 'x')), BasicError);
    EXPECT_THROW(iDelRec(file, 1), BasicError);
    EXPECT_EQ(iLreadFile(file, 1), PartRecord(1));
    ExpectError(
        [&] {
            int32_t r = 0;
            iGetRec(file, r);
        },
        57, "iGetRec", "Could not obtain a Lock on Record Zero of PARTL");
    EXPECT_EQ(iLogicalLock(file, 2), 0);
    EXPECT_EQ(iPhysicalLock(1, 2, 3), 0);
    EXPECT_EQ(iReleaseLock(7), 0);
}

TEST_F(LogicalTest, DelRecChainsTheRecordIntoTheFreeList) {
    SetWritesAllowed(true);
    const auto file = iLogicalOpen("PARTL");
    iDelRec(file, 2);
    std::string deleted(100, '\0');
    PutAt(deleted, 2, Be(4, -1));  // the old chain head
    EXPECT_EQ(iLreadFile(file, 2), deleted);
    const std::string container = testing::ReadFileBytes(SharePath("D01/DATADB"));
    EXPECT_EQ(container.substr(3 * 512, 16),
              Be(2, -2) + Be(4, 2) + Be(4, 4) + Be(4, 2) + std::string(2, '\0'));
    ExpectError([&] { iDelRec(file, 2); }, 81, "DelRec", "Attempt to delete a deleted record");
    iDelRec(file, 3);
    iDelRec(file, 4);
    iDelRec(file, 5);  // the active count stops at 0
    EXPECT_EQ(file->ActiveCount(), 0);
    EXPECT_EQ(iLreadFile(file, 5).substr(2, 4), Be(4, 4));
    EXPECT_EQ(file->HighUsedRecord(), 4);
}

TEST_F(LogicalTest, InitFileLaysOutAnEmptyIndex) {
    SetWritesAllowed(true);
    const auto file = iLogicalOpen("ORDRL");  // type I at block 8, last record 3
    iInitFile(file, 10, 7, 250);
    const std::string container = testing::ReadFileBytes(SharePath("D01/DATADB"));
    std::string header(512, '\0');
    const unsigned char h[] = {0, 14, 0, 36, 0, 3, 0, 2, 0, 1, 0, 72, 0, 7};
    for (size_t k = 0; k < sizeof h; ++k) header[k] = static_cast<char>(h[k]);
    EXPECT_EQ(container.substr(8 * 512, 512), header);
    EXPECT_EQ(container.substr(9 * 512, 512), std::string("\0\x01", 2) + std::string(510, '\xFF'));
}

TEST_F(LogicalTest, InitFileLaysOutAnEmptyRecordFile) {
    SetWritesAllowed(true);
    const auto file = iLogicalOpen("PARTL");
    iInitFile(file, 0, 0, 0);
    const std::string container = testing::ReadFileBytes(SharePath("D01/DATADB"));
    EXPECT_EQ(container.substr(3 * 512, 6), Be(2, -2) + Be(4, -1));
    EXPECT_EQ(container.substr(3 * 512 + 6, 94), std::string(94, '\0'));
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(iLreadFile(file, n), std::string(100, '\0')) << n;
    EXPECT_EQ(container.substr(3 * 512 + 600, 100), PartRecord(6));  // past LastRecord
}

TEST_F(LogicalTest, EntriesOutsideTheirDomainAreDamageNotEmptyFiles) {
    // Each gives no logical file, and the facade raises why in place of File not Found.
    const struct {
        const char* name;
        std::string what;
    } cases[] = {
        {"ZEROL", "has record length 0"},
        {"FARL", "starts at block 12, past the end of its container (6144 bytes)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(iLogicalOpen(c.name));
        const BasicError e = LogicalOpenError(c.name);
        EXPECT_EQ(e.number(), err::kDirectoryEntry);
        EXPECT_EQ(e.description(),
                  "Damaged directory file \\\\DS1\\TMARLNK\\D01\\DATAD1: the entry of " +
                      std::string(c.name) + " " + c.what);
    }
}

// A last record below 0, as 0, says the file holds no record: every read is 81.
TEST_F(LogicalTest, ALastRecordBelowZeroIsAFileOfNoRecords) {
    const auto file = iLogicalOpen("NEGL");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->LastRecord, -1);
    for (const int32_t n : {0, 1})
        ExpectError([&] { iLreadFile(file, n); }, err::kRecordNumber, "iLreadFile",
                    "Illegal Record Number for File: NEGL and Record: " + NumText(n));
}

TEST_F(LogicalTest, ARecordPastTheContainersEndIsAnErrorNotZeros) {
    // CUTL claims records 1 to 30 from block 10; the container ends at byte 6144, in record 2.
    const auto file = iLogicalOpen("CUTL");
    ASSERT_TRUE(file);
    EXPECT_EQ(iLreadFile(file, 1).size(), 100u);  // bytes 5220-5319
    ExpectError(
        [&] { iLreadFile(file, 20); }, err::kShortFile, "iReadFile",
        "File \\\\DS1\\TMARLNK\\D01\\DATADB ends at byte 6144: it holds no bytes 7120 to 7219");
    // A read that runs over the end fails as a whole: no record of part bytes and part zeros.
    ExpectError(
        [&] { iLreadFile(file, 10); }, err::kShortFile, "iReadFile",
        "File \\\\DS1\\TMARLNK\\D01\\DATADB ends at byte 6144: it holds no bytes 6120 to 6219");
}

TEST(DirectoryEntryTest, DecodesTheFieldsFromTheirPositions) {
    std::string e(32, '\0');
    e.replace(0, 5, "LINEL");
    e[6] = 0x12;
    e[7] = 0x34;  // flags
    e[10] = 0x01;
    e[11] = 0x00;
    e[12] = 0x02;  // position 65538
    e[13] = 0x01;
    e[14] = 0x2C;  // record length 300
    e[15] = 'L';
    e[16] = 0x00;
    e[17] = 0x00;
    e[18] = 0x01;
    e[19] = 0x00;  // last record 256
    const DirectoryEntry d = DecodeDirectoryEntry(e);
    EXPECT_EQ(d.name, std::string("LINEL\0\x12\x34", 8));
    EXPECT_EQ(d.flags, 0x1234);
    EXPECT_EQ(d.position, 65538);
    EXPECT_EQ(d.record_length, 300);
    EXPECT_EQ(d.file_type, "L");
    EXPECT_EQ(d.last_record, 256);
}

}  // namespace
}  // namespace dv
