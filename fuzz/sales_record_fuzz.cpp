// Arbitrary records into the counter-sales record classes: decoding never raises and never reads
// outside the record, and encoding what was decoded keeps the record's length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/packed_text.h"
#include "sales/counterman_record.h"
#include "sales/customer_record.h"
#include "sales/invoice_line_record.h"
#include "sales/invoice_record.h"

namespace {

template <typename R>
void RoundTrip(R& r, const std::string& record) {
    r.Unpack(record);
    std::string packed = record;
    r.Pack(packed);
    if (packed.size() != record.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string record(reinterpret_cast<const char*>(data), size);
    dv::ResetAlphabet();
    dv::clsCustomers customer;
    RoundTrip(customer, record);
    dv::clsInvoiceHistory page;
    RoundTrip(page, record);
    dv::clsInvoiceHistoryDetail line;
    RoundTrip(line, record);
    dv::clsCounterman counterman;
    RoundTrip(counterman, record);
    return 0;
}
