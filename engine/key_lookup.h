// Looking a record up by a whole number: the customer of an account (CUSTI), the vendor of a
// vendor number (VNDRI), a pick ticket (TICKI), a warranty claim (WARRI). These indexes key each
// record by the number packed as a 4-byte "L" field.
#pragma once

#include <cstdint>
#include <string>

namespace dv {

class cBusinessBasic;

// The record index holds under number's key, or 0 when it holds no such key (KFind's record of
// a key not found, or of the end of the index, is never above 0).
int32_t FindByNumber(cBusinessBasic& engine, const std::string& index, int32_t number);

}  // namespace dv
