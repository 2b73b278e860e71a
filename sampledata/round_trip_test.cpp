// What the writer writes, the engine reads back: records by number, control-file blocks by
// number, every key of an index in both directions across leaf and level boundaries; and each
// kind of damage ends the engine's call with an error or the documented record 0.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/business_basic.h"
#include "engine/error.h"
#include "engine/startup.h"
#include "engine/system.h"
#include "engine/tables.h"
#include "platform/messages.h"
#include "platform/test_support.h"
#include "sampledata/damage.h"
#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"
#include "sampledata/this_computer.h"
#include "test_support/sample_share.h"

namespace dv::sample {
namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

constexpr int kItems = 30;
constexpr int kDeleted = 17;

std::string ItemKey(int i) {
    std::string k(4, '\0');
    PutBE(k, 1, 4, static_cast<int64_t>(i) * 7);
    return k;
}

// A key of 14 bytes whose first byte runs over the whole unsigned range below 0xF0.
std::string WideKey(int i) {
    std::string k = RecordBuilder(14).Bin(1, 'B', (i * 37) % 0xF0).Bin(2, 'L', i).str();
    k.replace(6, 8, "PART" + std::to_string(1000 + i % 9000).substr(0, 4));
    return k;
}

// The writer of the set every test here starts from.
struct Fixture {
    DataSetWriter set;
    Fixture() {
        RecordFileWriter& items = set.AddRecordFile("ITEML", 40);
        IndexWriter& by_key = set.AddIndex("ITEMI", 4);
        for (int i = 1; i <= kItems; ++i) {
            if (i == kDeleted) {
                items.AddDeleted();
                continue;
            }
            RecordBuilder r = items.NewRecord();
            r.Bin(1, 'J', 1).Raw(3, ItemKey(i)).Text(7, "ITEM " + std::to_string(i), 20);
            items.Add(r);
            if (i <= 21 && i != kDeleted) by_key.Add(ItemKey(i), i);  // 20 keys
        }
        items.Spare(2);
        by_key.Fill(3);  // seven leaves, three levels

        IndexWriter& wide = set.AddIndex("WIDEI", 14);
        for (int i = 0; i < 2000; ++i) wide.Add(WideKey(i), i + 1);  // full nodes of 28

        set.AddIndex("NONEI", 10);

        RecordFileWriter& vendors = set.AddRecordFile("VENDL", 300, "PARTD1");
        for (int i = 1; i <= 5; ++i)
            vendors.Add(
                vendors.NewRecord().Bin(1, 'J', 1).Text(3, "VENDOR " + std::to_string(i), 30));

        std::vector<std::string> plain;
        for (int i = 0; i < 10; ++i) plain.push_back(std::string(38, static_cast<char>('A' + i)));
        set.AddPlainFile("RT000123", PlainRecords(38, plain));
        set.SetOption(320, true);
    }
};

class RoundTrip : public ::testing::Test {
  protected:
    static void Reset() { ResetEngineState(); }

    void Start(const DataSetImage& image) { ASSERT_TRUE(share_.Start(image)); }
    cBusinessBasic& bb() { return *mBusinessBasic; }
    const std::vector<platform::Message>& messages() const { return share_.messages(); }

    Fixture fixture_;
    int16_t flag_ = 1;

  private:
    SampleShare share_;
};

TEST_F(RoundTrip, EngineStartsOnTheSetWithThisComputersTerminal) {
    Start(fixture_.set.Build());
    ASSERT_NE(mSystem, nullptr);
    EXPECT_EQ(mSystem->TMARLNK(), "\\\\DS1\\TMARLNK\\D01");
    EXPECT_EQ(mSystem->ComputerName, ThisComputer().name);
    EXPECT_EQ(mSystem->TerminalID, "7");
    EXPECT_TRUE(messages().empty());
}

TEST_F(RoundTrip, RecordsByNumberAndRecordZero) {
    Start(fixture_.set.Build());
    RecordFileWriter& items = fixture_.set.Records("ITEML");
    for (int n : {1, 2, 16, 18, kItems})
        EXPECT_EQ(bb().LreadFile("ITEML", n, flag_), items.Get(n)) << n;
    EXPECT_EQ(flag_, 0);
    EXPECT_EQ(bb().LreadFile("ITEML", kDeleted, flag_),
              std::string(2, '\0') + "\xFF\xFF\xFF\xFF" + std::string(34, '\0'));
    EXPECT_EQ(bb().LreadFile("ITEML", kItems + 2, flag_), std::string(40, '\0'));  // spare
    for (int n : {0, kItems + 3}) {
        try {
            bb().LreadFile("ITEML", n, flag_);
            ADD_FAILURE() << "record " << n << " was read";
        } catch (const BasicError& e) {
            EXPECT_EQ(e.number(), err::kRecordNumber);
        }
    }
    const LogicalFileRef file = bb().LogicalOpen("ITEML");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->LastRecord, kItems + 2);
    EXPECT_EQ(file->HighUsedRecord(), kItems);
    EXPECT_EQ(file->ActiveCount(), kItems - 1);

    // A second directory file and its own container.
    EXPECT_EQ(bb().LreadFile("VENDL", 5, flag_), fixture_.set.Records("VENDL").Get(5));
    // A plain file of fixed-length records: record 0 is its first record.
    std::string path = "RT000123";
    int32_t last = 0;
    const LogicalFileRef plain = bb().PhysLogicalOpen(path, "L", 38, last);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(last, 9);
    EXPECT_EQ(bb().LreadFile(plain, 9, flag_), std::string(38, 'J'));
}

TEST_F(RoundTrip, ControlFileBlocksByNumber) {
    Start(fixture_.set.Build());
    const std::string block1 = bb().BlockReadFile("FILE0", 1, flag_);
    EXPECT_EQ(block1.substr(150, 35), "NORTHFIELD EQUIPMENT & SERVICE     ");
    const std::string block4 = bb().BlockReadFile("FILE0", 4, flag_);
    EXPECT_EQ(block4.substr(432, 8) + block4.substr(452, 8) + block4.substr(472, 8) +
                  block4.substr(492, 8),
              "HOURS   ENGINE  COLOR   KEY NO  ");
    const std::string options = bb().BlockReadFile("FILE0", 401, flag_);
    EXPECT_EQ(options[316], 'N');
    EXPECT_EQ(options[319], 'Y');
    EXPECT_EQ(bb().BlockReadFile("FILE0", 571, flag_), std::string(512, '\0'));
    bb().CloseFile("FILE0");
}

// Walks an index every way the engine offers and compares with the writer's key order.
void WalkEverything(cBusinessBasic& bb, const std::string& name, const Entries& expected,
                    int32_t key_length) {
    int16_t flag = 0;
    EXPECT_EQ(bb.KLength(name, flag), key_length);
    EXPECT_EQ(bb.KCount(name, flag), static_cast<int32_t>(expected.size()));
    const std::string end_key(static_cast<size_t>(key_length), '\xFF');

    // Forward from the first key.
    std::string cursor(kCursorSize, '\0');
    std::string key;
    int32_t record = 0;
    bb.KFind(name, cursor, key, record, flag);
    Entries walked;
    if (record != 0) walked.emplace_back(key, record < 0 ? -record : record);
    for (size_t steps = 0; record != 0 && steps <= expected.size() + 1; ++steps) {
        bb.KNext(name, cursor, key, record, flag);
        if (record != 0) walked.emplace_back(key, record);
    }
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(record, 0);
    EXPECT_EQ(key, end_key);  // the end marker
    bb.KNext(name, cursor, key, record, flag);
    EXPECT_EQ(record, 0);

    // Backward from the last key.
    if (!expected.empty()) {
        std::string back_cursor(kCursorSize, '\0');
        bb.KLast(name, back_cursor, key, record, flag);
        Entries backward;
        for (size_t steps = 0; record != 0 && steps <= expected.size(); ++steps) {
            backward.emplace_back(key, record);
            bb.KPrev(name, back_cursor, key, record, flag);
        }
        EXPECT_EQ(record, 0);
        EXPECT_EQ(backward, Entries(expected.rbegin(), expected.rend()));
    }

    // Every key exactly; the gap after each key finds the next one; past the last key, 0.
    for (size_t i = 0; i < expected.size(); ++i) {
        std::string exact = expected[i].first;
        bb.KFind(name, cursor, exact, record, flag);
        EXPECT_EQ(record, expected[i].second) << name << " key " << i;
        EXPECT_EQ(exact, expected[i].first);

        std::string gap = expected[i].first;
        if (gap.back() == '\xFF') continue;
        gap.back() = static_cast<char>(static_cast<unsigned char>(gap.back()) + 1);
        if (i + 1 < expected.size() && gap != expected[i + 1].first) {
            bb.KFind(name, cursor, gap, record, flag);
            EXPECT_EQ(record, -expected[i + 1].second) << name << " after key " << i;
            EXPECT_EQ(gap, expected[i + 1].first);
        }
    }
    std::string above(static_cast<size_t>(key_length), '\xFF');
    above.back() = '\xFE';
    bb.KFind(name, cursor, above, record, flag);
    EXPECT_EQ(record, 0);
}

TEST_F(RoundTrip, ThreeLevelIndexOfTwentyKeys) {
    Start(fixture_.set.Build());
    const Entries expected = fixture_.set.Index("ITEMI").Sorted();
    ASSERT_EQ(expected.size(), 20u);
    WalkEverything(bb(), "ITEMI", expected, 4);
}

TEST_F(RoundTrip, FullNodesAndUnsignedKeyOrder) {
    Start(fixture_.set.Build());
    const Entries expected = fixture_.set.Index("WIDEI").Sorted();
    ASSERT_GT(static_cast<unsigned char>(expected.back().first[0]), 0x80);
    WalkEverything(bb(), "WIDEI", expected, 14);
}

TEST_F(RoundTrip, IndexOfOnlyTheEndMarker) {
    Start(fixture_.set.Build());
    WalkEverything(bb(), "NONEI", {}, 10);
}

TEST_F(RoundTrip, DemoSetOpensAndEveryFileWalks) {
    const DataSetImage image = BuildDemoSet(Scale::kTiny);
    Start(image);
    EXPECT_EQ(bb().BlockReadFile("FILE0", 1, flag_).substr(150, 35),
              "NORTHFIELD EQUIPMENT & SERVICE     ");
    for (const LogicalPlacement& p : image.logical) {
        SCOPED_TRACE(p.name);
        if (p.file_type == 'L') {
            for (int32_t n = 1; n <= p.last_record; ++n)
                EXPECT_EQ(static_cast<int32_t>(bb().LreadFile(p.name, n, flag_).size()),
                          p.record_length);
        } else {
            std::string cursor(kCursorSize, '\0');
            std::string key;
            int32_t record = 0;
            int32_t keys = 0;
            bb().KFind(p.name, cursor, key, record, flag_);
            while (record != 0 && keys <= 10 * p.last_record * 512) {
                ++keys;
                bb().KNext(p.name, cursor, key, record, flag_);
            }
            EXPECT_EQ(keys, bb().KCount(p.name, flag_));
        }
    }
}

// ---- Damage

// The outcome of one call on a damaged set: the error it raised, or the record it gave.
struct Outcome {
    bool raised = false;
    int32_t number = 0;
    int32_t record = 0;
};

Outcome RunCall(const std::function<int32_t()>& call) {
    Outcome o;
    try {
        o.record = call();
    } catch (const BasicError& e) {
        o.raised = true;
        o.number = e.number();
    }
    return o;
}

struct DamageCase {
    const char* name;
    std::function<void(DataSetImage&)> damage;
    // The engine call; returns the record it ends on.
    std::function<int32_t(cBusinessBasic&)> call;
    // The error expected; 0: any error, or record 0 without one.
    int32_t error;
};

void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.name;
}

// A walk from the first key, bounded by the test: the engine must end it by itself.
int32_t WalkAll(cBusinessBasic& bb, const std::string& name) {
    int16_t flag = 0;
    std::string cursor(kCursorSize, '\0');
    std::string key;
    int32_t record = 0;
    bb.KFind(name, cursor, key, record, flag);
    for (int steps = 0; record != 0; ++steps) {
        if (steps > 10000) {
            ADD_FAILURE() << "the walk of " << name << " did not end";
            return -1;
        }
        bb.KNext(name, cursor, key, record, flag);
    }
    return 0;
}

int32_t FindKey(cBusinessBasic& bb, const std::string& name, std::string key) {
    int16_t flag = 0;
    std::string cursor(kCursorSize, '\0');
    int32_t record = 0;
    bb.KFind(name, cursor, key, record, flag);
    return record;
}

// Reads record n and returns its number: a read that succeeds is no end of the call.
int32_t ReadRecord(cBusinessBasic& bb, const std::string& name, int32_t n) {
    int16_t flag = 0;
    bb.LreadFile(name, n, flag);
    return n;
}

class Damaged : public RoundTrip, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(Damaged, EndsWithAnErrorOrRecordZero) {
    DataSetImage image = fixture_.set.Build();
    GetParam().damage(image);
    Start(image);
    const Outcome o = RunCall([&] { return GetParam().call(bb()); });
    if (GetParam().error != 0) {
        EXPECT_TRUE(o.raised) << "no error; record " << o.record;
        EXPECT_EQ(o.number, GetParam().error);
    } else {
        EXPECT_TRUE(o.raised || o.record == 0) << "record " << o.record;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Damaged,
    ::testing::Values(
        DamageCase{"LeafChainLoopsAtTheEnd",
                   [](DataSetImage& i) { damage::LoopLeafChain(i, "ITEMI"); },
                   [](cBusinessBasic& bb) {
                       int16_t f = 0;
                       return bb.KCount("ITEMI", f);
                   },
                   err::kIndexCycle},
        DamageCase{"LeafChainLoopsInTheMiddle",
                   [](DataSetImage& i) { damage::LoopLeafChain(i, "ITEMI", 2, 1); },
                   [](cBusinessBasic& bb) { return WalkAll(bb, "ITEMI"); }, err::kIndexCycle},
        DamageCase{"EntryCountPastTheNode",
                   [](DataSetImage& i) { damage::SetEntryCount(i, "ITEMI"); },
                   [](cBusinessBasic& bb) { return WalkAll(bb, "ITEMI"); }, err::kIndexEntries},
        DamageCase{"RootAboveLastRecord", [](DataSetImage& i) { damage::SetRoot(i, "ITEMI"); },
                   [](cBusinessBasic& bb) { return FindKey(bb, "ITEMI", ItemKey(5)); }, 0},
        DamageCase{"ChildAboveLastRecord", [](DataSetImage& i) { damage::SetChild(i, "ITEMI", 1); },
                   [](cBusinessBasic& bb) { return FindKey(bb, "ITEMI", ItemKey(1)); }, 0},
        DamageCase{
            "RecordPointerPastLastRecord",
            [](DataSetImage& i) { damage::RecordPointerPastLastRecord(i, "ITEMI", "ITEML", 0); },
            [](cBusinessBasic& bb) {
                return ReadRecord(bb, "ITEML", FindKey(bb, "ITEMI", ItemKey(1)));
            },
            err::kRecordNumber},
        DamageCase{"TruncatedIndex",
                   [](DataSetImage& i) { damage::TruncateLogical(i, "ITEMI", 3 * 512 + 100); },
                   [](cBusinessBasic& bb) { return WalkAll(bb, "ITEMI"); }, 0},
        DamageCase{"LinkedButNoDirectoryEntry",
                   [](DataSetImage& i) { damage::RemoveDirectoryEntry(i, "ITEML"); },
                   [](cBusinessBasic& bb) { return ReadRecord(bb, "ITEML", 1); }, err::kFile},
        DamageCase{"LinkedButNoDirectoryFile",
                   [](DataSetImage& i) { damage::RemoveDirectoryFile(i, "VENDL"); },
                   [](cBusinessBasic& bb) { return ReadRecord(bb, "VENDL", 1); }, err::kFile},
        DamageCase{"LinkedButNoContainer",
                   [](DataSetImage& i) { damage::RemoveContainer(i, "VENDL"); },
                   [](cBusinessBasic& bb) { return ReadRecord(bb, "VENDL", 1); }, err::kNoObject}),
    [](const ::testing::TestParamInfo<DamageCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(RoundTrip, RootAboveLastRecordShowsTheRangeMessage) {
    DataSetImage image = fixture_.set.Build();
    damage::SetRoot(image, "ITEMI");
    Start(image);
    std::string cursor(kCursorSize, '\0');
    std::string key = ItemKey(5);
    int32_t record = -1;
    bb().KFind("ITEMI", cursor, key, record, flag_);
    EXPECT_EQ(record, 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "Index is returning information out of Range.  File: ITEMI LastRec:  11");
}

TEST_F(RoundTrip, ShortRecordsReadAtTheirShorterLength) {
    DataSetImage image = fixture_.set.Build();
    damage::ShortenRecords(image, "ITEML", 6);
    Start(image);
    EXPECT_EQ(bb().LreadFile("ITEML", 30, flag_),
              fixture_.set.Records("ITEML").Get(30).substr(0, 6));
}

TEST_F(RoundTrip, ATruncatedControlFileIsAnErrorPastItsEnd) {
    // A block the cut file holds only in part reads as an error, never as zeros after its
    // bytes; the blocks before the cut read as written.
    DataSetImage image = fixture_.set.Build();
    damage::Truncate(image, image.DataPath("FILE0"), 401 * 512 + 10);
    Start(image);
    EXPECT_EQ(bb().BlockReadFile("FILE0", 400, flag_).size(), 512u);
    try {
        bb().BlockReadFile("FILE0", 401, flag_);
        ADD_FAILURE() << "no error raised";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), err::kShortFile);
    }
}

TEST_F(RoundTrip, ShortLinkTableKeepsItsWholeEntries) {
    DataSetImage image = fixture_.set.Build();
    damage::Truncate(image, image.LinkShare() + "/LINKSFILE", 170);
    Start(image);
    EXPECT_EQ(bb().LreadFile("ITEML", 1, flag_), fixture_.set.Records("ITEML").Get(1));
    try {
        bb().LreadFile("VENDL", 1, flag_);
        ADD_FAILURE() << "VENDL was found";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), err::kFile);
        EXPECT_EQ(e.description(), "File not Found: \"VENDL\"");
    }
}

}  // namespace
}  // namespace dv::sample
