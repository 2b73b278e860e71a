// The chains of records the unit and floor-plan files hold: a first record number in one
// record, then each record of the chain names the next one; 0 ends the chain. A chain has no
// index, so nothing else guards a walk along it: RecordChain bounds every walk. A pointer
// outside 1 to the file's LastRecord ends the walk with error 1021, a record met a second time
// (a chain that comes back on itself, which also caps the steps at LastRecord) with error
// 1020. Both name the file and the records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "engine/business_basic.h"

namespace dv {

namespace err {
inline constexpr int32_t kChainCycle = 1020;    // a record chain met the same record twice
inline constexpr int32_t kChainPointer = 1021;  // a record chain pointing outside its file
}  // namespace err

class RecordChain {
  public:
    // A walk of the chain of `file` from record `first` (0: an empty chain). Raises -10 when
    // the file is not in the data set.
    RecordChain(cBusinessBasic& engine, std::string file, int32_t first);

    // Reads the next record of the chain into `record` and gives its number; false at the end
    // of the chain. The caller passes the link it decoded from the record before with
    // SetNext. Raises 1020 or 1021 (above) or what LreadFile raises.
    bool Next(std::string& record, int32_t& number);
    // The link of the record last read: the next record number, 0 for none.
    void SetNext(int32_t next) { next_ = next; }

    // The error a walk ends with at a pointer outside the file (exposed for tests).
    static BasicError PointerError(std::string_view file, int32_t from, int32_t to,
                                   int32_t last_record);

  private:
    cBusinessBasic& engine_;
    std::string file_;
    LogicalFileRef ref_;
    int32_t last_record_ = 0;
    int32_t current_ = 0;  // the record last read; 0 before the first
    int32_t next_ = 0;
    std::unordered_set<int32_t> seen_;
};

}  // namespace dv
