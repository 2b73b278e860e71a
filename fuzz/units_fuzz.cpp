// The units files of the tiny demo set damaged by the input (edits as fuzz/load_fuzz.h describes
// them): units and their indexes, the cost ledgers, the floor plan and its extents, read by the
// whole load and every detail form (the ledger and extent chains included).
#include "fuzz/load_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static dv::fuzz::LoadFuzz load(
        "units", {"UNITL", "UNITI", "LUNITI", "LUNITL", "FPLNL", "FPLNI", "FPEXL"}, {});
    load.Damage(data, size);
    load.Load();
    return 0;
}
