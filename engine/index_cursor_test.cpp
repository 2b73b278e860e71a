// The index cursor over indexes laid out by the sample writer: seeks, steps both ways, walks
// over a prefix or a range, and a failing step that ends the walk with its error.
#include "engine/index_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/business_basic.h"
#include "engine/error.h"
#include "sampledata/damage.h"
#include "sampledata/data_set.h"
#include "test_support/sample_share.h"

namespace dv {
namespace {

using sample::DataSetImage;
using sample::DataSetWriter;
using sample::IndexWriter;

constexpr int kLines = 5;
constexpr int kCodes = 4;
constexpr int kDamagedOrdinal = 9;  // line 3, code 2

// A 4-byte key: line and code as two-byte numbers. Its record is line * 100 + code.
std::string Key(int line, int code = 0) {
    return {'\0', static_cast<char>(line), '\0', static_cast<char>(code)};
}
std::string Line(int line) {
    return Key(line).substr(0, 2);
}

// The records of the keys from (first_line, first_code) up to line end_line, and `then`.
std::vector<int32_t> Records(int first_line, int first_code, int end_line, int32_t then = 0) {
    std::vector<int32_t> records;
    for (int line = first_line; line < end_line; ++line)
        for (int code = line == first_line ? first_code : 1; code <= kCodes; ++code)
            records.push_back(line * 100 + code);
    if (then != 0) records.push_back(then);
    return records;
}

class IndexCursorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DataSetWriter set;
        for (const char* name : {"KEYSI", "BADI", "SHIFTI"}) {
            IndexWriter& index = set.AddIndex(name, 4);
            for (int line = 1; line <= kLines; ++line)
                for (int code = 1; code <= kCodes; ++code)
                    index.Add(Key(line, code), line * 100 + code);
            index.Fill(3);  // seven leaves under two levels of inner nodes
        }
        set.AddIndex("NONEI", 4);
        DataSetImage image = set.Build();
        sample::damage::SetRecordPointer(image, "BADI", kDamagedOrdinal, -5);
        // SHIFTI's key of line 2, code 1 (the second entry of the second leaf) reads as line 3's:
        // it sorts past line 2, and line 2's other keys follow it.
        const sample::LogicalPlacement& shift = image.Logical("SHIFTI");
        const auto at = image.NodeOffset("SHIFTI", shift.index.leaves[1]) + 4 + 8;
        image.File(shift.container).replace(static_cast<size_t>(at), 4, Key(3, 9));
        ASSERT_TRUE(share_.Start(image));
    }
    cBusinessBasic& engine() { return *mBusinessBasic; }

  private:
    sample::SampleShare share_;
};

TEST_F(IndexCursorTest, SeekLandsOnTheKeyOrTheNextAndStepsBothWays) {
    IndexCursor cursor(engine(), "KEYSI");
    EXPECT_FALSE(cursor.Valid());  // not yet positioned

    cursor.Seek(Key(2, 3));
    ASSERT_TRUE(cursor.Valid());
    EXPECT_EQ(cursor.key(), Key(2, 3));
    EXPECT_EQ(cursor.raw_record(), 203);

    cursor.Seek(Line(3));  // padded: lands on line 3's first code, not an exact match
    ASSERT_TRUE(cursor.Valid());
    EXPECT_EQ(cursor.key(), Key(3, 1));
    EXPECT_EQ(cursor.record(), 301);
    EXPECT_EQ(cursor.raw_record(), -301);

    cursor.Prev();  // across a leaf boundary
    EXPECT_EQ(cursor.record(), 204);
    cursor.Next();
    cursor.Next();
    EXPECT_EQ(cursor.record(), 302);

    cursor.Seek(Key(kLines, kCodes));
    cursor.Next();  // past the last key
    EXPECT_FALSE(cursor.Valid());
    EXPECT_TRUE(cursor.ok());
    cursor.Prev();  // back from the end marker
    EXPECT_EQ(cursor.record(), kLines * 100 + kCodes);

    cursor.Seek(Key(1, 1));
    cursor.Prev();  // before the first key
    EXPECT_FALSE(cursor.Valid());
    EXPECT_TRUE(cursor.ok());

    cursor.Seek(Key(kLines + 1));  // above every key
    EXPECT_FALSE(cursor.Valid());
    EXPECT_TRUE(cursor.ok());

    EXPECT_EQ(FindRecord(engine(), "KEYSI", Key(4, 2)), 402);
    EXPECT_EQ(FindRecord(engine(), "KEYSI", Line(4)), 0);  // only the next key is there
    EXPECT_EQ(FindRecord(engine(), "NONEI", Key(1, 1)), 0);
}

TEST_F(IndexCursorTest, WalksVisitTheirRangeAndEndOnTheFirstFailure) {
    KeyRange inside_a_line = KeyRange::Prefix(Line(2));
    inside_a_line.from = Key(2, 3);
    const struct Case {
        const char* what;
        const char* index;
        KeyRange range;
        std::vector<int32_t> records;
        int32_t error;  // 0: the walk ends without one
    } cases[] = {
        {"a prefix", "KEYSI", KeyRange::Prefix(Line(2)), Records(2, 1, 3), 0},
        {"the last prefix", "KEYSI", KeyRange::Prefix(Line(kLines)), Records(kLines, 1, 6), 0},
        {"a prefix no key has", "KEYSI", KeyRange::Prefix(Line(kLines + 1)), {}, 0},
        {"a prefix of 0xFF bytes", "KEYSI", KeyRange::Prefix("\xFF\xFF"), {}, 0},
        {"a range of lines", "KEYSI", KeyRange::Between(Line(2), Line(4)), Records(2, 1, 4), 0},
        {"from a key to the end", "KEYSI", KeyRange::From(Key(3, 2)), Records(3, 2, 6), 0},
        {"from inside a prefix", "KEYSI", inside_a_line, Records(2, 3, 3), 0},
        {"all of an empty index", "NONEI", KeyRange::From({}), {}, 0},
        {"up to a damaged entry", "BADI", KeyRange::From({}), Records(1, 1, 3, 301),
         err::kIndexPointer},
        {"a prefix before the damage", "BADI", KeyRange::Prefix(Line(2)), Records(2, 1, 3), 0},
        // The walk of line 2 lands on the key turned into line 3's: the step past it finds line
        // 2's keys after it, out of order, where the walk would have ended with no key at all.
        {"a prefix whose first key sorts past it",
         "SHIFTI",
         KeyRange::Prefix(Line(2)),
         {},
         err::kIndexKeyOrder},
        {"a bound longer than the keys",
         "KEYSI",
         KeyRange::Prefix(Key(1, 1) + std::string(2, '\0')),
         {},
         err::kIndexHeader},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IndexCursor cursor(engine(), c.index);
        std::vector<int32_t> visited;
        try {
            cursor.Walk(c.range, [&](const IndexCursor& at) { visited.push_back(at.record()); });
            EXPECT_EQ(c.error, 0);
        } catch (const BasicError& e) {
            EXPECT_EQ(e.number(), c.error) << e.description();
        }
        EXPECT_EQ(visited, c.records);
    }

    // A visit that answers false ends the walk there.
    std::vector<int32_t> visited;
    IndexCursor(engine(), "KEYSI").Walk(KeyRange::From({}), [&](const IndexCursor& at) {
        visited.push_back(at.record());
        return visited.size() < 2;
    });
    EXPECT_EQ(visited, (std::vector<int32_t>{101, 102}));
}

TEST_F(IndexCursorTest, AFailedStepIsKeptUntilTheNextSeek) {
    IndexCursor cursor(engine(), "BADI");
    cursor.Seek(Key(3, 1));
    ASSERT_TRUE(cursor.Valid());
    cursor.Next();  // onto the damaged entry
    EXPECT_FALSE(cursor.Valid());
    ASSERT_FALSE(cursor.ok());
    EXPECT_EQ(cursor.status()->number(), err::kIndexPointer);
    EXPECT_EQ(cursor.status()->source(), "KNext");
    // The entry reached last stays; further steps do nothing.
    EXPECT_EQ(cursor.key(), Key(3, 1));
    EXPECT_EQ(cursor.record(), 301);
    cursor.Prev();
    cursor.Next();
    EXPECT_EQ(cursor.record(), 301);
    EXPECT_FALSE(cursor.ok());
    try {
        cursor.Check();
        ADD_FAILURE() << "Check raised nothing";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), err::kIndexPointer);
    }

    cursor.Seek(Key(4, 1));
    EXPECT_TRUE(cursor.ok());
    EXPECT_EQ(cursor.record(), 401);
    EXPECT_NO_THROW(cursor.Check());

    // A cursor never positioned: its first step fails with the engine's cursor error.
    IndexCursor unpositioned(engine(), "KEYSI");
    unpositioned.Next();
    ASSERT_FALSE(unpositioned.ok());
    EXPECT_EQ(unpositioned.status()->number(), err::kIndexCursor);
}

}  // namespace
}  // namespace dv
