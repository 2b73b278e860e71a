// Arbitrary records into the counter-sales record classes: decoding never raises and never reads
// outside the record, and encoding what was decoded keeps the record's length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/packed_text.h"
#include "fuzz/round_trip.h"
#include "sales/counterman_record.h"
#include "sales/customer_record.h"
#include "sales/invoice_line_record.h"
#include "sales/invoice_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string record(reinterpret_cast<const char*>(data), size);
    dv::ResetAlphabet();
    dv::fuzz::RoundTrip<dv::clsCustomers>(record);
    dv::fuzz::RoundTrip<dv::clsInvoiceHistory>(record);
    dv::fuzz::RoundTrip<dv::clsInvoiceHistoryDetail>(record);
    dv::fuzz::RoundTrip<dv::clsCounterman>(record);
    return 0;
}
