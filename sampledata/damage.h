// Damage on demand: each function breaks a built data set in one way a dealer's files can be
// broken, for the tests that check a reader ends with an error instead of hanging or reading
// outside a buffer. They work on the image before it is written.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "sampledata/data_set.h"

namespace dv::sample::damage {

// Cuts a file of the image to `size` bytes (a file shorter already is left alone).
void Truncate(DataSetImage& image, const std::string& path, int64_t size);
// Cuts the container of a logical file `keep` bytes after the start of that file, so the file
// and everything behind it in the container are cut off.
void TruncateLogical(DataSetImage& image, std::string_view name, int64_t keep);

// Points the next-leaf field of leaf `from` (its place in the chain, from 0; -1 the last) at
// leaf `to`, so the chain comes back on itself. With `from` the last leaf the end marker is
// still reached by KNext, but a walk of the whole chain never meets 65535.
void LoopLeafChain(DataSetImage& image, std::string_view index, int32_t from = -1, int32_t to = 0);
// The index's first two leaves each hold only the first leaf's first entry and name each other
// as the next leaf, and the directory claims `last_record` nodes: a loop every order check of
// a single step passes. The index must have two leaves at least.
void LoopLeavesOfOneKey(DataSetImage& image, std::string_view index, int32_t last_record);
// Sets the entry count of node `node` (0: the first leaf) to `count`; the default is one more
// entry than fits in 512 bytes.
void SetEntryCount(DataSetImage& image, std::string_view index, int32_t node = 0,
                   int32_t count = -1);
// Sets the root number of the header; the default is LastRecord + 1.
void SetRoot(DataSetImage& image, std::string_view index, int32_t node = -1);
// Sets the pointer of entry `entry` (from 1) of the root, an inner node, to `child`; the
// default is LastRecord + 1. The index must have two levels at least.
void SetChild(DataSetImage& image, std::string_view index, int32_t entry = 1, int32_t child = -1);
// Sets the record pointer of the `ordinal`-th key (from 0, in key order) to `record`.
void SetRecordPointer(DataSetImage& image, std::string_view index, int32_t ordinal, int32_t record);
// The same with the record one past the LastRecord of the record file the index serves.
void RecordPointerPastLastRecord(DataSetImage& image, std::string_view index,
                                 std::string_view record_file, int32_t ordinal = 0);

// A file named in LINKSFILE but missing: its directory entry is removed (the link stays).
void RemoveDirectoryEntry(DataSetImage& image, std::string_view name);
// The directory file that holds a logical file is removed.
void RemoveDirectoryFile(DataSetImage& image, std::string_view name);
// The container that holds a logical file is removed (its directory entry stays).
void RemoveContainer(DataSetImage& image, std::string_view name);

// Short records: the record file is laid out again with each record cut to `length` bytes
// and its directory entry says so, as a file written by an older layout would be.
void ShortenRecords(DataSetImage& image, std::string_view name, int32_t length);

// Record chains (a first record number in one record, each record naming the next in a link
// field of `width` bytes at `link_at`, 0 ending the chain). LoopRecordChain finds the first
// record whose link names another record and points that record's link back at it, so a walk
// that reaches it goes round for ever; ChainPastLastRecord points the first non-zero link at
// LastRecord + 1. With `first` above 0 they break the chain that starts at that record
// instead: its last record's link back to `first`, or `first`'s own link past the end. Both
// return the record whose link they changed.
int32_t LoopRecordChain(DataSetImage& image, std::string_view name, int32_t link_at, int width,
                        int32_t first = 0);
int32_t ChainPastLastRecord(DataSetImage& image, std::string_view name, int32_t link_at, int width,
                            int32_t first = 0);

// Record n of a record file as a deleted record reads: all zero bytes, its status word 0.
void ZeroRecord(DataSetImage& image, std::string_view name, int32_t record);
// Puts `value` into the field of `width` bytes at `at` (1-based) of record n of a record file.
void SetRecordField(DataSetImage& image, std::string_view name, int32_t record, int32_t at,
                    int width, int64_t value);
// A damage a user or a test script asks dashvane-sample for by name (--damage NAME), on the
// demo set of any scale.
struct NamedDamage {
    std::string_view name;         // lower case and dashes: the file it breaks first
    std::string_view description;  // one line for --help
    void (*apply)(DataSetImage& image);
};
// Every named damage, in the order --help lists them. Each subsystem adds lines for its own
// files to the table in damage.cpp.
std::span<const NamedDamage> NamedDamages();
// The damage of that name, or none.
const NamedDamage* FindNamedDamage(std::string_view name);
// Applies the damages in the order given. A damage whose bytes an earlier one cut away (a
// damage of a file behind LINEL after linel-cut) raises std::runtime_error naming it.
void ApplyNamedDamages(DataSetImage& image, std::span<const NamedDamage* const> damages);

}  // namespace dv::sample::damage
