#include "sampledata/record_builder.h"

#include <chrono>
#include <stdexcept>

#include "engine/field_codes.h"

namespace dv::sample {
namespace {

std::string AlphabetOf(TextSet set) {
    std::string a = " ,/.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (set == TextSet::kNames) a[2] = '-';
    return a;
}

// The width of a binary field code, from the engine's table of field codes.
int WidthOf(char code) {
    const int width = UpperFieldCode(code).width;
    if (width == 0) throw std::invalid_argument(std::string("no field code ") + code);
    return width;
}

}  // namespace

RecordBuilder::RecordBuilder(size_t length, char fill) : data_(length, fill) {}

void RecordBuilder::Put(int32_t position, std::string_view bytes) {
    if (position < 1 || static_cast<size_t>(position - 1) + bytes.size() > data_.size())
        throw std::out_of_range("field at " + std::to_string(position) + " outside the record");
    data_.replace(static_cast<size_t>(position - 1), bytes.size(), bytes);
}

RecordBuilder& RecordBuilder::Bin(int32_t position, char code, int64_t value) {
    const int width = WidthOf(code);
    std::string b(static_cast<size_t>(width), '\0');
    uint64_t v = static_cast<uint64_t>(value);
    for (int i = width - 1; i >= 0; --i, v >>= 8)
        b[static_cast<size_t>(i)] = static_cast<char>(v & 0xFF);
    Put(position, b);
    return *this;
}

RecordBuilder& RecordBuilder::Raw(int32_t position, std::string_view bytes) {
    Put(position, bytes);
    return *this;
}

std::string PackText(std::string_view text, TextSet set) {
    const std::string alphabet = AlphabetOf(set);
    std::string t(text);
    while (t.size() % 3 != 0) t.push_back(' ');
    std::string out;
    for (size_t i = 0; i < t.size(); i += 3) {
        uint32_t w = 0;
        for (size_t k = 0; k < 3; ++k) {
            const size_t at = alphabet.find(t[i + k]);
            w = w * 40 + (at == std::string::npos ? 0u : static_cast<uint32_t>(at));
        }
        out.push_back(static_cast<char>(w >> 8));
        out.push_back(static_cast<char>(w & 0xFF));
    }
    return out;
}

RecordBuilder& RecordBuilder::Text(int32_t position, std::string_view text, int32_t bytes,
                                   TextSet set) {
    const size_t chars = static_cast<size_t>(bytes) / 2 * 3;
    std::string t(text.substr(0, chars));
    t.resize(chars, ' ');
    Put(position, PackText(t, set));
    return *this;
}

int32_t DaysFromBase(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days d{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                     std::chrono::day{static_cast<unsigned>(day)}};
    const sys_days base{std::chrono::year{1967} / 12 / 31};
    return static_cast<int32_t>((d - base).count());
}

RecordBuilder& RecordBuilder::DayNumber(int32_t position, int year, int month, int day) {
    const bool empty = year == 1968 && month == 1 && day == 1;
    return Bin(position, 'C', empty ? 0 : DaysFromBase(year, month, day));
}

RecordBuilder& RecordBuilder::Mmddyy(int32_t position, int year, int month, int day) {
    return Bin(position, 'D', month * 10000 + day * 100 + year % 100);
}

RecordBuilder& RecordBuilder::Yymmdd(int32_t position, int year, int month, int day) {
    return Bin(position, 'D', (year % 100) * 10000 + month * 100 + day);
}

RecordBuilder& RecordBuilder::PartNumber(int32_t position, std::string_view with_dashes) {
    static const std::string kept = ",/.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const std::string codes = "123456789ABCDEFGHIJKL";
    std::string part;
    std::string positions;
    for (size_t i = 0; i < with_dashes.size(); ++i) {
        if (kept.find(with_dashes[i]) != std::string::npos) {
            part.push_back(with_dashes[i]);
        } else if (i < codes.size()) {
            positions.push_back(codes[i]);
        }
    }
    Text(position, part, 12, TextSet::kParts);
    Text(position + 12, positions, 2, TextSet::kParts);
    return *this;
}

RecordBuilder& RecordBuilder::Bits(int32_t position, uint8_t mask, bool on) {
    if (position < 1 || static_cast<size_t>(position) > data_.size())
        throw std::out_of_range("flag byte outside the record");
    unsigned char& b = reinterpret_cast<unsigned char&>(data_[static_cast<size_t>(position - 1)]);
    b = on ? static_cast<unsigned char>(b | mask) : static_cast<unsigned char>(b & ~mask);
    return *this;
}

}  // namespace dv::sample
