// Resolving a logical name through an arbitrary directory file, and reading records and record
// zero of whatever entry it yields from an arbitrary container.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/business_basic.h"
#include "engine/error.h"
#include "fuzz/fuzz_scratch.h"
#include "platform/host.h"
#include "platform/messages.h"

namespace {

namespace fs = std::filesystem;

class QuietSink : public dv::platform::MessageSink {
  public:
    void Show(const dv::platform::Message&) override {}
};

void Write(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Padded(std::string_view text, size_t n) {
    std::string s(text);
    s.resize(n, ' ');
    return s;
}

// A share with one link, :D01:XFILE -> D01:DATAD1, laid out once per process.
const fs::path& Share() {
    static const fs::path root = [] {
        const fs::path& base = dv::fuzz::Scratch("dir");
        fs::create_directories(base / "share/DS1/TMARLNK/D01");
        fs::create_directories(base / "tmp");
        Write(base / "share/DS1/TMARLNK/ttymap", "WS7 7\n");
        Write(base / "share/DS1/TMARLNK/LINKSFILE",
              " " + Padded(":D01:XFILE", 79) + " " + Padded("D01:DATAD1", 79));
        Write(base / "tmp/tMRCatalog.ini", "[Sendrake]\nServer=DS1\nDirectory=D01\n");
        setenv("DASHVANE_SHARES", (base / "share").c_str(), 1);
        setenv("TMPDIR", (base / "tmp").c_str(), 1);
        dv::platform::SetMessageSink(std::make_shared<QuietSink>());
        return base;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path& base = Share();
    if (size < 2) return 0;
    // The first byte splits the input: that many 32-byte directory entries, the rest the container.
    const size_t dir_bytes = std::min<size_t>(size - 1, static_cast<size_t>(data[0] % 8) * 32 + 32);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    Write(base / "share/DS1/TMARLNK/D01/DATAD1", bytes.substr(0, dir_bytes));
    Write(base / "share/DS1/TMARLNK/D01/DATADB", bytes.substr(dir_bytes));
    try {
        dv::LoadCatalogSettings();
        if (!dv::mBusinessBasic) return 0;
        dv::LogicalFileRef file = dv::mBusinessBasic->LogicalOpen("XFILE");
        if (!file) return 0;
        file->ActiveCount();
        file->HighUsedRecord();
        // Only a few records, so a huge record length or position costs one read each.
        for (int32_t r : {0, 1, 2, file->LastRecord}) {
            int16_t flag = 0;
            try {
                const std::string rec = dv::mBusinessBasic->LreadFile(file, r, flag);
                if (static_cast<int32_t>(rec.size()) != file->RecordLength) __builtin_trap();
            } catch (const dv::BasicError&) {
            }
        }
    } catch (const dv::BasicError&) {
    }
    dv::mBusinessBasic.reset();
    return 0;
}
