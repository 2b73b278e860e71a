// One record of arbitrary bytes through a record class: decoding must not raise or read outside
// the record, and encoding what was decoded must keep the record's length.
#pragma once

#include <string>

namespace dv::fuzz {

template <typename R>
void RoundTrip(const std::string& record) {
    R r;
    r.Unpack(record);
    std::string packed = record;
    r.Pack(packed);
    if (packed.size() != record.size()) __builtin_trap();
}

}  // namespace dv::fuzz
