#include "units/record_chain.h"

#include <utility>

#include "engine/error.h"
#include "engine/logical.h"
#include "engine/tables.h"

namespace dv {

RecordChain::RecordChain(cBusinessBasic& engine, std::string file, int32_t first)
    : engine_(engine), file_(std::move(file)), next_(first) {
    ref_ = engine_.LogicalOpen(file_);
    if (!ref_) throw LogicalOpenError(file_, "RecordChain");
    last_record_ = ref_->LastRecord;
}

BasicError RecordChain::PointerError(std::string_view file, int32_t from, int32_t to,
                                     int32_t last_record) {
    const std::string where =
        from == 0 ? std::string("its first record") : "record " + std::to_string(from);
    return BasicError(err::kChainPointer, "RecordChain",
                      "Damaged chain in " + std::string(file) + ": " + where +
                          " points to record " + std::to_string(to) + ", outside 1 to " +
                          std::to_string(last_record));
}

bool RecordChain::Next(std::string& record, int32_t& number) {
    if (next_ == 0) return false;
    const int32_t to = next_;
    if (to < 1 || to > last_record_) throw PointerError(file_, current_, to, last_record_);
    if (!seen_.insert(to).second) {
        throw BasicError(err::kChainCycle, "RecordChain",
                         "Damaged chain in " + file_ + ": record " + std::to_string(to) +
                             " is met twice (after record " + std::to_string(current_) + ")");
    }
    int16_t flag = 0;
    record = engine_.LreadFile(ref_, to, flag);
    current_ = to;
    next_ = 0;  // a caller that sets no link ends the chain
    number = to;
    return true;
}

}  // namespace dv
