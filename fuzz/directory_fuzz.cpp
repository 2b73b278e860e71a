// Resolving a logical name through an arbitrary link table and directory file, and reading
// records and record zero of whatever entry it yields from an arbitrary container.
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
    // The first byte splits the input: bits 0-2 the number of 32-byte directory entries less one,
    // bits 3-4 the number of 160-byte link entries taken from the input, bit 5 whether they come
    // before the fixed link :D01:XFILE -> D01:DATAD1 (and so may shadow it) or after it; then the
    // links, the directory entries and the container.
    const size_t links = (data[0] >> 3) & 3;
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view fuzzed = bytes.substr(0, std::min(bytes.size(), links * 160));
    bytes.remove_prefix(fuzzed.size());
    const std::string fixed = " " + Padded(":D01:XFILE", 79) + " " + Padded("D01:DATAD1", 79);
    Write(base / "share/DS1/TMARLNK/LINKSFILE",
          (data[0] & 0x20) ? std::string(fuzzed) + fixed : fixed + std::string(fuzzed));
    const size_t dir_bytes =
        std::min<size_t>(bytes.size(), static_cast<size_t>(data[0] % 8) * 32 + 32);
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
