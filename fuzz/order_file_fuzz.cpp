// An arbitrary per-document order file in the data directory of the tiny demo set, read as the
// Returns and Open Purchase Orders views read it (the row's summary) and as the order detail
// reads it (header, comments, every line and its part lookup through PARTI and PARTL). Each
// read must end, with figures or a numbered error, and the document's file must be closed
// again on every path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/business_basic.h"
#include "engine/error.h"
#include "engine/tables.h"
#include "fuzz/fuzz_scratch.h"
#include "parts/order_files.h"
#include "parts/views/order_detail.h"
#include "platform/messages.h"
#include "sampledata/demo_set.h"
#include "shell/detail_form.h"
#include "shell/grid_model.h"
#include "shell/operation_log.h"

namespace {

namespace fs = std::filesystem;

class QuietSink : public dv::platform::MessageSink {
  public:
    void Show(const dv::platform::Message&) override {}
};

class NoProgress : public dv::DetailProgress {
  public:
    void SetLoadingVisible(bool) override {}
    void SetProgressValue(int) override {}
};

// A document name the demo set does not use.
constexpr const char* kDocument = "R19999";
constexpr const char* kDocumentPath = "\\\\DS1\\TMARLNK\\D01\\R19999";

// The demo set written once per process, with the global engine over it; the path of the
// document file.
const fs::path& DocumentPath() {
    static const fs::path path = [] {
        const fs::path& base = dv::fuzz::Scratch("order");
        dv::sample::BuildDemoSet(dv::sample::Scale::kTiny).Write(base / "share", base / "tmp");
        setenv("DASHVANE_SHARES", (base / "share").c_str(), 1);
        setenv("TMPDIR", (base / "tmp").c_str(), 1);
        dv::mLogPath = "/dev/null";
        dv::platform::SetMessageSink(std::make_shared<QuietSink>());
        dv::LoadCatalogSettings();
        if (!dv::mBusinessBasic) std::abort();
        return base / "share/DS1/TMARLNK/D01" / kDocument;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path& path = DocumentPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        dv::ReadOrderSummary(kDocument);
    } catch (const dv::BasicError&) {
    }
    dv::GridModel rows("grdReturn");
    dv::NoDetailHost host;
    NoProgress progress;
    dv::ShowReturnDetail(kDocument, rows, 0, host);
    dv::ShowPODetail(kDocument, rows, 0, progress, host);
    // The document is closed again and its logical-file entry dropped (the index and record
    // files the lookups opened stay open, as the engine keeps them).
    if (dv::mOpenFiles->Find(kDocumentPath)) __builtin_trap();
    for (const auto& slot : *dv::mLogicalFiles) {
        if (slot.item->FileName == kDocumentPath) __builtin_trap();
    }
    return 0;
}
