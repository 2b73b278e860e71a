// Test helpers for the engine: byte builders for the dealer's file formats, written from their
// layouts independently of the engine's own decoders, and a fixture that lays out a data set on
// a share in a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/error.h"
#include "platform/messages.h"
#include "platform/test_support.h"

namespace dv::testing {

// value as `width` big-endian bytes (its low bytes).
std::string Be(int width, int64_t value);
// Puts bytes into data at 0-based offset, growing data with zero bytes as needed.
void PutAt(std::string& data, size_t offset, std::string_view bytes);

// A 160-byte LINKSFILE entry: a blank, the link name in 79 bytes, a blank, the target in 79.
std::string LinkEntry(std::string_view name, std::string_view target);

// A 32-byte directory entry: name in bytes 1-6 (NUL-padded), flags (C at 7), position (D at
// 11), record length (C at 14), file type (byte 16), last record (L at 17).
std::string DirEntry(std::string_view name, int32_t flags, int32_t position, int32_t record_length,
                     char file_type, int32_t last_record);

// A 512-byte index node: entry count, next-leaf field (0 for an inner node), the entries.
std::string Node(int32_t next_leaf, const std::vector<std::pair<std::string, int32_t>>& entries);
// Block 0 of an index with this entry size, capacity and root.
std::string IndexHeader(int32_t entry_size, int32_t last_record, int32_t root);

// Index entries as (key, pointer); the key of the end marker.
using Entries = std::vector<std::pair<std::string, int32_t>>;
std::string EndKey(int key_length);

// An index built from sorted keys: block 0 and its nodes, leaves of at most per_leaf entries
// (the end marker appended to the last), inner nodes of at most per_inner entries.
struct BuiltIndex {
    std::string bytes;        // block 0 then node 1, 2, ...
    int32_t last_record = 0;  // number of nodes
    int32_t root = 0;
    int depth = 0;
    int32_t leaves = 0;
};
BuiltIndex BuildIndex(int key_length, const Entries& entries, int per_leaf, int per_inner);

// A data set on a share in a temporary folder: server DS1, data directory D01. Sets
// DASHVANE_SHARES and TMPDIR, records message boxes, fixes this computer's identity as WS7 at
// 10.0.0.7, and leaves the engine's program-wide state empty afterwards.
class EngineFixture : public ::testing::Test {
  protected:
    EngineFixture();
    ~EngineFixture() override;

    // Local path of a file relative to the link share \\DS1\TMARLNK.
    std::string SharePath(std::string_view relative) const;
    void WriteShareFile(std::string_view relative, std::string_view bytes) const;
    void WriteCatalog(std::string_view text) const;
    // A catalog naming DS1 and D01, a terminal map, and an empty LINKSFILE.
    void WriteMinimalDataSet() const;
    // LoadCatalogSettings, expecting the global engine to exist afterwards.
    void StartEngine() const;

    const std::vector<platform::Message>& messages() const { return sink_->messages; }

    TempFolder shares_;
    TempFolder temp_;

  private:
    ScopedEnv shares_env_;
    ScopedEnv temp_env_;
    std::shared_ptr<platform::RecordingMessageSink> sink_;
    std::shared_ptr<platform::MessageSink> old_sink_;
};

// Drops every piece of the engine's program-wide state.
void ResetEngineState();

// Expects fn to raise number with this source and description.
template <typename Fn>
void ExpectError(Fn fn, int32_t number, const std::string& source, const std::string& description) {
    try {
        fn();
        ADD_FAILURE() << "no error raised; expected " << number;
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.source(), source);
        EXPECT_EQ(e.description(), description);
    }
}

}  // namespace dv::testing
