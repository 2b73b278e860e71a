// An arbitrary page file under the page-chain walk and build: the first byte picks the head
// record, the rest is the file, cut into 512-byte pages numbered from 1. The build must end,
// with rows or a numbered error, without reading outside a page and without a loop.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/error.h"
#include "records/event_log.h"
#include "records/page_chain.h"

namespace {

class FuzzPages : public dv::PageSource {
  public:
    explicit FuzzPages(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& Name() const override { return name_; }
    int32_t LastRecord() override { return static_cast<int32_t>(bytes_.size() / 512); }
    std::string Read(int32_t record) override {
        ++reads;
        if (reads > 1000) __builtin_trap();  // a walk that does not end
        if (record < 1 || record > LastRecord())
            throw dv::BasicError(dv::err::kRecordNumber, "iLreadFile", "Illegal Record Number");
        return bytes_.substr(static_cast<size_t>(record - 1) * 512, 512);
    }
    int reads = 0;

  private:
    std::string name_ = "INVOL";
    std::string bytes_;
};

class QuietLog : public dv::EventLog {
  public:
    void Write(const std::string&) override {}
};

int TotalFor(std::string_view code) {
    return code == "500" ? 0 : 1;
}
const dv::PageChainPolicy kPolicy = {"clsFuzz", "INVOL", true, 97, 2, &TotalFor, true};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietLog log;
    static bool quiet = (dv::SetAppEventLog(&log), true);
    (void)quiet;
    if (size < 1) return 0;
    FuzzPages pages(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    dv::PageChainBuilder builder(kPolicy);
    builder.SetSource(&pages);
    builder.GetDetail(data[0] % 8);
    if (builder.Rows().size() > 200u * 255u) __builtin_trap();
    pages.reads = 0;
    try {
        dv::WalkPageChain(pages, 1 + data[0] % 4, [](int32_t, const std::string&) {});
    } catch (const dv::BasicError&) {
    }
    return 0;
}
