// A byte-level builder for dealer records: sets fields by 1-based position and type code, the
// way the record layouts are written down. It encodes on its own, without the engine's codec
// or any record class, so a test that builds a record here checks the decoder independently.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dv::sample {

// The two settings of the packed-text alphabet's first four characters.
enum class TextSet {
    kParts,  // " ,/." : part numbers, the default
    kNames,  // " ,-." : names, addresses, remarks
};

class RecordBuilder {
  public:
    explicit RecordBuilder(size_t length, char fill = '\0');

    // A binary field: code B, I, C, J, D, K or L, big-endian, low bytes of value.
    RecordBuilder& Bin(int32_t position, char code, int64_t value);
    // Plain bytes as they stand.
    RecordBuilder& Raw(int32_t position, std::string_view bytes);
    // Packed text into `bytes` bytes (3 characters per 2 bytes), blank-padded or cut to fit.
    RecordBuilder& Text(int32_t position, std::string_view text, int32_t bytes,
                        TextSet set = TextSet::kParts);
    // Dates: a 2-byte day number (days after 12/31/67; 1/1/68 as 0), and the 3-byte decimal
    // forms mmddyy (codes D and K) and yymmdd (code R).
    RecordBuilder& DayNumber(int32_t position, int year, int month, int day);
    RecordBuilder& Mmddyy(int32_t position, int year, int month, int day);
    RecordBuilder& Yymmdd(int32_t position, int year, int month, int day);
    // A part number with dashes: 12 bytes of packed text without the dashes, then one word of
    // up to three position codes ("123456789ABCDEFGHIJKL").
    RecordBuilder& PartNumber(int32_t position, std::string_view with_dashes);
    // Sets or clears the bits of mask in the byte at position.
    RecordBuilder& Bits(int32_t position, uint8_t mask, bool on);

    const std::string& bytes() const { return data_; }
    std::string str() const { return data_; }

  private:
    void Put(int32_t position, std::string_view bytes);
    std::string data_;
};

// The packed bytes of text under a setting, 2 bytes per 3 characters (text blank-padded).
std::string PackText(std::string_view text, TextSet set = TextSet::kParts);
// Days after 12/31/67 of a calendar date.
int32_t DaysFromBase(int year, int month, int day);

}  // namespace dv::sample
