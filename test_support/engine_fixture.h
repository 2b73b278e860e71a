// The engine tests' fixture: a data set laid out by hand on a share in a fresh temporary
// folder, and short names for sampledata's writers of the dealer's structures, which every
// fixture builds its files with.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/messages.h"
#include "platform/test_support.h"
#include "sampledata/index_writer.h"
#include "test_support/expect_error.h"

namespace dv::testing {

// value as `width` big-endian bytes (its low bytes).
std::string Be(int width, int64_t value);
// Puts bytes into data at 0-based offset, growing data with zero bytes as needed.
void PutAt(std::string& data, size_t offset, std::string_view bytes);

// A 160-byte LINKSFILE entry (sample::LinksEntry).
std::string LinkEntry(std::string_view name, std::string_view target);

// A 32-byte directory entry (sample::DirectoryEntry).
std::string DirEntry(std::string_view name, int32_t flags, int32_t position, int32_t record_length,
                     char file_type, int32_t last_record);

// Index entries as (key, pointer).
using Entries = std::vector<std::pair<std::string, int32_t>>;
// A 512-byte index node (sample::IndexNode): next-leaf field 0 for an inner node.
std::string Node(int32_t next_leaf, const Entries& entries);
// Block 0 of an index with this entry size, capacity and root (sample::IndexHeader).
std::string IndexHeader(int32_t entry_size, int32_t last_record, int32_t root);
// The key of the end marker.
std::string EndKey(int key_length);

// An index of these keys built by sample::IndexWriter, leaves of at most per_leaf entries (the
// end marker included) and inner nodes of at most per_inner.
sample::BuiltIndex BuildIndex(int key_length, const Entries& entries, int per_leaf, int per_inner);

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

}  // namespace dv::testing
