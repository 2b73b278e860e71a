// Arbitrary records into the service record classes and the shop-job and warranty builders:
// decoding never raises and never reads outside the record, encoding keeps the record's length,
// and a build over arbitrary pages ends with rows or a numbered error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/error.h"
#include "engine/packed_text.h"
#include "fuzz/round_trip.h"
#include "records/event_log.h"
#include "service/clock_record.h"
#include "service/detail_builders.h"
#include "service/shop_record.h"
#include "service/warranty_record.h"

namespace {

// The input cut into 512-byte records numbered from 1.
class FuzzPages : public dv::PageSource {
  public:
    FuzzPages(std::string name, std::string bytes)
        : name_(std::move(name)), bytes_(std::move(bytes)) {}
    const std::string& Name() const override { return name_; }
    int32_t LastRecord() override { return static_cast<int32_t>(bytes_.size() / 512); }
    std::string Read(int32_t record) override {
        if (++reads > 1000) __builtin_trap();  // a walk that does not end
        if (record < 1 || record > LastRecord())
            throw dv::BasicError(dv::err::kRecordNumber, "iLreadFile", "Illegal Record Number");
        return bytes_.substr(static_cast<size_t>(record - 1) * 512, 512);
    }
    int reads = 0;

  private:
    std::string name_;
    std::string bytes_;
};

class QuietLog : public dv::EventLog {
  public:
    void Write(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietLog log;
    static bool quiet = (dv::SetAppEventLog(&log), true);
    (void)quiet;
    const std::string input(reinterpret_cast<const char*>(data), size);
    dv::ResetAlphabet();
    dv::fuzz::RoundTrip<dv::clsShop>(input);
    dv::fuzz::RoundTrip<dv::clsClock>(input);
    dv::fuzz::RoundTrip<dv::clsWarranty>(input);
    if (size < 1) return 0;

    // The shop builder from the head the first byte names.
    FuzzPages invol("INVOL", input.substr(1));
    dv::clsShopDetail shop;
    shop.Builder().SetSource(&invol);
    shop.ShopRec(data[0] % 8);
    shop.GetDetail();
    if (shop.DetailReturn().size() > 200u * 255u) __builtin_trap();

    // The warranty builder from the claim header in record 1.
    FuzzPages warrl("WARRL", input.substr(1));
    dv::clsWarrDetail warr;
    warr.Builder().SetSource(&warrl);
    warr.Builder().Begin();
    dv::clsWarranty claim;
    claim.Unpack(input.substr(1, 512));
    warr.Builder().WalkAndBuild(claim.Inv_Ptr);
    if (warr.DetailReturn().size() > 200u * 255u) __builtin_trap();
    return 0;
}
