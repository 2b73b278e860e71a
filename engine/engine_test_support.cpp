#include "engine/engine_test_support.h"

#include <algorithm>

#include "engine/business_basic.h"
#include "engine/physical.h"
#include "engine/startup.h"
#include "engine/tables.h"
#include "platform/host.h"

namespace dv::testing {

std::string Be(int width, int64_t value) {
    std::string out(static_cast<size_t>(width), '\0');
    for (int i = width - 1; i >= 0; --i) {
        out[static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
    return out;
}

void PutAt(std::string& data, size_t offset, std::string_view bytes) {
    if (data.size() < offset + bytes.size()) data.resize(offset + bytes.size(), '\0');
    data.replace(offset, bytes.size(), bytes);
}

std::string LinkEntry(std::string_view name, std::string_view target) {
    std::string e(160, ' ');
    e.replace(1, name.size(), name);
    e.replace(81, target.size(), target);
    return e;
}

std::string DirEntry(std::string_view name, int32_t flags, int32_t position, int32_t record_length,
                     char file_type, int32_t last_record) {
    std::string e(32, '\0');
    e.replace(0, name.size(), name);
    PutAt(e, 6, Be(2, flags));
    PutAt(e, 10, Be(3, position));
    PutAt(e, 13, Be(2, record_length));
    e[15] = file_type;
    PutAt(e, 16, Be(4, last_record));
    return e;
}

std::string Node(int32_t next_leaf, const Entries& entries) {
    std::string n(512, '\0');
    PutAt(n, 0, Be(2, static_cast<int64_t>(entries.size())));
    PutAt(n, 2, Be(2, next_leaf));
    size_t at = 4;
    for (const auto& [key, pointer] : entries) {
        PutAt(n, at, key);
        PutAt(n, at + key.size(), Be(4, pointer));
        at += key.size() + 4;
    }
    return n;
}

std::string IndexHeader(int32_t entry_size, int32_t last_record, int32_t root) {
    std::string h(512, '\0');
    PutAt(h, 0, Be(2, entry_size));
    PutAt(h, 2, Be(2, 508 / entry_size));
    PutAt(h, 4, Be(2, last_record));
    PutAt(h, 6, Be(2, 2));
    PutAt(h, 8, Be(2, root));
    return h;
}

std::string EndKey(int key_length) {
    return std::string(static_cast<size_t>(key_length), '\xFF');
}

BuiltIndex BuildIndex(int key_length, const Entries& entries, int per_leaf, int per_inner) {
    Entries all = entries;
    all.emplace_back(EndKey(key_length), -1);
    std::vector<std::string> nodes;  // node k at index k - 1
    // Leaves, each remembered as (highest key, node number).
    Entries level;
    for (size_t at = 0; at < all.size(); at += static_cast<size_t>(per_leaf)) {
        const size_t end = std::min(all.size(), at + static_cast<size_t>(per_leaf));
        const Entries chunk(all.begin() + static_cast<long>(at),
                            all.begin() + static_cast<long>(end));
        const int32_t number = static_cast<int32_t>(nodes.size()) + 1;
        const int32_t next = end == all.size() ? 65535 : number + 1;
        nodes.push_back(Node(next, chunk));
        level.emplace_back(chunk.back().first, number);
    }
    BuiltIndex built;
    built.leaves = static_cast<int32_t>(nodes.size());
    built.depth = 1;
    while (level.size() > 1) {
        Entries upper;
        for (size_t at = 0; at < level.size(); at += static_cast<size_t>(per_inner)) {
            const size_t end = std::min(level.size(), at + static_cast<size_t>(per_inner));
            const Entries chunk(level.begin() + static_cast<long>(at),
                                level.begin() + static_cast<long>(end));
            nodes.push_back(Node(0, chunk));
            upper.emplace_back(chunk.back().first, static_cast<int32_t>(nodes.size()));
        }
        level = std::move(upper);
        ++built.depth;
    }
    built.root = level.front().second;
    built.last_record = static_cast<int32_t>(nodes.size());
    built.bytes = IndexHeader(key_length + 4, built.last_record, built.root);
    for (const std::string& n : nodes) built.bytes += n;
    return built;
}

void ResetEngineState() {
    dv::ResetEngineState();
}

EngineFixture::EngineFixture()
    : shares_env_("DASHVANE_SHARES", shares_.path()),
      temp_env_("TMPDIR", temp_.path()),
      sink_(std::make_shared<platform::RecordingMessageSink>()) {
    ResetEngineState();
    old_sink_ = platform::SetMessageSink(sink_);
    const int32_t address = platform::GetHostAddress("10.0.0.7");
    platform::SetHostServices(
        {[] { return std::string("WS7"); },
         [address](std::string_view host) { return host == "WS7" ? address : -1; }});
}

EngineFixture::~EngineFixture() {
    ResetEngineState();
    SetWritesAllowed(false);
    platform::SetHostServices({});
    platform::SetMessageSink(old_sink_);
}

std::string EngineFixture::SharePath(std::string_view relative) const {
    return shares_ / ("DS1/TMARLNK/" + std::string(relative));
}

void EngineFixture::WriteShareFile(std::string_view relative, std::string_view bytes) const {
    WriteFile(SharePath(relative), bytes);
}

void EngineFixture::WriteCatalog(std::string_view text) const {
    WriteFile(temp_ / "tMRCatalog.ini", text);
}

void EngineFixture::WriteMinimalDataSet() const {
    WriteCatalog("[Sendrake]\r\nServer=DS1\r\nDirectory=D01\r\n");
    WriteShareFile("ttymap", "WS7 12,console\n");
    WriteShareFile("LINKSFILE", "");
}

void EngineFixture::StartEngine() const {
    LoadCatalogSettings();
    ASSERT_TRUE(mBusinessBasic) << "engine not created";
}

}  // namespace dv::testing
