// An arbitrary index file under every walk member. Each must end, with a record number or a
// numbered error, without reading outside a node.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "engine/error.h"
#include "engine/index.h"
#include "engine/tables.h"
#include "fuzz/fuzz_scratch.h"
#include "platform/file.h"
#include "platform/messages.h"

namespace {

class QuietSink : public dv::platform::MessageSink {
  public:
    void Show(const dv::platform::Message&) override {}
};

const std::string& ScratchPath() {
    static const std::string path = (dv::fuzz::Scratch("index") / "FUZZI").string();
    return path;
}

template <typename Fn>
void Try(Fn fn) {
    try {
        fn();
    } catch (const dv::BasicError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool quiet = (dv::platform::SetMessageSink(std::make_shared<QuietSink>()), true);
    (void)quiet;
    if (size < 4) return 0;
    // The first byte steers the walk; the rest is the index file, block 0 first.
    const uint8_t steer = data[0];
    {
        std::ofstream out(ScratchPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    int error = 0;
    auto open = std::make_shared<dv::cOpenFile>();
    open->Path = "\\\\DS1\\TMARLNK\\D01\\FUZZI";
    open->handle = dv::platform::ReadOnlyFile::Open(ScratchPath(), &error);
    if (!open->handle) return 0;
    auto file = std::make_shared<dv::cLogicalFile>();
    file->FileName = "FUZZI";
    file->FileType = "I";
    file->OpenFile = open;
    file->RecordLength = 512;
    // Claim more nodes than the file holds now and then (a read past its end is an error), and,
    // with bit 7, far more: up to 2^24 nodes past 65,535, where a walk's leaf count must still
    // end a loop.
    const int32_t nodes = static_cast<int32_t>((size - 1) / 512);
    file->LastRecord = nodes + (steer & 1);
    if ((steer & 0x80) && size >= 4)
        file->LastRecord = 65530 + (data[size - 3] << 16 | data[size - 2] << 8 | data[size - 1]);

    std::string cursor;
    std::string key(reinterpret_cast<const char*>(data + 1),
                    std::min<size_t>(size - 1, steer & 15));
    int32_t record = 0;
    Try([&] { dv::iKFind(file, cursor, key, record); });
    for (int i = 0; i < 64; ++i) {
        Try([&] {
            if (steer & 0x40)
                dv::iKPrev(file, cursor, key, record);
            else
                dv::iKNext(file, cursor, key, record);
        });
    }
    if (steer & 0x80) {
        // Walk on: no walk in key order crosses more leaves than the file holds nodes (nor than
        // 65,534, a chain's next-leaf field being 16 bits), whatever LastRecord claims, so one
        // that crosses more has lost its bound.
        int32_t leaf = -1;
        int64_t crossed = 0;
        // A loop of leaves of one entry each crosses a leaf on every call: 70,000 calls reach
        // the bound.
        for (int i = 0; i < 70000; ++i) {
            try {
                dv::iKNext(file, cursor, key, record);
            } catch (const dv::BasicError&) {
                break;
            }
            if (record == 0) break;
            const auto depth = static_cast<unsigned char>(cursor[dv::kCursorDepthAt - 1]);
            const size_t at = static_cast<size_t>(dv::kCursorPathAt - 1 + 2 * (depth - 1));
            const int32_t now = static_cast<unsigned char>(cursor[at]) << 8 |
                                static_cast<unsigned char>(cursor[at + 1]);
            if (now != leaf && leaf != -1) ++crossed;
            leaf = now;
            if (crossed > nodes) __builtin_trap();
        }
    }
    Try([&] { dv::iKLast(file, cursor, key, record); });
    for (int i = 0; i < 16; ++i) Try([&] { dv::iKPrev(file, cursor, key, record); });
    Try([&] { dv::iKCount(file); });
    Try([&] { dv::iKLength(file); });
    return 0;
}
