// The shape of bulk-loaded indexes, checked by reading the nodes back with a small reader of
// this test's own: keys in unsigned order along the leaf chain, the end marker last, every
// inner entry holding the highest key below it, all leaves at one depth.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "sampledata/formats.h"
#include "sampledata/index_writer.h"

namespace dv::sample {
namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

struct Node {
    int count = 0;
    int next = 0;
    std::vector<std::pair<std::string, int32_t>> entries;
};

class TreeReader {
  public:
    explicit TreeReader(const std::string& bytes) : bytes_(bytes) {
        entry_size_ = U16(0, 0);
        root_ = U16(0, 8);
        key_length_ = entry_size_ - 4;
    }
    int root() const { return root_; }
    int nodes() const { return static_cast<int>(bytes_.size() / 512) - 1; }

    Node Read(int k) const {
        Node n;
        n.count = U16(k, 0);
        n.next = U16(k, 2);
        EXPECT_LE(4 + n.count * entry_size_, 512) << "node " << k;
        for (int i = 0; i < n.count; ++i) {
            const size_t at =
                static_cast<size_t>(k) * 512 + 4 + static_cast<size_t>(i * entry_size_);
            const std::string key = bytes_.substr(at, static_cast<size_t>(key_length_));
            const int32_t ptr =
                static_cast<int32_t>(GetBE(bytes_, static_cast<int32_t>(at + key_length_ + 1), 4));
            n.entries.emplace_back(key, ptr);
        }
        return n;
    }

    // Checks the subtree at k; returns its highest key and records the leaves' depth.
    std::string Check(int k, int depth, std::vector<int>& leaf_order,
                      std::set<int>& leaf_depths) const {
        EXPECT_GE(k, 1);
        EXPECT_LE(k, nodes());
        const Node n = Read(k);
        EXPECT_GE(n.count, 1);
        if (n.next == 0) {
            for (const auto& [key, child] : n.entries)
                EXPECT_EQ(Check(child, depth + 1, leaf_order, leaf_depths), key)
                    << "inner entry of node " << k;
        } else {
            leaf_order.push_back(k);
            leaf_depths.insert(depth);
        }
        return n.entries.back().first;
    }

  private:
    int U16(int node, int at) const {
        return static_cast<int>(GetBE(bytes_, static_cast<int32_t>(node * 512 + at + 1), 2));
    }
    const std::string& bytes_;
    int entry_size_ = 0;
    int key_length_ = 0;
    int root_ = 0;
};

std::string NumberedKey(int i, int length) {
    std::string k(static_cast<size_t>(length), '\0');
    PutBE(k, 1, 4, i * 7919 % 100003);  // scattered, so the input order is not the key order
    return k;
}

struct ShapeCase {
    int keys;
    int key_length;
    int fill;
    int depth;
    int leaves;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.keys << " keys of " << c.key_length << " bytes at fill " << c.fill;
}

class IndexShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(IndexShape, ChainOrderMarkerAndInnerKeys) {
    const ShapeCase c = GetParam();
    IndexWriter w("TESTI", c.key_length);
    std::map<std::string, int32_t> expected;
    for (int i = 0; i < c.keys; ++i) {
        w.Add(NumberedKey(i, c.key_length), i + 1);
        expected[NumberedKey(i, c.key_length)] = i + 1;
    }
    w.Fill(c.fill);
    const BuiltIndex built = w.Build();
    EXPECT_EQ(built.layout.depth, c.depth);
    EXPECT_EQ(static_cast<int>(built.layout.leaves.size()), c.leaves);

    TreeReader tree(built.bytes);
    EXPECT_EQ(tree.root(), built.layout.root);
    std::vector<int> leaf_order;
    std::set<int> depths;
    EXPECT_EQ(tree.Check(tree.root(), 1, leaf_order, depths), EndMarkerKey(c.key_length));
    EXPECT_EQ(depths, std::set<int>{c.depth});
    EXPECT_EQ(leaf_order, built.layout.leaves);

    // Walk the chain from the first leaf: every key once, in order, then the marker.
    Entries walked;
    int k = leaf_order.front();
    for (int steps = 0; steps < tree.nodes() && k != kLastLeaf; ++steps) {
        const Node n = tree.Read(k);
        for (const auto& e : n.entries) walked.push_back(e);
        if (n.next != kLastLeaf) {
            EXPECT_EQ(n.next, leaf_order[static_cast<size_t>(steps + 1)]);
        }
        if (n.next == kLastLeaf && c.keys > 0) {
            EXPECT_GE(n.count, 2) << "the last leaf holds a key before the end marker";
        }
        EXPECT_EQ(n.count, built.layout.leaf_counts[static_cast<size_t>(steps)]);
        k = n.next;
    }
    EXPECT_EQ(k, kLastLeaf);
    ASSERT_EQ(walked.size(), expected.size() + 1);
    EXPECT_EQ(walked.back(), std::make_pair(EndMarkerKey(c.key_length), -1));
    walked.pop_back();
    const Entries in_order(expected.begin(), expected.end());
    EXPECT_EQ(walked, in_order);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, IndexShape,
    ::testing::Values(ShapeCase{0, 10, 0, 1, 1},          // only the end marker
                      ShapeCase{5, 10, 0, 1, 1},          // one leaf
                      ShapeCase{20, 4, 3, 3, 7},          // three levels from twenty keys
                      ShapeCase{20, 4, 2, 5, 11},         // the least fill
                      ShapeCase{22, 4, 3, 3, 8},          // 23 entries: no leaf left near empty
                      ShapeCase{2000, 14, 0, 3, 72},      // full nodes of 28
                      ShapeCase{5000, 100, 0, 7, 1251}),  // 4 per node: 7 levels
    [](const ::testing::TestParamInfo<ShapeCase>& param) {
        return std::to_string(param.param.keys) + "keys" + std::to_string(param.param.key_length) +
               "bytes" + (param.param.fill != 0 ? "fill" + std::to_string(param.param.fill) : "");
    });

TEST(IndexWriter, KeysSortAsUnsignedBytes) {
    IndexWriter w("TESTI", 1);
    for (const char c : std::string("\x80\x7F\x00\xFE"
                                    "A",
                                    5))
        w.Add(std::string(1, c), c & 0xFF);
    std::string order;
    for (const auto& [key, record] : w.Sorted()) order += key;
    EXPECT_EQ(order, std::string("\x00"
                                 "A\x7F\x80\xFE",
                                 5));
    EXPECT_LT(CompareKeys("AB", "ABC"), 0);
    EXPECT_GT(CompareKeys("\xFF", "A"), 0);
}

TEST(IndexWriter, ShortKeysArePaddedWithNul) {
    IndexWriter w("TESTI", 6);
    w.Add("ABC", 3);
    EXPECT_EQ(w.Sorted().front().first, std::string("ABC\0\0\0", 6));
}

TEST(IndexWriter, SpareNodesRaiseTheCapacity) {
    IndexWriter w("TESTI", 4);
    w.Add("AAAA", 1).Spare(5);
    const BuiltIndex built = w.Build();
    EXPECT_EQ(built.layout.last_record, 6);
    EXPECT_EQ(built.bytes.size(), 7u * 512u);
    EXPECT_EQ(GetBE(built.bytes, 5, 2), 6u);
}

TEST(IndexWriter, RefusesWhatNoIndexCanHold) {
    IndexWriter w("TESTI", 4);
    EXPECT_THROW(w.Add("TOOLONG", 1), std::invalid_argument);
    EXPECT_THROW(w.Add("\xFF\xFF\xFF\xFF", 1), std::invalid_argument);
    EXPECT_THROW(w.Fill(1), std::invalid_argument);
    EXPECT_THROW(w.Fill(w.MaxFill() + 1), std::invalid_argument);
    EXPECT_THROW(IndexWriter("X", 0), std::invalid_argument);

    IndexWriter deep("DEEPI", 4);  // 256 keys at fill 2: eight levels, one more than a cursor
    for (int i = 0; i < 256; ++i) deep.Add(NumberedKey(i, 4), i + 1);
    deep.Fill(2);
    EXPECT_THROW(deep.Build(), std::length_error);

    IndexWriter wide("WIDEI", 300);  // one entry per node: only an empty index fits
    EXPECT_NO_THROW(wide.Build());
    wide.Add("A", 1);
    EXPECT_THROW(wide.Build(), std::invalid_argument);
}

}  // namespace
}  // namespace dv::sample
