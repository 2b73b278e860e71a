// Field tables for the dealer record classes. A record class writes its layout down once, as a
// table of fields (position, width, how the bytes are stored, which member receives them), and
// UnpackFields / PackFields walk that table in order. Every field is decoded or encoded on its
// own: a field that fails (it reaches past the end of the record string, a value that does not
// fit) keeps its old value or leaves its bytes, and the next field is done.
//
// Units of the members a table fills:
//   - kLong, kSumLong: a signed 32-bit integer taken as stored.
//   - kScaled, kSumScaled: an int64_t in the record's own unit, which the field's Scale names:
//     kCents for money (whole cents), kTenths for quantities stored in tenths. Nothing is
//     divided; a view divides when it shows the value.
//   - kText, kBlankedText, kPacked: the characters as they stand, full width, nothing trimmed.
//   - kYesNo, kBit: an int16_t of 1 or 0.
//   - kDate: a dv::Date; the empty date 1/1/68 when the bytes hold none.
//
// Short records: a binary field that does not lie wholly inside the record string keeps its
// value; a date there reads as the empty date (UnPackDate never fails); a text field is cut at
// the end of the string and is empty when it starts beyond it. Packing writes text only as far
// as the string reaches and never changes the string's length.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/address.h"
#include "engine/codec.h"
#include "engine/dates.h"
#include "engine/error.h"
#include "engine/packed_text.h"

namespace dv::fields {

// What one stored unit of a scaled field is worth.
enum class Scale : uint8_t { kUnits, kTenths, kCents };

enum class Kind : uint8_t {
    kLong,         // binary field into an int32_t
    kScaled,       // binary field into an int64_t (cents, tenths)
    kSumLong,      // int32_t: stored value plus another member (stored without that member)
    kSumScaled,    // int64_t: the same for a scaled value
    kText,         // plain characters, one per byte
    kBlankedText,  // plain characters, every byte of code 0 read as a blank
    kPacked,       // packed text: width bytes hold 3 * width / 2 characters
    kYesNo,        // one character "Y" or "N" into an int16_t 1 or 0
    kDate,         // a date under its date code
    kBit,          // bit `bit` of the unsigned byte at position, into an int16_t 1 or 0
    kCustom,       // the class's own step (part numbers, derived characters, lists)
};

template <typename R>
struct Field {
    const char* name;
    int32_t position;  // 1-based
    int32_t width;     // bytes
    Kind kind;
    char code = 0;  // binary field code, or the date code
    Scale scale = Scale::kUnits;
    uint8_t bit = 0;
    int32_t R::*i32 = nullptr;
    int64_t R::*i64 = nullptr;
    int16_t R::*i16 = nullptr;
    std::string R::*text = nullptr;
    Date R::*date = nullptr;
    int32_t R::*base32 = nullptr;  // kSumLong: the member added on reading
    int64_t R::*base64 = nullptr;  // kSumScaled: the member added on reading
    bool written = true;           // false: Unpack reads it, Pack leaves its bytes alone
    void (*unpack)(R&, std::string_view) = nullptr;  // kCustom; null: nothing to read
    void (*pack)(const R&, std::string&) = nullptr;  // kCustom; null: nothing to write
};

// The width of a binary field code, from the codec's table of field codes; 0 for a code the
// codec does not know (its Unpack and Pack then raise 100).
constexpr int32_t CodeWidth(char code) {
    return UpperFieldCode(code).width;
}

// ---- Factories, one per kind, so that a table reads like the layout it is written from. ----

template <typename R>
constexpr Field<R> Long(const char* name, int32_t pos, char code, int32_t R::*m) {
    Field<R> f{name, pos, CodeWidth(code), Kind::kLong, code};
    f.i32 = m;
    return f;
}
template <typename R>
constexpr Field<R> Scaled(const char* name, int32_t pos, char code, Scale scale, int64_t R::*m) {
    Field<R> f{name, pos, CodeWidth(code), Kind::kScaled, code, scale};
    f.i64 = m;
    return f;
}
template <typename R>
constexpr Field<R> Money(const char* name, int32_t pos, char code, int64_t R::*m) {
    return Scaled(name, pos, code, Scale::kCents, m);
}
template <typename R>
constexpr Field<R> SumLong(const char* name, int32_t pos, char code, int32_t R::*m,
                           int32_t R::*base) {
    Field<R> f{name, pos, CodeWidth(code), Kind::kSumLong, code};
    f.i32 = m;
    f.base32 = base;
    return f;
}
template <typename R>
constexpr Field<R> SumMoney(const char* name, int32_t pos, char code, int64_t R::*m,
                            int64_t R::*base) {
    Field<R> f{name, pos, CodeWidth(code), Kind::kSumScaled, code, Scale::kCents};
    f.i64 = m;
    f.base64 = base;
    return f;
}
template <typename R>
constexpr Field<R> Text(const char* name, int32_t pos, int32_t width, std::string R::*m) {
    Field<R> f{name, pos, width, Kind::kText};
    f.text = m;
    return f;
}
template <typename R>
constexpr Field<R> BlankedText(const char* name, int32_t pos, int32_t width, std::string R::*m) {
    Field<R> f{name, pos, width, Kind::kBlankedText};
    f.text = m;
    return f;
}
template <typename R>
constexpr Field<R> Packed(const char* name, int32_t pos, int32_t width, std::string R::*m) {
    Field<R> f{name, pos, width, Kind::kPacked};
    f.text = m;
    return f;
}
template <typename R>
constexpr Field<R> YesNo(const char* name, int32_t pos, int16_t R::*m) {
    Field<R> f{name, pos, 1, Kind::kYesNo};
    f.i16 = m;
    return f;
}
template <typename R>
constexpr Field<R> DateField(const char* name, int32_t pos, char code, Date R::*m) {
    Field<R> f{name, pos, code == 'C' || code == 'J' ? 2 : 3, Kind::kDate, code};
    f.date = m;
    return f;
}
template <typename R>
constexpr Field<R> Bit(const char* name, int32_t pos, uint8_t bit, int16_t R::*m) {
    Field<R> f{name, pos, 1, Kind::kBit, 'B', Scale::kUnits, bit};
    f.i16 = m;
    return f;
}
template <typename R>
constexpr Field<R> Custom(const char* name, int32_t pos, int32_t width,
                          void (*unpack)(R&, std::string_view),
                          void (*pack)(const R&, std::string&)) {
    Field<R> f{name, pos, width, Kind::kCustom};
    f.unpack = unpack;
    f.pack = pack;
    return f;
}

// The same field, read by Unpack and left alone by Pack (a form the record also holds in
// another field, which Pack writes instead).
template <typename R>
constexpr Field<R> ReadOnly(Field<R> f) {
    f.written = false;
    return f;
}

// The field of a table with that name, found when the program is compiled: a reader that needs
// a few fields of a record decodes those alone, each exactly as the whole table decodes it.
template <typename R, size_t N>
constexpr Field<R> Named(const std::array<Field<R>, N>& table, std::string_view name) {
    for (const Field<R>& f : table)
        if (std::string_view(f.name) == name) return f;
    throw std::logic_error("no such field");  // a compile error in a constant expression
}

// ---- Helpers the table steps and the classes' own steps share. ----

// The bytes of a field as far as the record string holds them (empty past its end).
inline std::string_view Mid(std::string_view record, int32_t position, int32_t width) {
    const size_t at = static_cast<size_t>(position - 1);
    if (position < 1 || at >= record.size()) return {};
    return record.substr(at, static_cast<size_t>(width));
}

// Writes bytes at position as far as the record string reaches; nothing when it starts past
// the end.
inline void PutBytes(std::string& record, int32_t position, std::string_view bytes) {
    const size_t at = static_cast<size_t>(position - 1);
    if (position < 1 || at >= record.size()) return;
    const size_t n = std::min(bytes.size(), record.size() - at);
    record.replace(at, n, bytes.substr(0, n));
}

// Packed text of exactly width bytes: the packed characters, then bytes of code 0, cut.
inline std::string PackedBytes(std::string text, int32_t width) {
    std::string packed = Crm(text);
    packed.resize(static_cast<size_t>(width), '\0');
    return packed;
}

// Plain text of exactly width bytes: the characters, then blanks, cut.
inline std::string PlainBytes(std::string_view text, int32_t width) {
    std::string plain(text.substr(0, static_cast<size_t>(width)));
    plain.resize(static_cast<size_t>(width), ' ');
    return plain;
}

// The 32-bit value a scaled or summed field is written with; the platform's overflow when it
// does not fit, which skips the field.
inline int32_t To32(int64_t value, const char* source) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        RaisePlatform(err::kOverflow, source);
    return static_cast<int32_t>(value);
}

// One read-modify-write of a flag bit in the byte at position.
inline void PutBit(std::string& record, int32_t position, uint8_t bit, bool on) {
    int32_t byte = Unpack("B", record, position);
    byte &= 255 - (1 << bit);
    if (on) byte |= 1 << bit;
    Pack("B", record, byte, position);
}

// True when a binary field of code lies wholly inside a record of size bytes. Decoding checks
// this first, so the fields past the end of a short record are skipped without raising.
inline bool BinaryFits(char code, int32_t position, size_t size) {
    const int32_t width = CodeWidth(code);
    return width != 0 && position >= 1 &&
           static_cast<int64_t>(position) + width - 1 <= static_cast<int64_t>(size);
}

template <typename R>
void UnpackField(const Field<R>& f, R& r, std::string_view rec) {
    const std::string_view code(&f.code, f.code != '\0' ? 1 : 0);
    switch (f.kind) {
        case Kind::kLong:
        case Kind::kScaled:
        case Kind::kSumLong:
        case Kind::kSumScaled:
            if (!BinaryFits(f.code, f.position, rec.size())) return;
            break;
        case Kind::kBit:
            if (!BinaryFits('B', f.position, rec.size())) return;
            break;
        default:
            break;
    }
    switch (f.kind) {
        case Kind::kLong:
            r.*f.i32 = Unpack(code, rec, f.position);
            break;
        case Kind::kScaled:
            r.*f.i64 = Unpack(code, rec, f.position);
            break;
        case Kind::kSumLong: {
            const int64_t sum = int64_t{Unpack(code, rec, f.position)} + r.*f.base32;
            r.*f.i32 = To32(sum, "UnPack");
            break;
        }
        case Kind::kSumScaled:
            r.*f.i64 = int64_t{Unpack(code, rec, f.position)} + r.*f.base64;
            break;
        case Kind::kText:
            r.*f.text = std::string(Mid(rec, f.position, f.width));
            break;
        case Kind::kBlankedText: {
            std::string t(Mid(rec, f.position, f.width));
            for (char& c : t)
                if (c == '\0') c = ' ';
            r.*f.text = std::move(t);
            break;
        }
        case Kind::kPacked:
            r.*f.text = UcmView(Mid(rec, f.position, f.width));
            break;
        case Kind::kYesNo:
            r.*f.i16 = YesNoToBool(Mid(rec, f.position, 1)) ? 1 : 0;
            break;
        case Kind::kDate:
            r.*f.date = UnPackDate(code, rec, f.position);
            break;
        case Kind::kBit:
            r.*f.i16 = static_cast<int16_t>(Min(Unpack("B", rec, f.position) & (1 << f.bit), 1));
            break;
        case Kind::kCustom:
            if (f.unpack) f.unpack(r, rec);
            break;
    }
}

template <typename R>
void PackField(const Field<R>& f, const R& r, std::string& rec) {
    if (!f.written) return;
    const char code[2] = {f.code, '\0'};
    switch (f.kind) {
        case Kind::kLong:
            Pack(code, rec, r.*f.i32, f.position);
            break;
        case Kind::kScaled:
            Pack(code, rec, To32(r.*f.i64, "Pack"), f.position);
            break;
        case Kind::kSumLong:
            Pack(code, rec, To32(int64_t{r.*f.i32} - r.*f.base32, "Pack"), f.position);
            break;
        case Kind::kSumScaled:
            Pack(code, rec, To32(r.*f.i64 - r.*f.base64, "Pack"), f.position);
            break;
        case Kind::kText:
        case Kind::kBlankedText:
            PutBytes(rec, f.position, PlainBytes(r.*f.text, f.width));
            break;
        case Kind::kPacked:
            PutBytes(rec, f.position, PackedBytes(r.*f.text, f.width));
            break;
        case Kind::kYesNo:
            PutBytes(rec, f.position, BoolToYesNo(r.*f.i16 != 0));
            break;
        case Kind::kDate:
            PackDate(code, rec, f.position, r.*f.date);
            break;
        case Kind::kBit:
            PutBit(rec, f.position, f.bit, r.*f.i16 != 0);
            break;
        case Kind::kCustom:
            if (f.pack) f.pack(r, rec);
            break;
    }
}

// Decodes every field of the table in order; a field that fails keeps its value.
template <typename R>
void UnpackFields(std::span<const Field<R>> table, R& r, std::string_view rec) {
    for (const Field<R>& f : table) {
        try {
            UnpackField(f, r, rec);
        } catch (const BasicError&) {
            // The field keeps what it held.
        }
    }
}

// Encodes every field of the table in order, in place; a field that fails leaves its bytes.
template <typename R>
void PackFields(std::span<const Field<R>> table, const R& r, std::string& rec) {
    for (const Field<R>& f : table) {
        try {
            PackField(f, r, rec);
        } catch (const BasicError&) {
            // The bytes stay as they were.
        }
    }
}

// The Unpack and Pack of a record class that is its field table and nothing more: the class
// derives from TableRecord<itself> and gives its table as a static Layout().
template <typename R>
class TableRecord {
  public:
    // Decodes the record through the table; a field that fails keeps its value. Never raises.
    void Unpack(std::string_view record) {
        UnpackFields(R::Layout(), static_cast<R&>(*this), record);
    }
    // Encodes the fields through the table, in place; a field that fails leaves its bytes.
    // Never raises.
    void Pack(std::string& record) const {
        PackFields(R::Layout(), static_cast<const R&>(*this), record);
    }
};

}  // namespace dv::fields
