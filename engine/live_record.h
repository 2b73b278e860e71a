// The checks of a record reached through an index key or a chain link, made before it is
// decoded, where the record's own layout gives both sides of the relation. An INVOL page's
// status word names its kind (1, 2, 3, 13, 17, 19, 99 invoice pages, 80 and 81 shop-job pages)
// and, as in every record file, 0 or below marks a deleted record (zeros with the free chain's
// link): a document's key or link that names one names no page. Records whose layout reads no
// status word are decoded as they are. A record that carries the number its key names (a
// customer's account, a ticket's number) and holds another one is not the record the key names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/business_basic.h"

namespace dv {

// Raises 1062 "Record n of FILE is not in use (status word s), yet THROUGH names it" when the
// record's status word is 0 or below. `through` says what named it: "TICKI", "the chain of
// UNITL record 7".
void CheckLiveRecord(std::string_view data, std::string_view file, int32_t record,
                     std::string_view through);

// LreadFile followed by CheckLiveRecord.
std::string ReadLiveRecord(cBusinessBasic& engine, const std::string& file, int32_t record,
                           std::string_view through);
// The same record seen in place, for a reader that decodes it before its next read: valid until
// then, and while scratch lives.
std::string_view ReadLiveRecordView(cBusinessBasic& engine, const std::string& file, int32_t record,
                                    std::string_view through, std::string& scratch);

// Raises 1063 "Record n of FILE holds number h, yet THROUGH names it for number k" when the
// number the record holds is not its key's.
void CheckRecordNumber(std::string_view file, int32_t record, int32_t held, int32_t key,
                       std::string_view through);

// The number as a field of that code holds it (a "D" field keeps 24 bits): the number a record
// holds when it is the key's.
int32_t AsField(std::string_view code, int32_t number);

}  // namespace dv
