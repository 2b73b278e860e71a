#include "engine/index.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include <unordered_set>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/logical.h"
#include "engine/physical.h"
#include "platform/file.h"
#include "platform/messages.h"

namespace dv {
namespace {

// KFind's out-of-range messages so far, and the text of the last.
uint64_t g_range_messages = 0;
std::string g_last_range_message;

constexpr size_t kNodeOffset = kCursorNodeAt - 1;      // 0-based start of the node copy
constexpr size_t kFirstEntryOffset = kNodeOffset + 4;  // 0-based start of entry 1

// One call's walk over one index file: node reads and the checks that bound every walk.
class Walk {
  public:
    Walk(const std::shared_ptr<cLogicalFile>& file, const char* source)
        : file_(file ? *file : Null(source)), source_(source), extent_(LogicalExtent(file_)) {}

    [[noreturn]] void Damaged(int32_t number, const std::string& what) const {
        throw BasicError(number, source_, "Damaged index file " + file_.FileName + ": " + what);
    }
    [[noreturn]] void BadCursor() const {
        throw BasicError(
            err::kIndexCursor, source_,
            "Index file " + file_.FileName + ": the cursor was not positioned by KFind or KLast");
    }

    std::string ReadBlock0() const {
        return iReadFile(file_.OpenFile, kBlockSize, BlockPosition(file_.Position, source_),
                         extent_);
    }
    // The same block seen in place: valid until the walk's next read.
    std::string_view ReadBlock0View() const {
        return iReadFileView(file_.OpenFile, kBlockSize, BlockPosition(file_.Position, source_),
                             extent_, scratch_);
    }

    // Node `node`, which must lie inside the index, seen in place: valid until the walk's next
    // read.
    std::string_view ReadNode(int32_t node) const {
        if (node < 1 || node > file_.LastRecord) {
            Damaged(err::kIndexNode, "node " + std::to_string(node) + " lies outside nodes 1 to " +
                                         std::to_string(file_.LastRecord));
        }
        return iReadFileView(file_.OpenFile, kBlockSize,
                             BlockPosition(static_cast<int64_t>(file_.Position) + node, source_),
                             extent_, scratch_);
    }

    void CheckEntrySize(int32_t entry_size) const {
        if (entry_size < kMinEntrySize || entry_size > kNodePayload) {
            Damaged(err::kIndexHeader,
                    "entry size " + std::to_string(entry_size) + " lies outside 5 to 508");
        }
    }

    void CheckCount(int32_t node, int32_t count, int32_t entry_size) const {
        if (static_cast<int64_t>(count) * entry_size > kNodePayload) {
            Damaged(err::kIndexEntries, "node " + std::to_string(node) + " holds " +
                                            std::to_string(count) + " entries of " +
                                            std::to_string(entry_size) +
                                            " bytes, more than a node holds");
        }
    }

    void CheckDepth(int32_t depth) const {
        if (depth > kIndexMaxDepth) Damaged(err::kIndexDepth, "the path is deeper than 7 levels");
    }

    // A leaf reached through the chain must be a leaf, and the chain must not come back.
    void CheckChainStep(int32_t from, int32_t next, std::unordered_set<int32_t>& seen) const {
        if (next == from || !seen.insert(next).second)
            Damaged(err::kIndexCycle, "the leaf chain comes back to node " + std::to_string(next));
    }
    void CheckIsLeaf(int32_t node, int32_t next_leaf) const {
        if (next_leaf == kInnerMark) {
            Damaged(err::kIndexNode, "the leaf chain leads to node " + std::to_string(node) +
                                         ", which is not a leaf");
        }
    }

    // A leaf's record pointer, -1 already read as 0: anything below 0 is no record number (and
    // negating it for an inexact match could not be trusted).
    int32_t CheckRecordPointer(int32_t node, int32_t n, int32_t pointer) const {
        if (pointer < 0) {
            Damaged(err::kIndexPointer, "entry " + std::to_string(n) + " of leaf " +
                                            std::to_string(node) + " points to record " +
                                            std::to_string(pointer));
        }
        return pointer;
    }
    // Record 0 (a pointer of 0, or -1, which reads as 0) belongs to the end marker alone: the last
    // entry of the last leaf, its key all 0xFF. On any other key it would end a walk early or
    // read as "nothing found" for a key the index holds.
    void CheckRecordZero(int32_t node, int32_t n, int32_t count, int32_t next_leaf,
                         std::string_view key, int32_t pointer) const {
        if (pointer != 0) return;
        if (n == count && next_leaf == kLastLeafMark && IsEndKey(key)) return;
        Damaged(err::kIndexRecordZero, "entry " + std::to_string(n) + " of leaf " +
                                           std::to_string(node) +
                                           " points to record 0 but is not the end marker");
    }
    // The last leaf ends with the end marker; a walk that runs past its last entry without
    // meeting it has lost the end of the index.
    void CheckEndMarker(int32_t node, std::string_view last_key, int32_t count) const {
        if (count > 0 && IsEndKey(last_key)) return;
        Damaged(err::kIndexNoEnd,
                "the last leaf " + std::to_string(node) + " does not end with the end marker");
    }
    static bool IsEndKey(std::string_view key) {
        for (const char c : key) {
            if (static_cast<unsigned char>(c) != 0xFF) return false;
        }
        return !key.empty();
    }

    // Keys run in ascending order inside a node and along a walk; equal keys are let through.
    void CheckAscending(int32_t node, std::string_view before, std::string_view after) const {
        if (!before.empty() && CompareKeys(after, before) < 0) {
            Damaged(err::kIndexKeyOrder,
                    "the keys go back in key order at node " + std::to_string(node));
        }
    }
    // Only the last leaf may be empty (an index without its end marker); an empty leaf inside
    // the chain would hide the keys that belong there.
    void CheckLeafHasEntries(int32_t node, int32_t count, int32_t next_leaf) const {
        if (count == 0 && next_leaf != kInnerMark && next_leaf != kLastLeafMark) {
            Damaged(err::kIndexEmptyLeaf,
                    "leaf " + std::to_string(node) + " holds no entries but is not the last");
        }
    }

    const cLogicalFile& file() const { return file_; }

    // The nodes the index's container holds from the index's start: its whole blocks after
    // block 0, as the open learned its length, measured again when that would end a walk (another
    // program may have written to the file since).
    int64_t NodesHeld() const {
        if (!file_.OpenFile || !file_.OpenFile->handle) return 0;
        const auto held = [&](int64_t length) {
            return length / kBlockSize - static_cast<int64_t>(file_.Position) - 1;
        };
        if (held_ < 0) held_ = held(file_.OpenFile->handle->OpenedLength());
        return held_;
    }
    // Measures the container again: NodesHeld grows when the file has.
    void Remeasure() const {
        int64_t now = 0;
        if (!file_.OpenFile || !file_.OpenFile->handle || file_.OpenFile->handle->Length(now) != 0)
            return;
        const int64_t held = now / kBlockSize - static_cast<int64_t>(file_.Position) - 1;
        if (held > held_) held_ = held;
    }

  private:
    static const cLogicalFile& Null(const char* source) { RaisePlatform(err::kNoObject, source); }

    const cLogicalFile& file_;
    const char* source_;
    FileExtent extent_;
    mutable std::string scratch_;  // a node read that the cache does not hold
    mutable int64_t held_ = -1;    // NodesHeld, once worked out
};

// In line wherever it is used, so that Unpack's decoding of the constant code folds.
[[gnu::always_inline]] inline int32_t Field(std::string_view data, const char* code,
                                            int32_t position) {
    return Unpack(code, data, position);
}

void PutNode(std::string& cursor, std::string_view node) {
    cursor.replace(kNodeOffset, static_cast<size_t>(kBlockSize), node);
}

void PutPath(std::string& cursor, int32_t depth, int32_t node) {
    Pack("C", cursor, node, 17 + 2 * depth);
}

int32_t PathAt(std::string_view cursor, int32_t depth) {
    return Field(cursor, "C", 17 + 2 * depth);
}

// The key of entry n, in place in the cursor (in line: a search calls it for every entry).
[[gnu::always_inline]] inline std::string_view KeyAt(std::string_view cursor, int32_t entry_size,
                                                     int32_t n) {
    return cursor.substr(kFirstEntryOffset + static_cast<size_t>(n - 1) * entry_size,
                         static_cast<size_t>(entry_size - 4));
}

// The pointer of entry n; -1 reads as 0.
int32_t PointerAt(std::string_view cursor, int32_t entry_size, int32_t n) {
    const size_t at = kFirstEntryOffset + static_cast<size_t>(n - 1) * entry_size;
    const int32_t pointer = Field(cursor, "L", static_cast<int32_t>(at) + entry_size - 4 + 1);
    return pointer == -1 ? 0 : pointer;
}

// Entry n of the cursor's node with a known entry size.
NodeEntry EntryAt(std::string_view cursor, int32_t entry_size, int32_t n) {
    return NodeEntry{std::string(KeyAt(cursor, entry_size, n)), PointerAt(cursor, entry_size, n)};
}

std::string_view RawEntry(std::string_view cursor, int32_t entry_size, int32_t n) {
    return cursor.substr(kFirstEntryOffset + static_cast<size_t>(n - 1) * entry_size,
                         static_cast<size_t>(entry_size));
}

void StartCursor(std::string& cursor, std::string_view block0) {
    if (cursor.size() < kCursorSize) cursor.append(kCursorSize - cursor.size(), '\0');
    cursor.replace(0, static_cast<size_t>(kBlockSize), block0);
    Pack("C", cursor, 0, kCursorStepsAt);
    Pack("C", cursor, 0, kCursorMarkAt);
    Pack("C", cursor, 1, kCursorMarkStepAt);
}

// Counts one move of a walk to another leaf, forward (+1, onto `leaf`) or back (-1, not below 0).
// The count lives in a 16-bit field; a chain reaches only leaves 1 to 65534 (its next-leaf field
// is 16 bits, 65535 the last-leaf mark), so no walk in key order crosses more than that many
// leaves, nor more than LastRecord claims or the container holds, and the limit always fires
// before the field would wrap. A forward move onto the marked leaf is a loop (kCursorMarkAt).
void CountLeafStep(const Walk& walk, std::string& cursor, int step, int32_t leaf = 0) {
    constexpr int64_t kChainLeaves = kLastLeafMark - 1;
    int64_t steps = static_cast<int64_t>(Field(cursor, "C", kCursorStepsAt)) + step;
    if (steps < 0) steps = 0;
    if (step > 0) {
        const int32_t mark = Field(cursor, "C", kCursorMarkAt);
        if (mark != 0 && leaf == mark)
            walk.Damaged(err::kIndexCycle, "the leaf chain comes back to node " +
                                               std::to_string(leaf) + " on a later step");
        const int64_t claimed = walk.file().LastRecord;
        if (steps > claimed || steps > kChainLeaves)
            walk.Damaged(err::kIndexCycle,
                         "the walk has crossed more leaves than the index has nodes");
        if (steps > walk.NodesHeld()) {
            walk.Remeasure();
            if (steps > walk.NodesHeld()) {
                walk.Damaged(err::kIndexCycle,
                             "the walk has crossed more leaves than the index file holds nodes (" +
                                 std::to_string(walk.NodesHeld()) + ")");
            }
        }
        const int64_t mark_step = Field(cursor, "C", kCursorMarkStepAt);
        if (steps >= mark_step) {
            Pack("C", cursor, leaf, kCursorMarkAt);
            Pack("C", cursor, static_cast<int32_t>(std::min<int64_t>(2 * steps, kLastLeafMark)),
                 kCursorMarkStepAt);
        }
    } else {
        Pack("C", cursor, 0, kCursorMarkAt);
        Pack("C", cursor, 0, kCursorMarkStepAt);
    }
    Pack("C", cursor, static_cast<int32_t>(steps), kCursorStepsAt);
}

// A step's last move onto entry i of the leaf in the cursor: the entry's record pointer and
// record zero checked, then its key and record handed out and the cursor left on it.
void TakeEntry(const Walk& walk, std::string& cursor, int32_t leaf, int32_t i, const NodeEntry& e,
               std::string& key, int32_t& record) {
    walk.CheckRecordPointer(leaf, i, e.pointer);
    walk.CheckRecordZero(leaf, i, Field(cursor, "C", kCursorNodeAt),
                         Field(cursor, "C", kCursorNodeAt + 2), e.key, e.pointer);
    key = e.key;
    record = e.pointer;
    Pack("B", cursor, i, kCursorIndexAt);
}

enum class FindEnd { kLeaf, kPastLastLeaf, kOutOfRange };

// A root or child node number above LastRecord: the message, and the search finds nothing.
FindEnd OutOfRange(const cLogicalFile& file, int32_t& record) {
    g_last_range_message = "Index is returning information out of Range.  File: " + file.FileName +
                           " LastRec: " + NumText(file.LastRecord);
    ++g_range_messages;
    platform::ShowMessage(std::string(platform::kApplicationTitle), g_last_range_message,
                          platform::MessageIcon::kCritical);
    record = 0;
    return FindEnd::kOutOfRange;
}

// The key a search looks for, with its first eight bytes as a number for the scan.
struct SoughtKey {
    explicit SoughtKey(std::string_view k) : key(k), head(KeyHeadOf(k)) {}
    // The first eight bytes of a key as a big-endian number, fewer padded with zeros: two keys
    // of one length whose heads differ order as their heads do.
    static uint64_t KeyHeadOf(std::string_view k) {
        uint64_t h = 0;
        for (size_t j = 0; j < 8; ++j)
            h = (h << 8) | (j < k.size() ? static_cast<unsigned char>(k[j]) : 0u);
        return h;
    }
    std::string_view key;
    uint64_t head;
};

// The head of the key of `length` bytes at p, read in one load when eight bytes lie before end.
[[gnu::always_inline]] inline uint64_t KeyHead(const char* p, size_t length, const char* end) {
    if (p + 8 > end) return SoughtKey::KeyHeadOf({p, length});
    uint64_t h = 0;
    std::memcpy(&h, p, 8);
    h = __builtin_bswap64(h);
    return length >= 8 ? h : h & ~(~uint64_t{0} >> (8 * length));
}

// A search's scan of the node in the cursor from its first entry: the first entry whose key
// sorts at or above the one sought, count + 1 when none does. Every key passed must sort at or
// above the one before it (CheckAscending's error otherwise, at the first that does not).
// Keys of one node all have the sought key's length, so comparing bytes is comparing keys.
int32_t ScanNode(const Walk& walk, int32_t node, std::string_view cursor, int32_t entry_size,
                 int32_t count, const SoughtKey& sought) {
    const size_t length = static_cast<size_t>(entry_size - 4);
    const size_t rest = length > 8 ? length - 8 : 0;  // bytes past the heads
    const char* const end = cursor.data() + cursor.size();
    const char* p = cursor.data() + kFirstEntryOffset;
    const char* before = nullptr;  // the key scanned last
    uint64_t before_head = 0;
    for (int32_t i = 1; i <= count; ++i, p += entry_size) {
        const uint64_t head = KeyHead(p, length, end);
        if (before != nullptr &&
            (head < before_head ||
             (head == before_head && rest > 0 && std::memcmp(p + 8, before + 8, rest) < 0))) {
            walk.CheckAscending(node, {before, length}, {p, length});
        }
        if (sought.head < head ||
            (sought.head == head &&
             (rest == 0 || std::memcmp(sought.key.data() + 8, p + 8, rest) <= 0)))
            return i;
        before = p;
        before_head = head;
    }
    return count + 1;
}

// KFind's search; reports how it ended and the leaf it ended in.
FindEnd Find(const Walk& walk, std::string& cursor, std::string& key, int32_t& record,
             int32_t& leaf) {
    const cLogicalFile& file = walk.file();
    const std::string_view block0 = walk.ReadBlock0View();  // copied into the cursor below
    const int32_t entry_size = Field(block0, "C", 1);
    const int32_t root = Field(block0, "C", 9);
    walk.CheckEntrySize(entry_size);
    key.resize(static_cast<size_t>(entry_size - 4), '\0');
    const SoughtKey sought(key);
    StartCursor(cursor, block0);
    if (root > file.LastRecord) return OutOfRange(file, record);
    // The leaves met: the one the descent ends in, and those the chain leads to after it (the
    // set is made at the first step along the chain; a search seldom takes one).
    int32_t descended_leaf = 0;
    std::unordered_set<int32_t> leaves_seen;
    int32_t node = root;
    int32_t depth = 0;
    while (true) {
        PutNode(cursor, walk.ReadNode(node));
        walk.CheckDepth(++depth);
        PutPath(cursor, depth, node);
        int32_t count = Field(cursor, "C", kCursorNodeAt);
        int32_t next = Field(cursor, "C", kCursorNodeAt + 2);
        walk.CheckCount(node, count, entry_size);
        walk.CheckLeafHasEntries(node, count, next);
        if (next != kInnerMark && descended_leaf == 0) descended_leaf = node;
        int32_t i = ScanNode(walk, node, cursor, entry_size, count, sought);
        while (i > count) {
            if (next == kInnerMark) {
                walk.Damaged(err::kIndexOrder, "node " + std::to_string(node) +
                                                   " holds no key at or above the one sought");
            }
            if (next == kLastLeafMark) {
                // Every key sorts at or below the all-0xFF end marker: a search runs past
                // the last leaf only when the marker is missing.
                walk.CheckEndMarker(node, count > 0 ? KeyAt(cursor, entry_size, count) : "", count);
                record = 0;
                leaf = node;
                return FindEnd::kPastLastLeaf;
            }
            if (descended_leaf != 0) {
                leaves_seen.insert(descended_leaf);
                descended_leaf = 0;
            }
            walk.CheckChainStep(node, next, leaves_seen);
            PutNode(cursor, walk.ReadNode(next));
            node = next;
            PutPath(cursor, depth, node);
            count = Field(cursor, "C", kCursorNodeAt);
            next = Field(cursor, "C", kCursorNodeAt + 2);
            walk.CheckCount(node, count, entry_size);
            walk.CheckIsLeaf(node, next);
            walk.CheckLeafHasEntries(node, count, next);
            // The scan starts afresh: a chain that goes back shows as a cycle, or to KNext.
            i = ScanNode(walk, node, cursor, entry_size, count, sought);
        }
        record = PointerAt(cursor, entry_size, i);
        if (next == kInnerMark) {
            if (record > file.LastRecord) return OutOfRange(file, record);
            node = record;  // descend
            continue;
        }
        walk.CheckRecordPointer(node, i, record);
        walk.CheckRecordZero(node, i, count, next, KeyAt(cursor, entry_size, i), record);
        if (const std::string_view found = KeyAt(cursor, entry_size, i);
            CompareKeys(key, found) < 0) {
            record = -record;
            key.assign(found);
        }
        Pack("B", cursor, i, kCursorIndexAt);
        Pack("B", cursor, depth, kCursorDepthAt);
        leaf = node;
        return FindEnd::kLeaf;
    }
}

// The walk state a cursor carries, checked before it is trusted.
struct CursorState {
    int32_t entry_size = 0;
    NodeInfo info;
};

CursorState ReadCursor(const Walk& walk, const std::string& cursor) {
    if (cursor.size() < kCursorSize) walk.BadCursor();
    CursorState s;
    s.entry_size = Field(cursor, "C", 1);
    s.info = GetNodeInfo(cursor);
    if (s.entry_size < kMinEntrySize || s.entry_size > kNodePayload) walk.BadCursor();
    if (static_cast<int64_t>(s.info.count) * s.entry_size > kNodePayload) walk.BadCursor();
    if (s.info.index > s.info.count) walk.BadCursor();
    return s;
}

// One step back from the cursor's entry. False at the first entry of the index, with the
// cursor left as it was.
bool StepBack(const Walk& walk, std::string& cursor, std::string& key, int32_t& record) {
    const std::string saved = cursor;
    try {
        const CursorState s = ReadCursor(walk, cursor);
        const int32_t es = s.entry_size;
        const int32_t depth = s.info.depth;
        if (depth < 1 || depth > kIndexMaxDepth || s.info.index < 1) walk.BadCursor();
        int32_t i = s.info.index;
        int32_t count = s.info.count;
        int32_t level = depth;
        while (i == 1) {
            --level;
            if (level < 1) {
                cursor = saved;
                record = 0;
                return false;
            }
            // The entry by which the parent points to this node: its last key, and its number.
            const int32_t child = PathAt(cursor, level + 1);
            key = std::string(RawEntry(cursor, es, count));
            Pack("L", key, child, es - 3);
            const int32_t parent = PathAt(cursor, level);
            PutNode(cursor, walk.ReadNode(parent));
            count = Field(cursor, "C", kCursorNodeAt);
            walk.CheckCount(parent, count, es);
            i = 0;
            for (int32_t j = count; j >= 1; --j) {
                if (RawEntry(cursor, es, j) == key) {
                    i = j;
                    break;
                }
            }
            if (i == 0) {
                walk.Damaged(err::kIndexParent, "node " + std::to_string(parent) +
                                                    " holds no entry for its child " +
                                                    std::to_string(child));
            }
        }
        while (level < depth) {
            const int32_t child = EntryAt(cursor, es, i - 1).pointer;
            PutNode(cursor, walk.ReadNode(child));
            ++level;
            PutPath(cursor, level, child);
            count = Field(cursor, "C", kCursorNodeAt);
            walk.CheckCount(child, count, es);
            if (count < 1)
                walk.Damaged(err::kIndexEntries,
                             "node " + std::to_string(child) + " holds no entries");
            i = count + 1;
        }
        if (s.info.index == 1)  // it climbed: the entry lies in another leaf
            CountLeafStep(walk, cursor, -1);
        --i;
        const NodeEntry e = EntryAt(cursor, es, i);
        const int32_t leaf = PathAt(cursor, depth);
        if (s.info.index > 1)  // within one leaf: the entry left must not sort below this one
            walk.CheckAscending(leaf, e.key, EntryAt(cursor, es, i + 1).key);
        TakeEntry(walk, cursor, leaf, i, e, key, record);
        return true;
    } catch (const BasicError&) {
        cursor = saved;
        throw;
    }
}

}  // namespace

uint64_t RangeMessagesShown() {
    return g_range_messages;
}

const std::string& LastRangeMessage() {
    return g_last_range_message;
}

int32_t AbsoluteRecord(int32_t record) {
    if (record == std::numeric_limits<int32_t>::min()) return 0;  // no record a file can hold
    return record < 0 ? -record : record;
}

std::array<int32_t, 8> GetNodeHeader(std::string_view data) {
    std::array<int32_t, 8> fields{};
    for (int32_t k = 0; k < 8; ++k) fields[static_cast<size_t>(k)] = Field(data, "C", 1 + 2 * k);
    return fields;
}

NodeInfo GetNodeInfo(std::string_view cursor) {
    NodeInfo info;
    info.index = Field(cursor, "B", kCursorIndexAt);
    info.depth = Field(cursor, "B", kCursorDepthAt);
    info.count = Field(cursor, "C", kCursorNodeAt);
    info.next_leaf = Field(cursor, "C", kCursorNodeAt + 2);
    return info;
}

NodeEntry GetNodeEntry(std::string_view cursor, int32_t n) {
    const int32_t entry_size = Field(cursor, "C", 1);
    const int64_t end =
        static_cast<int64_t>(kFirstEntryOffset) + static_cast<int64_t>(n) * entry_size;
    if (n < 1 || entry_size < kMinEntrySize || end > static_cast<int64_t>(cursor.size()))
        RaisePlatform(err::kSubscript, "GetNodeEntry");
    return EntryAt(cursor, entry_size, n);
}

int32_t CompareKeys(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t k = 0; k < n; ++k) {
        const int32_t x = static_cast<unsigned char>(a[k]);
        const int32_t y = static_cast<unsigned char>(b[k]);
        if (x != y) return x - y;
    }
    return static_cast<int32_t>(a.size()) - static_cast<int32_t>(b.size());
}

void iKFind(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record) {
    const Walk walk(file, "KFind");
    int32_t leaf = 0;
    Find(walk, cursor, key, record, leaf);
}

void iKNext(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record) {
    const Walk walk(file, "KNext");
    const CursorState s = ReadCursor(walk, cursor);
    int32_t i = s.info.index;
    if (i == s.info.count) {
        int32_t next = s.info.next_leaf;
        if (next == kLastLeafMark) {
            walk.CheckEndMarker(
                PathAt(cursor, s.info.depth < 1 ? 1 : s.info.depth),
                s.info.count > 0 ? KeyAt(cursor, s.entry_size, s.info.count) : std::string_view(),
                s.info.count);
            record = 0;
            return;
        }
        const int32_t depth = s.info.depth;
        if (depth < 1 || depth > kIndexMaxDepth) walk.BadCursor();
        int32_t current = PathAt(cursor, depth);
        if (next == kInnerMark) walk.BadCursor();  // the cursor's node is no leaf
        // Move to the next leaf; leaves without entries are passed over. The cursor can't
        // remember the leaves of earlier calls, but leaves run in ascending key order, so a
        // chain that comes back shows as a leaf whose first key sorts before the last key seen.
        std::string last_key;
        if (s.info.count > 0) last_key = EntryAt(cursor, s.entry_size, s.info.count).key;
        std::unordered_set<int32_t> seen{current};
        while (true) {
            walk.CheckChainStep(current, next, seen);
            CountLeafStep(walk, cursor, +1, next);
            const std::string_view node = walk.ReadNode(next);
            const int32_t count = Field(node, "C", 1);
            const int32_t after = Field(node, "C", 3);
            walk.CheckCount(next, count, s.entry_size);
            walk.CheckIsLeaf(next, after);
            if (count > 0 && !last_key.empty()) {
                const std::string_view first =
                    node.substr(4, static_cast<size_t>(s.entry_size - 4));
                if (CompareKeys(first, last_key) < 0) {
                    walk.Damaged(
                        err::kIndexCycle,
                        "the leaf chain goes back in key order at node " + std::to_string(next));
                }
            }
            walk.CheckLeafHasEntries(next, count, after);
            PutNode(cursor, node);
            PutPath(cursor, depth, next);
            current = next;
            next = after;
            i = 0;
            if (count > 0) break;
            if (next == kLastLeafMark) walk.CheckEndMarker(current, {}, 0);
        }
    }
    ++i;
    const NodeEntry e = EntryAt(cursor, s.entry_size, i);
    const int32_t leaf = PathAt(cursor, s.info.depth < 1 ? 1 : s.info.depth);
    if (i > 1) walk.CheckAscending(leaf, EntryAt(cursor, s.entry_size, i - 1).key, e.key);
    TakeEntry(walk, cursor, leaf, i, e, key, record);
}

void iKPrev(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record) {
    const Walk walk(file, "KPrev");
    StepBack(walk, cursor, key, record);
}

void iKLast(const std::shared_ptr<cLogicalFile>& file, std::string& cursor, std::string& key,
            int32_t& record) {
    const Walk walk(file, "KLast");
    const std::string block0 = walk.ReadBlock0();
    const int32_t entry_size = Field(block0, "C", 1);
    walk.CheckEntrySize(entry_size);
    StartCursor(cursor, block0);
    int32_t node = Field(block0, "C", 9);
    int32_t depth = 0;
    int32_t count = 0;
    while (true) {
        PutNode(cursor, walk.ReadNode(node));
        walk.CheckDepth(++depth);
        PutPath(cursor, depth, node);
        count = Field(cursor, "C", kCursorNodeAt);
        const int32_t next = Field(cursor, "C", kCursorNodeAt + 2);
        walk.CheckCount(node, count, entry_size);
        if (count < 1)
            walk.Damaged(err::kIndexEntries, "node " + std::to_string(node) + " holds no entries");
        if (next != kInnerMark) break;
        node = EntryAt(cursor, entry_size, count).pointer;
    }
    Pack("B", cursor, depth, kCursorDepthAt);
    walk.CheckEndMarker(node, KeyAt(cursor, entry_size, count), count);
    if (count >= 2) {
        const NodeEntry e = EntryAt(cursor, entry_size, count - 1);
        walk.CheckRecordPointer(node, count - 1, e.pointer);
        walk.CheckRecordZero(node, count - 1, count, kLastLeafMark, e.key, e.pointer);
        key = e.key;
        record = e.pointer;
        Pack("B", cursor, count - 1, kCursorIndexAt);
        return;
    }
    // The last leaf holds only the end marker: the last key, if any, lies in an earlier leaf.
    Pack("B", cursor, 1, kCursorIndexAt);
    if (!StepBack(walk, cursor, key, record)) {
        key = EntryAt(cursor, entry_size, 1).key;
        record = 0;
    }
}

int32_t iKCount(const std::shared_ptr<cLogicalFile>& file) {
    const Walk walk(file, "KCount");
    std::string cursor(kCursorSize, '\0');
    std::string key;
    int32_t record = 0;
    int32_t leaf = 0;
    if (Find(walk, cursor, key, record, leaf) == FindEnd::kOutOfRange) return 0;
    const int32_t entry_size = Field(cursor, "C", 1);
    int64_t total = Field(cursor, "C", kCursorNodeAt);
    int32_t next = Field(cursor, "C", kCursorNodeAt + 2);
    std::unordered_set<int32_t> seen{leaf};
    int32_t current = leaf;
    while (next != kLastLeafMark) {
        walk.CheckChainStep(current, next, seen);
        const std::string_view node = walk.ReadNode(next);
        const int32_t count = Field(node, "C", 1);
        walk.CheckCount(next, count, entry_size);
        current = next;
        next = Field(node, "C", 3);
        walk.CheckIsLeaf(current, next);
        walk.CheckLeafHasEntries(current, count, next);
        total += count;
    }
    return static_cast<int32_t>(total - 1);
}

int32_t iKLength(const std::shared_ptr<cLogicalFile>& file) {
    const Walk walk(file, "KLength");
    return Field(walk.ReadBlock0(), "C", 1) - 4;
}

}  // namespace dv
