// An arbitrary receivables summary (DARR.KRLI) in the tiny demo set, read by the whole load: the
// Accounts Receivable view's fill and the recap label it sets. The load must end, with figures
// or a numbered error, whatever the text holds.
#include "fuzz/load_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static dv::fuzz::LoadFuzz load("ar", {}, {"DARR.KRLI"});
    load.ReplaceWhole(load.regions().front().file,
                      std::string_view(reinterpret_cast<const char*>(data), size));
    load.Load();
    return 0;
}
