#include "test_support/engine_fixture.h"

#include "engine/business_basic.h"
#include "engine/physical.h"
#include "engine/startup.h"
#include "engine/tables.h"
#include "platform/host.h"
#include "sampledata/formats.h"

namespace dv::testing {

std::string Be(int width, int64_t value) {
    std::string out(static_cast<size_t>(width), '\0');
    sample::PutBE(out, 1, width, value);
    return out;
}

void PutAt(std::string& data, size_t offset, std::string_view bytes) {
    if (data.size() < offset + bytes.size()) data.resize(offset + bytes.size(), '\0');
    data.replace(offset, bytes.size(), bytes);
}

std::string LinkEntry(std::string_view name, std::string_view target) {
    return sample::LinksEntry(name, target);
}

std::string DirEntry(std::string_view name, int32_t flags, int32_t position, int32_t record_length,
                     char file_type, int32_t last_record) {
    return sample::DirectoryEntry({.name = std::string(name),
                                   .flags = flags,
                                   .position = position,
                                   .record_length = record_length,
                                   .file_type = file_type,
                                   .last_record = last_record});
}

std::string Node(int32_t next_leaf, const Entries& entries) {
    return sample::IndexNode(entries, next_leaf);
}

std::string IndexHeader(int32_t entry_size, int32_t last_record, int32_t root) {
    return sample::IndexHeader({.entry_size = entry_size,
                                .entries_per_node = sample::kNodeEntryBytes / entry_size,
                                .capacity = last_record,
                                .root = root});
}

std::string EndKey(int key_length) {
    return sample::EndMarkerKey(key_length);
}

sample::BuiltIndex BuildIndex(int key_length, const Entries& entries, int per_leaf, int per_inner) {
    sample::IndexWriter writer("TESTI", key_length);
    for (const auto& [key, pointer] : entries) writer.Add(key, pointer);
    writer.Fill(per_leaf).InnerFill(per_inner);
    return writer.Build();
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
