// An index file being built: (key, record number) pairs, bulk-loaded into 512-byte nodes.
//
// The layout the walk relies on: keys sorted as unsigned bytes; leaves chained left to right,
// the last one with next-leaf 65535; each inner entry holds the highest key of its subtree and
// the child's node number; the last entry of the last leaf is the end marker (all 0xFF, pointer
// -1). Nodes are numbered leaves first, left to right, then each inner level bottom-up, so the
// root is the highest node used. Block 0 is the header. The entries of a level are spread
// evenly over its nodes, the fuller nodes last, so the last leaf always holds a key before the
// end marker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dv::sample {

// Where the parts of a built index lie: node numbers, in key order per level.
struct IndexLayout {
    int32_t key_length = 0;
    int32_t entry_size = 0;
    int32_t fill = 0;  // entries per node the load used
    int32_t root = 0;
    int32_t depth = 0;                 // levels; 1 when the root is the only leaf
    int32_t last_record = 0;           // highest node number of the file (nodes used + spare)
    std::vector<int32_t> leaves;       // leaf node numbers in chain order
    std::vector<int32_t> leaf_counts;  // entries of each leaf, the end marker included
    // levels[0] are the leaves, levels.back() is {root}.
    std::vector<std::vector<int32_t>> levels;
};

struct BuiltIndex {
    IndexLayout layout;
    std::string bytes;  // block 0 and nodes 1 to last_record, 512 bytes each
};

class IndexWriter {
  public:
    // Keys are key_length bytes; entries per node are at most 508 / (key_length + 4).
    IndexWriter(std::string name, int32_t key_length);

    const std::string& name() const { return name_; }
    int32_t key_length() const { return key_length_; }
    // Entries that fit in one node.
    int32_t MaxFill() const;

    // Adds a key. A shorter key is padded with NUL bytes (as a search fits its key); a longer
    // one, or one of all 0xFF bytes (the end marker's), is refused. Order does not matter.
    IndexWriter& Add(std::string_view key, int32_t record);
    // Entries per node, leaves and inner nodes alike; 0 (the default) fills nodes completely.
    // A small fill gives several levels from few keys: 20 keys at fill 3 make seven leaves,
    // three inner nodes and a root.
    IndexWriter& Fill(int32_t entries_per_node);
    // Entries per inner node when they differ from the leaves' (0: as the leaves).
    IndexWriter& InnerFill(int32_t entries_per_node);
    // Unused zero nodes after the last node used; they raise LastRecord.
    IndexWriter& Spare(int32_t nodes);
    // The value stored at 13 of the header; nothing reads it.
    IndexWriter& HeaderValue(int32_t value);

    size_t Count() const { return entries_.size(); }
    // The keys and records in the order the index holds them (unsigned bytes, then record).
    std::vector<std::pair<std::string, int32_t>> Sorted() const;

    BuiltIndex Build() const;

  private:
    std::string name_;
    int32_t key_length_;
    int32_t fill_ = 0;
    int32_t inner_fill_ = 0;
    int32_t spare_ = 0;
    int32_t header_value_ = 0;
    std::vector<std::pair<std::string, int32_t>> entries_;
};

// Compares keys as the engine does: byte by byte as unsigned values, then the shorter first.
int CompareKeys(std::string_view a, std::string_view b);

}  // namespace dv::sample
