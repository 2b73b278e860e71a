// FILE0 of the tiny demo set damaged by the input (edits as fuzz/load_fuzz.h describes them):
// its option blocks, the saved-invoice directory, the job table and the unit captions, read by
// the whole load and every detail form.
#include "fuzz/load_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static dv::fuzz::LoadFuzz load("file0", {}, {"FILE0"});
    load.Damage(data, size);
    load.Load();
    return 0;
}
