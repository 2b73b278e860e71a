#include "engine/index.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/business_basic.h"
#include "engine/logical.h"
#include "engine/physical.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::Be;
using testing::BuildIndex;
using testing::DirEntry;
using testing::EndKey;
using testing::Entries;
using testing::ExpectError;
using testing::IndexHeader;
using testing::LinkEntry;
using testing::Node;

const std::string kEnd4 = EndKey(4);

// Two levels, keys of 4 bytes: leaves 1 (AAAA BBBB CCCC) and 2 (DDDD EEEE end), root 3.
std::string TwoLevelIndex() {
    std::string bytes = IndexHeader(8, 3, 3);
    bytes += Node(2, {{"AAAA", 11}, {"BBBB", 12}, {"CCCC", 13}});
    bytes += Node(65535, {{"DDDD", 14}, {"EEEE", 15}, {kEnd4, -1}});
    // The root, written out byte by byte: two entries, inner, CCCC -> 1, all 0xFF -> 2.
    std::string root(512, '\0');
    const unsigned char r[] = {0, 2, 0,    0,    'C',  'C',  'C', 'C', 0, 0,
                               0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0,   0,   0, 2};
    for (size_t k = 0; k < sizeof r; ++k) root[k] = static_cast<char>(r[k]);
    return bytes + root;
}

// Index keys of the big index: K000000000, K000000002, ... (even numbers), record i + 1.
std::string BigKey(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "K%09d", 2 * i);
    return buf;
}

class IndexTest : public testing::EngineFixture {
  protected:
    // Lays out an index as the logical file `name` at block 1 of its own container.
    void AddIndex(const std::string& name, const std::string& bytes, int32_t last_record) {
        links_ += LinkEntry(":D01:" + name, "D01:" + name + "D1");
        WriteShareFile("D01/" + name + "D1", DirEntry(name, 0, 1, 512, 'I', last_record));
        WriteShareFile("D01/" + name + "DB", std::string(512, '\0') + bytes);
    }
    void Start() {
        WriteMinimalDataSet();
        WriteShareFile("LINKSFILE", links_);
        StartEngine();
    }
    LogicalFileRef Open(const std::string& name) {
        auto file = iLogicalOpen(name);
        EXPECT_TRUE(file) << name;
        return file;
    }

    std::string cursor_ = std::string(544, '\0');
    std::string key_;
    int32_t record_ = 0;

  private:
    std::string links_;
};

TEST(CompareKeysTest, UnsignedBytesThenLength) {
    EXPECT_LT(CompareKeys("AB", "ABC"), 0);
    EXPECT_GT(CompareKeys("\xFF", "A"), 0);
    EXPECT_EQ(CompareKeys("ABC", "ABC"), 0);
    EXPECT_EQ(CompareKeys("ABD", "ABC"), 1);
    EXPECT_EQ(CompareKeys("", ""), 0);
}

TEST_F(IndexTest, KFindPositionsTheCursorAsLaidOut) {
    AddIndex("TWOI", TwoLevelIndex(), 3);
    Start();
    const auto file = Open("TWOI");
    key_ = "BBBB";
    iKFind(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 12);
    EXPECT_EQ(key_, "BBBB");
    ASSERT_EQ(cursor_.size(), 544u);
    // Header fields 1-5 as block 0 holds them; 11-16 the walk's own: no leaf marked, the next
    // mark at step 1, no leaf crossed.
    EXPECT_EQ(cursor_.substr(0, 10), IndexHeader(8, 3, 3).substr(0, 10));
    EXPECT_EQ(cursor_.substr(10, 6), Be(2, 0) + Be(2, 1) + Be(2, 0));
    EXPECT_EQ(cursor_[16], 2);                              // entry index
    EXPECT_EQ(cursor_[17], 2);                              // depth
    EXPECT_EQ(cursor_.substr(18, 4), Be(2, 3) + Be(2, 1));  // path: root 3, leaf 1
    EXPECT_EQ(cursor_.substr(32), Node(2, {{"AAAA", 11}, {"BBBB", 12}, {"CCCC", 13}}));
    const NodeInfo info = GetNodeInfo(cursor_);
    EXPECT_EQ(info.index, 2);
    EXPECT_EQ(info.depth, 2);
    EXPECT_EQ(info.count, 3);
    EXPECT_EQ(info.next_leaf, 2);
    EXPECT_EQ(GetNodeEntry(cursor_, 3).key, "CCCC");
    EXPECT_EQ(GetNodeEntry(cursor_, 3).pointer, 13);
    EXPECT_EQ(GetNodeHeader(cursor_)[4], 3);
}

TEST_F(IndexTest, KFindExactInexactAndPastTheLastKey) {
    AddIndex("TWOI", TwoLevelIndex(), 3);
    Start();
    const auto file = Open("TWOI");
    struct Case {
        std::string key;
        int32_t record;
        std::string key_after;
    } cases[] = {
        {"AAAA", 11, "AAAA"},
        {"A", -11, "AAAA"},  // fitted to A and three NULs, which sorts before AAAA
        {"CCCC", 13, "CCCC"},
        {"CCCD", -14, "DDDD"},   // crosses from leaf 1 into leaf 2
        {"CCCCZZ", 13, "CCCC"},  // cut to the key length
        {"EEEE", 15, "EEEE"},
        {"ZZZZ", 0, kEnd4},  // onto the end marker
        {kEnd4, 0, kEnd4},
    };
    for (const Case& c : cases) {
        key_ = c.key;
        iKFind(file, cursor_, key_, record_);
        EXPECT_EQ(record_, c.record) << c.key;
        EXPECT_EQ(key_, c.key_after) << c.key;
    }
    key_ = "A";
    iKFind(file, cursor_, key_, record_);
    EXPECT_EQ(record_, -11);
    EXPECT_EQ(key_, "AAAA");
}

TEST_F(IndexTest, KeysAreFittedToTheKeyLength) {
    Entries keys = {{std::string("ABC") + std::string(7, '\0'), 5}, {"ABCDEFGHIJ", 6}};
    AddIndex("TENI", BuildIndex(10, keys, 30, 30).bytes, 1);
    Start();
    key_ = "ABC";
    iKFind(Open("TENI"), cursor_, key_, record_);
    EXPECT_EQ(record_, 5);
    EXPECT_EQ(key_, std::string("ABC") + std::string(7, '\0'));
    std::string short_cursor;  // a cursor shorter than 544 is padded
    key_ = "ABCD";
    iKFind(Open("TENI"), short_cursor, key_, record_);
    EXPECT_EQ(short_cursor.size(), 544u);
    EXPECT_EQ(record_, -6);
    EXPECT_EQ(iKLength(Open("TENI")), 10);
}

TEST_F(IndexTest, KNextCrossesLeavesAndEndsOnTheMarker) {
    AddIndex("TWOI", TwoLevelIndex(), 3);
    Start();
    const auto file = Open("TWOI");
    key_ = "BBBB";
    iKFind(file, cursor_, key_, record_);
    iKNext(file, cursor_, key_, record_);
    EXPECT_EQ(key_, "CCCC");
    EXPECT_EQ(record_, 13);
    ResetEngineReadStats();
    iKNext(file, cursor_, key_, record_);  // from the last entry of leaf 1
    EXPECT_EQ(key_, "DDDD");
    EXPECT_EQ(record_, 14);
    EXPECT_EQ(EngineReadStats().reads, 1u);      // one node read, nothing else
    EXPECT_EQ(cursor_.substr(20, 2), Be(2, 2));  // the leaf's path slot names the new leaf
    iKNext(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 15);
    iKNext(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 0);  // the end marker's -1 reads as 0
    EXPECT_EQ(key_, kEnd4);
    const std::string before = cursor_;
    key_ = "same";
    iKNext(file, cursor_, key_, record_);  // past the end: 0 again, nothing changes
    EXPECT_EQ(record_, 0);
    EXPECT_EQ(key_, "same");
    EXPECT_EQ(cursor_, before);
}

TEST_F(IndexTest, AnIndexOfTheEndMarkerAlone) {
    AddIndex("NEWI", BuildIndex(4, {}, 30, 30).bytes, 1);
    Start();
    const auto file = Open("NEWI");
    key_ = "ABCD";
    iKFind(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 0);
    EXPECT_EQ(key_, kEnd4);
    EXPECT_EQ(iKCount(file), 0);
    iKLast(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 0);
    EXPECT_EQ(key_, kEnd4);
    iKPrev(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 0);
}

TEST_F(IndexTest, RootAboveLastRecordShowsTheRangeMessage) {
    std::string bytes = TwoLevelIndex();
    AddIndex("TWOI", bytes, 2);  // root 3 lies above LastRecord 2
    Start();
    key_ = "AAAA";
    record_ = 99;
    iKFind(Open("TWOI"), cursor_, key_, record_);
    EXPECT_EQ(record_, 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "VODOD2");
    EXPECT_EQ(messages()[0].text,
              "Index is returning information out of Range.  File: TWOI LastRec:  2");
    EXPECT_EQ(messages()[0].icon, platform::MessageIcon::kCritical);
    EXPECT_EQ(cursor_[16], 0);  // entry index and depth are not written
    EXPECT_EQ(cursor_[17], 0);
    EXPECT_EQ(iKCount(Open("TWOI")), 0);
}

TEST_F(IndexTest, AChildAboveLastRecordEndsTheSearchAsTheRootDoes) {
    // Root 3 leads to leaf 1 for keys up to BBBB and to node 9, past LastRecord 3, above.
    AddIndex("KIDI",
             IndexHeader(8, 3, 3) + Node(2, {{"AAAA", 1}, {"BBBB", 2}}) +
                 Node(65535, {{kEnd4, -1}}) + Node(0, {{"BBBB", 1}, {kEnd4, 9}}),
             3);
    Start();
    key_ = "AAAA";
    iKFind(Open("KIDI"), cursor_, key_, record_);
    EXPECT_EQ(record_, 1);
    EXPECT_TRUE(messages().empty());
    key_ = "CCCC";
    record_ = 99;
    cursor_.assign(544, '\0');
    iKFind(Open("KIDI"), cursor_, key_, record_);
    EXPECT_EQ(record_, 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "Index is returning information out of Range.  File: KIDI LastRec:  3");
    EXPECT_EQ(messages()[0].icon, platform::MessageIcon::kCritical);
    EXPECT_EQ(cursor_[16], 0);  // entry index and depth are not written
    EXPECT_EQ(cursor_[17], 0);
}

TEST_F(IndexTest, RunningOffALeafChainWithoutAnEndMarker) {
    std::string bytes = IndexHeader(8, 1, 1) + Node(65535, {{"AAAA", 1}, {"BBBB", 2}});
    AddIndex("NOEND", bytes, 1);
    Start();
    // Every key sorts at or below the end marker: a search that runs off the last leaf has
    // lost it, and says so instead of reading as "nothing found".
    key_ = "CCCC";
    ExpectError([&] { iKFind(Open("NOEND"), cursor_, key_, record_); }, 1013, "KFind",
                "Damaged index file NOEND: the last leaf 1 does not end with the end marker");
}

TEST_F(IndexTest, ThreeLevelsWithThousandsOfKeys) {
    constexpr int kKeys = 5000;
    Entries entries;
    for (int i = 0; i < kKeys; ++i) entries.emplace_back(BigKey(i), i + 1);
    const sample::BuiltIndex built = BuildIndex(10, entries, 30, 30);
    ASSERT_EQ(built.layout.depth, 3);
    AddIndex("BIGI", built.bytes, built.layout.last_record);
    Start();
    const auto file = Open("BIGI");

    key_.clear();
    ResetEngineReadStats();
    iKFind(file, cursor_, key_, record_);
    EXPECT_EQ(EngineReadStats().reads, 4u);  // block 0 and one node per level
    EXPECT_EQ(record_, -1);
    int seen = 0;
    for (int32_t n = -record_; n > 0; iKNext(file, cursor_, key_, n)) {
        ASSERT_LT(seen, kKeys);
        ASSERT_EQ(key_, BigKey(seen));
        ASSERT_EQ(n, seen + 1);
        ++seen;
    }
    EXPECT_EQ(seen, kKeys);
    EXPECT_EQ(key_, EndKey(10));
    EXPECT_EQ(EngineReadStats().reads, 4u + static_cast<uint64_t>(built.layout.leaves.size() - 1));

    EXPECT_EQ(iKCount(file), kKeys);
    EXPECT_EQ(iKLength(file), 10);

    iKLast(file, cursor_, key_, record_);
    EXPECT_EQ(key_, BigKey(kKeys - 1));
    EXPECT_EQ(record_, kKeys);
    int back = kKeys - 1;
    while (true) {
        iKPrev(file, cursor_, key_, record_);
        if (record_ == 0) break;
        --back;
        ASSERT_GE(back, 0);
        ASSERT_EQ(key_, BigKey(back));
        ASSERT_EQ(record_, back + 1);
    }
    EXPECT_EQ(back, 0);

    key_ = "K000004001";  // between K000004000 and K000004002
    iKFind(file, cursor_, key_, record_);
    EXPECT_EQ(record_, -2002);
    EXPECT_EQ(key_, BigKey(2001));
    iKPrev(file, cursor_, key_, record_);
    EXPECT_EQ(key_, BigKey(2000));
    iKNext(file, cursor_, key_, record_);
    EXPECT_EQ(key_, BigKey(2001));
}

// Keys of 12 bytes that differ only past their eighth byte, and keys of a single byte.
TEST_F(IndexTest, KFindOrdersKeysByEveryByte) {
    Entries long_keys;
    for (int i = 0; i < 200; i += 2) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "SAMEHEAD%04d", i);
        long_keys.emplace_back(buf, i + 1);
    }
    const sample::BuiltIndex long_index = BuildIndex(12, long_keys, 30, 30);
    AddIndex("LONGI", long_index.bytes, long_index.layout.last_record);
    Entries bytes;
    for (int i = 1; i < 250; i += 2) bytes.emplace_back(std::string(1, static_cast<char>(i)), i);
    const sample::BuiltIndex byte_index = BuildIndex(1, bytes, 30, 30);
    AddIndex("BYTEI", byte_index.bytes, byte_index.layout.last_record);
    Start();
    for (int i = 0; i < 200; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "SAMEHEAD%04d", i);
        key_ = buf;
        iKFind(Open("LONGI"), cursor_, key_, record_);
        const int found = i % 2 == 0 ? i : i + 1;  // the key itself, or the next one up
        std::snprintf(buf, sizeof buf, "SAMEHEAD%04d", found);
        ASSERT_EQ(key_, found < 200 ? std::string(buf) : EndKey(12)) << i;
        ASSERT_EQ(record_, found >= 200 ? 0 : (i % 2 == 0 ? found + 1 : -(found + 1))) << i;
    }
    for (int i = 0; i < 256; ++i) {
        key_ = std::string(1, static_cast<char>(i));
        iKFind(Open("BYTEI"), cursor_, key_, record_);
        const int found = i % 2 == 1 ? i : i + 1;
        ASSERT_EQ(record_, found >= 250 ? 0 : (i % 2 == 1 ? found : -found)) << i;
    }
}

TEST_F(IndexTest, KLastFindsTheLastKeyWhenTheLastLeafHoldsOnlyTheMarker) {
    std::string bytes = IndexHeader(8, 3, 3);
    bytes += Node(2, {{"AAAA", 1}, {"BBBB", 2}});
    bytes += Node(65535, {{kEnd4, -1}});
    bytes += Node(0, {{"BBBB", 1}, {kEnd4, 2}});
    AddIndex("LASTI", bytes, 3);
    Start();
    const auto file = Open("LASTI");
    iKLast(file, cursor_, key_, record_);
    EXPECT_EQ(key_, "BBBB");
    EXPECT_EQ(record_, 2);
    iKPrev(file, cursor_, key_, record_);
    EXPECT_EQ(key_, "AAAA");
    iKPrev(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 0);
    EXPECT_EQ(iKCount(file), 2);
}

TEST_F(IndexTest, KPrevAtTheFirstKeyLeavesTheCursor) {
    AddIndex("TWOI", TwoLevelIndex(), 3);
    Start();
    const auto file = Open("TWOI");
    key_ = "DDDD";
    iKFind(file, cursor_, key_, record_);
    iKPrev(file, cursor_, key_, record_);  // climbs to the root and down into leaf 1
    EXPECT_EQ(key_, "CCCC");
    EXPECT_EQ(record_, 13);
    EXPECT_EQ(cursor_.substr(20, 2), Be(2, 1));
    key_ = "AAAA";
    iKFind(file, cursor_, key_, record_);
    const std::string before = cursor_;
    iKPrev(file, cursor_, key_, record_);
    EXPECT_EQ(record_, 0);
    EXPECT_EQ(cursor_, before);
}

// A damaged index ends the call with a numbered error that names the file.
struct DamageCase {
    const char* what;
    std::string bytes;
    int32_t last_record;
    const char* member;  // KFind, KNext, KPrev, KLast or KCount
    std::string key;
    int32_t number;
    std::string description;
};

std::vector<DamageCase> DamageCases() {
    std::vector<DamageCase> cases;
    const std::string h3 = IndexHeader(8, 3, 3);
    const std::string leaf1 = Node(2, {{"AAAA", 1}, {"BBBB", 2}});
    const std::string root = Node(0, {{"BBBB", 1}, {kEnd4, 2}});
    cases.push_back({"leaf chain back to the first leaf",
                     h3 + leaf1 + Node(1, {{"CCCC", 3}}) + root, 3, "KFind", "ZZZZ", 1001,
                     "Damaged index file DMG: the leaf chain comes back to node 2"});
    cases.push_back({"KCount over the same cycle", h3 + leaf1 + Node(1, {{"CCCC", 3}}) + root, 3,
                     "KCount", "", 1001,
                     "Damaged index file DMG: the leaf chain comes back to node 1"});
    cases.push_back({"a leaf that names itself next",
                     h3 + Node(1, {{"AAAA", 1}}) + Node(65535, {{kEnd4, -1}}) +
                         Node(0, {{"AAAA", 1}, {kEnd4, 2}}),
                     3, "KNext", "AAAA", 1001,
                     "Damaged index file DMG: the leaf chain comes back to node 1"});
    cases.push_back({"KNext over a two-leaf cycle", h3 + leaf1 + Node(1, {{"CCCC", 3}}) + root, 3,
                     "KNext3", "BBBB", 1001,
                     "Damaged index file DMG: the leaf chain goes back in key order at node 1"});
    cases.push_back(
        {"a two-leaf cycle of equal keys",
         h3 + Node(2, {{"BBBB", 1}}) + Node(1, {{"BBBB", 2}}) + Node(0, {{"BBBB", 1}, {kEnd4, 2}}),
         3, "KNextMany", "BBBB", 1001,
         "Damaged index file DMG: the leaf chain comes back to node 1 on a later step"});
    // LastRecord past 65,535: the leaf count must not wrap in the cursor's 16-bit field.
    cases.push_back(
        {"a two-leaf cycle of equal keys in an index of 70,000 nodes",
         h3 + Node(2, {{"BBBB", 1}}) + Node(1, {{"BBBB", 2}}) + Node(0, {{"BBBB", 1}, {kEnd4, 2}}),
         70000, "KNextLoop", "BBBB", 1001,
         "Damaged index file DMG: the leaf chain comes back to node 1 on a later step"});
    cases.push_back(
        {"a count past the node",
         h3 + Node(2, {{"AAAA", 1}}).replace(0, 2, Be(2, 64)) + Node(65535, {{kEnd4, -1}}) + root,
         3, "KFind", "AAAA", 1004,
         "Damaged index file DMG: node 1 holds 64 entries of 8 bytes, more than a "
         "node holds"});
    cases.push_back({"KLast to a child above LastRecord",
                     h3 + leaf1 + Node(65535, {{kEnd4, -1}}) + Node(0, {{"BBBB", 1}, {kEnd4, 9}}),
                     3, "KLast", "", 1002,
                     "Damaged index file DMG: node 9 lies outside nodes 1 to 3"});
    cases.push_back({"a next leaf above LastRecord",
                     h3 + Node(7, {{"AAAA", 1}}) + Node(65535, {{kEnd4, -1}}) +
                         Node(0, {{"AAAA", 1}, {kEnd4, 2}}),
                     3, "KNext", "AAAA", 1002,
                     "Damaged index file DMG: node 7 lies outside nodes 1 to 3"});
    cases.push_back({"a root of 0", IndexHeader(8, 3, 0) + leaf1, 3, "KFind", "AAAA", 1002,
                     "Damaged index file DMG: node 0 lies outside nodes 1 to 3"});
    cases.push_back(
        {"a leaf chain into an inner node",
         h3 + Node(3, {{"AAAA", 1}}) + Node(65535, {{kEnd4, -1}}) + root, 3, "KFind", "AAAB", 1002,
         "Damaged index file DMG: the leaf chain leads to node 3, which is not a leaf"});
    cases.push_back({"an inner node without the highest key",
                     h3 + leaf1 + Node(65535, {{kEnd4, -1}}) + Node(0, {{"BBBB", 1}}), 3, "KFind",
                     "CCCC", 1007,
                     "Damaged index file DMG: node 3 holds no key at or above the one sought"});
    {
        // Eight inner levels, each one entry leading to the next node.
        std::string deep = IndexHeader(8, 9, 1);
        for (int n = 1; n <= 8; ++n) deep += Node(0, {{kEnd4, n + 1}});
        deep += Node(65535, {{kEnd4, -1}});
        cases.push_back({"deeper than seven levels", deep, 9, "KFind", "AAAA", 1003,
                         "Damaged index file DMG: the path is deeper than 7 levels"});
        cases.push_back({"KLast deeper than seven levels", deep, 9, "KLast", "", 1003,
                         "Damaged index file DMG: the path is deeper than 7 levels"});
    }
    cases.push_back({"an entry size of 4", IndexHeader(4, 3, 3) + leaf1, 3, "KFind", "A", 1006,
                     "Damaged index file DMG: entry size 4 lies outside 5 to 508"});
    cases.push_back({"an entry size of 509", IndexHeader(509, 3, 3) + leaf1, 3, "KLast", "", 1006,
                     "Damaged index file DMG: entry size 509 lies outside 5 to 508"});
    cases.push_back(
        {"a parent without the child's entry",
         h3 + leaf1 + Node(65535, {{"CCCC", 3}, {kEnd4, -1}}) + Node(0, {{"BBBB", 1}, {"CCCC", 2}}),
         3, "KPrev", "CCCC", 1005,
         "Damaged index file DMG: node 3 holds no entry for its child 2"});
    // Damage that would otherwise read as valid figures.
    const std::string h1 = IndexHeader(8, 1, 1);
    cases.push_back({"a record pointer of the smallest integer, inexact match",
                     h1 + Node(65535, {{"AAAA", INT32_MIN}, {kEnd4, -1}}), 1, "KFind", "A", 1009,
                     "Damaged index file DMG: entry 1 of leaf 1 points to record -2147483648"});
    cases.push_back({"a record pointer of -5 reached by KNext",
                     h1 + Node(65535, {{"AAAA", 1}, {"BBBB", -5}, {kEnd4, -1}}), 1, "KNext", "AAAA",
                     1009, "Damaged index file DMG: entry 2 of leaf 1 points to record -5"});
    cases.push_back({"a record pointer of -2 found by KLast",
                     h1 + Node(65535, {{"AAAA", -2}, {kEnd4, -1}}), 1, "KLast", "", 1009,
                     "Damaged index file DMG: entry 1 of leaf 1 points to record -2"});
    cases.push_back({"keys that go back inside a leaf, by KNext",
                     h1 + Node(65535, {{"BBBB", 1}, {"AAAA", 2}, {kEnd4, -1}}), 1, "KNext", "BBBB",
                     1010, "Damaged index file DMG: the keys go back in key order at node 1"});
    cases.push_back({"keys that go back inside a leaf, by KFind's scan",
                     h1 + Node(65535, {{"CCCC", 1}, {"AAAA", 2}, {kEnd4, -1}}), 1, "KFind", "DDDD",
                     1010, "Damaged index file DMG: the keys go back in key order at node 1"});
    cases.push_back({"long keys that go back only past their eighth byte, by KFind's scan",
                     IndexHeader(16, 1, 1) +
                         Node(65535, {{"SAMEHEADBBBB", 1}, {"SAMEHEADAAAA", 2}, {EndKey(12), -1}}),
                     1, "KFind", "SAMEHEADCCCC", 1010,
                     "Damaged index file DMG: the keys go back in key order at node 1"});
    // Record 0 is the end marker's alone, and the last leaf must end with it.
    cases.push_back({"a record pointer of 0 on a key, found by KFind",
                     h1 + Node(65535, {{"AAAA", 1}, {"BBBB", 0}, {kEnd4, -1}}), 1, "KFind", "BBBB",
                     1012,
                     "Damaged index file DMG: entry 2 of leaf 1 points to record 0 but is not the "
                     "end marker"});
    cases.push_back({"a record pointer of -1 on a key, reached by KNext",
                     h1 + Node(65535, {{"AAAA", 1}, {"BBBB", -1}, {kEnd4, -1}}), 1, "KNext", "AAAA",
                     1012,
                     "Damaged index file DMG: entry 2 of leaf 1 points to record 0 but is not the "
                     "end marker"});
    cases.push_back({"a record pointer of 0 reached by KPrev",
                     h1 + Node(65535, {{"AAAA", 0}, {"BBBB", 2}, {kEnd4, -1}}), 1, "KPrev", "BBBB",
                     1012,
                     "Damaged index file DMG: entry 1 of leaf 1 points to record 0 but is not the "
                     "end marker"});
    cases.push_back({"an end marker ending a leaf that is not the last",
                     h3 + Node(2, {{"AAAA", 1}, {kEnd4, -1}}) +
                         Node(65535, {{"BBBB", 2}, {kEnd4, -1}}) +
                         Node(0, {{kEnd4, 1}, {kEnd4, 2}}),
                     3, "KNext", "AAAA", 1012,
                     "Damaged index file DMG: entry 2 of leaf 1 points to record 0 but is not the "
                     "end marker"});
    {
        const std::string no_end = h1 + Node(65535, {{"AAAA", 1}, {"BBBB", 2}});
        const std::string text =
            "Damaged index file DMG: the last leaf 1 does not end with the end marker";
        cases.push_back(
            {"no end marker, KFind past the last key", no_end, 1, "KFind", "CCCC", 1013, text});
        cases.push_back(
            {"no end marker, KNext past the last key", no_end, 1, "KNext", "BBBB", 1013, text});
        cases.push_back({"no end marker, KLast", no_end, 1, "KLast", "", 1013, text});
        cases.push_back(
            {"an empty last leaf", h1 + Node(65535, {}), 1, "KFind", "AAAA", 1013, text});
    }
    {
        // Leaves 1-3 under root 4; leaf 2 lost its entries.
        const std::string bytes = IndexHeader(8, 4, 4) + Node(2, {{"AAAA", 1}}) + Node(3, {}) +
                                  Node(65535, {{"CCCC", 3}, {kEnd4, -1}}) +
                                  Node(0, {{"AAAA", 1}, {"BBBB", 2}, {kEnd4, 3}});
        const std::string text =
            "Damaged index file DMG: leaf 2 holds no entries but is not the last";
        cases.push_back(
            {"an empty leaf inside the chain, by KNext", bytes, 4, "KNext", "AAAA", 1011, text});
        cases.push_back(
            {"an empty leaf inside the chain, by KFind", bytes, 4, "KFind", "BBBB", 1011, text});
        cases.push_back(
            {"an empty leaf inside the chain, by KCount", bytes, 4, "KCount", "", 1011, text});
    }
    return cases;
}

TEST_F(IndexTest, DamagedIndexesEndWithANumberedError) {
    const std::vector<DamageCase> cases = DamageCases();
    for (size_t k = 0; k < cases.size(); ++k)
        AddIndex("DMG" + std::to_string(k), cases[k].bytes, cases[k].last_record);
    Start();
    for (size_t k = 0; k < cases.size(); ++k) {
        const DamageCase& c = cases[k];
        SCOPED_TRACE(c.what);
        const std::string name = "DMG" + std::to_string(k);
        // The file's name in the description is the name it was opened under.
        std::string description = c.description;
        description.replace(description.find("DMG"), 3, name);
        const auto file = Open(name);
        std::string cursor(544, '\0');
        std::string key = c.key;
        int32_t record = 0;
        const std::string member = c.member;
        auto run = [&] {
            if (member == "KFind") {
                iKFind(file, cursor, key, record);
            } else if (member == "KCount") {
                iKCount(file);
            } else if (member == "KLast") {
                iKLast(file, cursor, key, record);
            } else if (member == "KNext") {
                iKFind(file, cursor, key, record);
                iKNext(file, cursor, key, record);
            } else if (member == "KNext3") {
                iKFind(file, cursor, key, record);
                for (int i = 0; i < 3; ++i) iKNext(file, cursor, key, record);
            } else if (member == "KNextLoop") {
                iKFind(file, cursor, key, record);
                for (int i = 0; i < 200000 && record != 0; ++i) iKNext(file, cursor, key, record);
            } else if (member == "KNextMany") {
                iKFind(file, cursor, key, record);
                for (int i = 0; i < 20 && record != 0; ++i) iKNext(file, cursor, key, record);
            } else {
                iKFind(file, cursor, key, record);
                iKPrev(file, cursor, key, record);
            }
        };
        const char* source = member.rfind("KNext", 0) == 0 ? "KNext" : c.member;
        ExpectError(run, c.number, source, description);
    }
}

// A loop of leaves whose keys are equal passes every order check, one KNext at a time: it ends
// with 1001 after a handful of steps, whatever LastRecord claims, and no walk crosses more leaves
// than the index file holds nodes.
TEST_F(IndexTest, ALoopOfLeavesEndsAfterAHandfulOfSteps) {
    const std::string h = IndexHeader(8, 3, 0);  // the root's number is written per case
    const auto with_root = [&](int32_t root, const std::string& nodes) {
        std::string bytes = h + nodes;
        bytes.replace(8, 2, Be(2, root));
        return bytes;
    };
    const std::string root5 = Node(0, {{"BBBB", 1}, {kEnd4, 4}});
    const struct {
        const char* what;
        std::string bytes;
        int32_t last_record;
        int max_calls;  // KNext calls before the error, at most
        std::string description;
    } cases[] = {
        {"two leaves, LastRecord 70,000",
         with_root(3, Node(2, {{"BBBB", 1}}) + Node(1, {{"BBBB", 2}}) +
                          Node(0, {{"BBBB", 1}, {kEnd4, 2}})),
         70000, 4, "the leaf chain comes back to node 1 on a later step"},
        // Ten blocks of zeros after the root: the file holds more nodes than the walk crosses.
        {"a lead-in of one leaf, then a loop of three, LastRecord 2,147,483,647",
         with_root(5, Node(2, {{"BBBB", 1}}) + Node(3, {{"BBBB", 2}}) + Node(4, {{"BBBB", 3}}) +
                          Node(2, {{"BBBB", 4}}) + root5 + std::string(10 * 512, '\0')),
         INT32_MAX, 8, "the leaf chain comes back to node 2 on a later step"},
        {"four leaves round a file of five nodes",
         with_root(5, Node(2, {{"BBBB", 1}}) + Node(3, {{"BBBB", 2}}) + Node(4, {{"BBBB", 3}}) +
                          Node(1, {{"BBBB", 4}}) + root5),
         70000, 6, "the walk has crossed more leaves than the index file holds nodes (5)"},
    };
    for (size_t k = 0; k < std::size(cases); ++k)
        AddIndex("LOOP" + std::to_string(k), cases[k].bytes, cases[k].last_record);
    Start();
    for (size_t k = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        SCOPED_TRACE(c.what);
        const std::string name = "LOOP" + std::to_string(k);
        const auto file = Open(name);
        std::string cursor(544, '\0');
        std::string key = "BBBB";
        int32_t record = 0;
        iKFind(file, cursor, key, record);
        int calls = 0;
        ExpectError(
            [&] {
                for (; calls < 100000 && record != 0; ++calls) iKNext(file, cursor, key, record);
            },
            1001, "KNext", "Damaged index file " + name + ": " + c.description);
        EXPECT_LT(calls, c.max_calls);
    }
}

TEST_F(IndexTest, ACursorThatKFindDidNotPositionIsRefused) {
    AddIndex("TWOI", TwoLevelIndex(), 3);
    Start();
    const auto file = Open("TWOI");
    const std::string text = "Index file TWOI: the cursor was not positioned by KFind or KLast";
    std::string fresh(544, '\0');
    ExpectError([&] { iKNext(file, fresh, key_, record_); }, 1008, "KNext", text);
    std::string shorter(100, '\0');
    ExpectError([&] { iKNext(file, shorter, key_, record_); }, 1008, "KNext", text);
    ExpectError([&] { iKPrev(file, fresh, key_, record_); }, 1008, "KPrev", text);
    // An entry index past the node's count.
    key_ = "AAAA";
    iKFind(file, cursor_, key_, record_);
    cursor_[16] = 9;
    ExpectError([&] { iKNext(file, cursor_, key_, record_); }, 1008, "KNext", text);
}

TEST_F(IndexTest, KPrevAfterKNextCrossedIntoAnotherParentEndsWithAnError) {
    // Three levels: leaves 1-4 of two keys; inner 5 over leaves 1-2, inner 6 over 3-4; root 7.
    Entries entries;
    for (int i = 0; i < 7; ++i) entries.emplace_back(BigKey(i), i + 1);
    const sample::BuiltIndex built = BuildIndex(10, entries, 2, 2);
    ASSERT_EQ(built.layout.depth, 3);
    AddIndex("BIGI", built.bytes, built.layout.last_record);
    Start();
    const auto file = Open("BIGI");
    key_ = BigKey(3);  // the last key of leaf 2, under inner node 5
    iKFind(file, cursor_, key_, record_);
    iKNext(file, cursor_, key_, record_);  // into leaf 3, under inner node 6
    EXPECT_EQ(key_, BigKey(4));
    const std::string before = cursor_;
    // The path still names node 5 as the parent, which holds no entry for leaf 3.
    ExpectError([&] { iKPrev(file, cursor_, key_, record_); }, 1005, "KPrev",
                "Damaged index file BIGI: node 5 holds no entry for its child 3");
    EXPECT_EQ(cursor_, before);
}

}  // namespace
}  // namespace dv
