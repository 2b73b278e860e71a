// The byte layouts of the dealer data set's own structures, written once: directory entries,
// record zero, index headers and nodes, link-table entries, terminal-map lines and the catalog
// settings file. Each function returns the bytes of one structure; the writers only place them.
// All numbers are big-endian; positions in the comments are 1-based, as the layouts are written
// down.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dv::sample {

inline constexpr int32_t kBlock = 512;              // a block of a container or of FILE0
inline constexpr int32_t kDirectoryEntrySize = 32;  // one entry of a directory file
inline constexpr int32_t kLinkEntrySize = 160;      // one entry of LINKSFILE
inline constexpr int32_t kLinkFieldSize = 79;       // link name at 2, resolution at 82
inline constexpr int32_t kDirectoryNameSize = 10;   // name at 1, overlapping the flags at 7
inline constexpr int32_t kRecordZeroSize = 16;      // the header fields of record zero
inline constexpr int32_t kNodeHeaderSize = 4;       // entry count at 1, next leaf at 3
inline constexpr int32_t kNodeEntryBytes = kBlock - kNodeHeaderSize;  // 508
inline constexpr int32_t kLastLeaf = 65535;           // next-leaf field of the last leaf
inline constexpr int32_t kMaxNode = 65534;            // node numbers are 16-bit; 65535 ends chains
inline constexpr int32_t kMaxDepth = 7;               // levels a key cursor can hold
inline constexpr int64_t kMaxFileBytes = 0x7FFFFFFF;  // byte positions are signed 32-bit

// Writes the low `width` bytes of value big-endian at 1-based position of data.
void PutBE(std::string& data, int32_t position, int width, int64_t value);
// Reads `width` bytes big-endian, unsigned, at 1-based position.
uint32_t GetBE(std::string_view data, int32_t position, int width);

// One 32-byte directory entry. The name field is 10 bytes at 1, NUL padded; its bytes 7-8 are
// also the flags word and bytes 9-10 are unused, so a name of 6 characters or less keeps them 0
// unless flags is given (and then the entry no longer matches its name). Names longer than 6
// characters must come with flags 0.
struct DirectoryEntryFields {
    std::string name;
    int32_t flags = 0;          // C at 7
    int32_t position = 0;       // D at 11: first block in the container
    int32_t record_length = 0;  // C at 14
    char file_type = 'L';       // at 16: 'L' record file, 'I' index file
    int32_t last_record = 0;    // L at 17
};
std::string DirectoryEntry(const DirectoryEntryFields& fields);

// The 16 header bytes of record zero of a record file.
struct RecordZeroFields {
    int32_t status = -2;       // J at 1
    int32_t free_head = -1;    // L at 3: most recently deleted record; below 1 when none
    int32_t high_used = 0;     // L at 7
    int32_t active_count = 0;  // L at 11
};
std::string RecordZero(const RecordZeroFields& fields);

// Block 0 of an index file: eight C fields at 1, 3, ... 15, the rest zero.
struct IndexHeaderFields {
    int32_t entry_size = 0;        // at 1: key length + 4
    int32_t entries_per_node = 0;  // at 3: 508 / entry size
    int32_t capacity = 0;          // at 5: the file's LastRecord
    int32_t version = 2;           // at 7
    int32_t root = 1;              // at 9
    int32_t fill = 0;              // at 11: entries per node the file was loaded with
    int32_t header_value = 0;      // at 13
};
std::string IndexHeader(const IndexHeaderFields& fields);

// One 512-byte index node. Entries are (key, pointer) with every key exactly key_length bytes;
// next_leaf is 0 for an inner node, the next leaf's number or kLastLeaf for a leaf. The unused
// tail of the node is zero.
std::string IndexNode(const std::vector<std::pair<std::string, int32_t>>& entries,
                      int32_t next_leaf);

// The key of the end marker that closes every index.
std::string EndMarkerKey(int32_t key_length);

// One 160-byte LINKSFILE entry: byte 1 blank, link name at 2 blank-padded to 79 bytes, byte 81
// blank, resolution at 82 blank-padded to 79 bytes.
std::string LinksEntry(std::string_view link_name, std::string_view resolution);

// One terminal-map line: computer name or dotted address, blanks, terminal number, line feed.
std::string TtymapLine(std::string_view computer, std::string_view terminal);

// The catalog settings file: section "Sendrake" with its six keys, one per line.
struct CatalogFields {
    std::string server = "DS1";
    std::string data_share = "TMARLNK";
    std::string catalog_share = "CATCON";
    std::string directory = "D01";
    std::string terminal_id = "7";
    std::string customer_number = "40217";
};
std::string CatalogIni(const CatalogFields& fields);

}  // namespace dv::sample
