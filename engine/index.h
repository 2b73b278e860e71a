// Keyed index files: block 0 the header, block k node k; entries of key + 4-byte pointer in
// ascending key order; leaves chained left to right, the last ending with the all-0xFF end
// marker whose pointer -1 reads as record 0. A 544-byte cursor carries a walk between calls.
// Every walk is bounded: a damaged index ends the call with a numbered error naming the file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/tables.h"

namespace dv {

// Structural limits of an index.
inline constexpr int32_t kIndexMaxDepth = 7;     // path slots the cursor holds
inline constexpr int32_t kNodePayload = 508;     // bytes of entries a node holds
inline constexpr int32_t kMinEntrySize = 5;      // a key of at least one byte, and a pointer
inline constexpr int32_t kLastLeafMark = 65535;  // next-leaf field of the last leaf
inline constexpr int32_t kInnerMark = 0;         // next-leaf field of an inner node

// Cursor layout (1-based positions).
inline constexpr int32_t kCursorIndexAt = 17;  // B: entry index in the current node
inline constexpr int32_t kCursorDepthAt = 18;  // B: depth of the current node (root 1)
inline constexpr int32_t kCursorPathAt = 19;   // C x 7: node number of depth d at 17 + 2d
inline constexpr int32_t kCursorNodeAt = 33;   // the current node's 512 bytes
// C at 15, the header's unused last field: the leaves KNext has moved to since KFind or KLast
// started the walk (KPrev counts back). A walk in key order crosses fewer leaves than the index
// has nodes, claimed (LastRecord) and held (the blocks its container holds from its start); one
// that crosses more is going round a loop that no single call can see.
inline constexpr int32_t kCursorStepsAt = 15;
// C at 11 and 13, copies of header fields no walk reads (the fill value and the header value):
// the leaf KNext last marked, and the step count at which it marks the next (steps 1, 2, 4, 8
// ...). A walk that comes back to the marked leaf is going round a loop, which this finds
// within a few times the loop's length (Brent's method), whatever the index claims. KPrev
// clears the mark: a walk that went back may meet a leaf again.
inline constexpr int32_t kCursorMarkAt = 11;
inline constexpr int32_t kCursorMarkStepAt = 13;

// The eight C fields at 1, 3, ..., 15 of block 0 or of a cursor.
std::array<int32_t, 8> GetNodeHeader(std::string_view data);

struct NodeInfo {
    int32_t index = 0;      // entry index (B at 17)
    int32_t depth = 0;      // depth (B at 18)
    int32_t count = 0;      // entry count of the current node (C at 33)
    int32_t next_leaf = 0;  // next-leaf field of the current node (C at 35)
};
NodeInfo GetNodeInfo(std::string_view cursor);

struct NodeEntry {
    std::string key;
    int32_t pointer = 0;  // -1 reads as 0
};
// Entry n of the cursor's node; the entry size comes from the cursor's header field at 1.
NodeEntry GetNodeEntry(std::string_view cursor, int32_t n);

// Byte-by-byte unsigned comparison up to the shorter length: the difference of the first two
// differing bytes (a's minus b's), else the length of a minus the length of b.
int32_t CompareKeys(std::string_view a, std::string_view b);

// record > 0: exact match; < 0: minus the record of the next higher key, which replaces key;
// 0: nothing at or above key. A root above LastRecord shows the out-of-range message and
// gives 0.
void iKFind(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record);
void iKNext(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record);
void iKPrev(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record);
void iKLast(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record);
// KFind's out-of-range message leaves the search with record 0, which a caller can't tell from
// "nothing found": the count of messages shown so far and the last text let the code around a
// fill see that one came up while it ran.
uint64_t RangeMessagesShown();
const std::string& LastRangeMessage();

// The record number of a KFind result, exact (record > 0) or not (record < 0); defined for
// every value, the smallest integer giving 0.
int32_t AbsoluteRecord(int32_t record);

int32_t iKCount(const std::shared_ptr<cLogicalFile>& file);
int32_t iKLength(const std::shared_ptr<cLogicalFile>& file);

}  // namespace dv
