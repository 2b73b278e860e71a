#include "engine/codec.h"

#include <array>
#include <cctype>

#include "engine/bytes.h"
#include "engine/error.h"

namespace dv {
namespace {

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

// The error of a field that does not lie inside its data; kept out of line, so that the
// checks of every decoded field stay small.
[[noreturn, gnu::noinline, gnu::cold]] void PlaceFailed(const FieldCode& fc, size_t length,
                                                        int32_t position, const char* source,
                                                        const char* opening) {
    if (position < 1) RaisePlatform(err::kInvalidArgument, source);
    throw BasicError(
        31, source,
        std::string(opening) + "\"" + fc.code + "\", Data$, " + std::to_string(position) +
            (source[0] == 'U' ? ")   Len(Data$) = " : "   Len(Data$) = ") + std::to_string(length));
}

[[noreturn, gnu::noinline, gnu::cold]] void UnknownCode(std::string_view code, const char* source) {
    throw BasicError(err::kOpCode, source, "Unknown OpCode = \"" + Upper(code) + "\"");
}

// The checks both members share: position below 1, then the field inside the data. Texts are
// built only on the error path.
inline void CheckPlace(const FieldCode& fc, size_t length, int32_t position, const char* source,
                       const char* opening) {
    if (position < 1 ||
        static_cast<int64_t>(position) + fc.width - 1 > static_cast<int64_t>(length))
        PlaceFailed(fc, length, position, source, opening);
}

}  // namespace

// The field type of every byte value, either case: width 0 for no code.
constexpr std::array<FieldCode, 256> kCodeTable = [] {
    std::array<FieldCode, 256> table{};
    for (const FieldCode& fc : kFieldCodes) {
        table[static_cast<unsigned char>(fc.code)] = fc;
        table[static_cast<unsigned char>(fc.code - 'A' + 'a')] = fc;
    }
    return table;
}();

FieldCode LookupCode(std::string_view code, const char* source) {
    if (code.size() == 1) {
        const FieldCode& fc = kCodeTable[static_cast<unsigned char>(code[0])];
        if (fc.width != 0) return fc;
    }
    UnknownCode(code, source);
}

int32_t UnpackChecked(std::string_view code, std::string_view data, int32_t position) {
    const FieldCode fc = LookupCode(code, "UnPack");
    CheckPlace(fc, data.size(), position, "UnPack", "Invalid Subscript.  UnPack(");
    const uint32_t raw = bytes::GetBE(data.data() + position - 1, fc.width);
    return fc.is_signed ? bytes::SignExtend(raw, fc.width) : static_cast<int32_t>(raw);
}

void Pack(std::string_view code, std::string& data, int32_t value, int32_t position) {
    const FieldCode fc = LookupCode(code, "Pack");
    CheckPlace(fc, data.size(), position, "Pack", "Invalid Subscript.  Pack ");
    bytes::PutBE(data.data() + position - 1, fc.width, static_cast<uint32_t>(value));
}

int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}
int32_t Max(int32_t a, int32_t b) {
    return a > b ? a : b;
}

std::string Trun(std::string_view text, int32_t mode) {
    size_t end = text.size();
    auto filler = [mode](char c) {
        if (mode == 0) return c == ' ';
        return c == '\0' || c == '\t' || c == '\n' || c == '\r' || c == ' ';
    };
    while (end > 0 && filler(text[end - 1])) --end;
    return std::string(text.substr(0, end));
}

void StrPos(int32_t& position, std::string_view text, std::string_view sought) {
    const size_t at = text.find(sought);
    position = at == std::string_view::npos ? 0 : static_cast<int32_t>(at + 1);
}

std::vector<std::string> Split(std::string_view text, std::string_view delimiter, int32_t limit,
                               int32_t compare) {
    std::vector<std::string> pieces;
    if (text.empty() || limit == 0) return pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    const std::string hay = compare == 1 ? Upper(text) : std::string(text);
    const std::string needle = compare == 1 ? Upper(delimiter) : std::string(delimiter);
    std::vector<std::string> raw;
    size_t start = 0;
    while (true) {
        if (limit > 0 && static_cast<int32_t>(raw.size()) == limit - 1) {
            raw.emplace_back(text.substr(start));
            break;
        }
        const size_t at = hay.find(needle, start);
        if (at == std::string::npos) {
            raw.emplace_back(text.substr(start));
            break;
        }
        raw.emplace_back(text.substr(start, at - start));
        start = at + needle.size();
    }
    for (std::string& piece : raw) {
        // An empty piece becomes the delimiter itself, and pieces holding the delimiter go.
        if (piece.empty()) continue;
        if (piece.find(delimiter) != std::string::npos) continue;
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

}  // namespace dv
