// The G/L files of the tiny demo set damaged by the input (edits as fuzz/load_fuzz.h describes
// them): the chart of accounts and its index, the detail entries and their index, read by the
// whole load (the chart walk of the G/L views, each account's balance walk).
#include "fuzz/load_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static dv::fuzz::LoadFuzz load("gl", {"CHRTL", "CHRTI", "GLDTL", "GLDTI"}, {});
    load.Damage(data, size);
    load.Load();
    return 0;
}
