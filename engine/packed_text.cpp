#include "engine/packed_text.h"

#include <array>
#include <cstdint>

#include "engine/bytes.h"

namespace dv {
namespace {

std::string g_alphabet(kDefaultAlphabet);

// The digit of one character: its first place in the alphabet, 0 (blank) when absent.
int Digit(char c, std::string_view alphabet) {
    const size_t at = alphabet.find(c);
    return at == std::string_view::npos ? 0 : static_cast<int>(at);
}

}  // namespace

std::string_view Alphabet() {
    return g_alphabet;
}

void ResetAlphabet() {
    g_alphabet.assign(kDefaultAlphabet);
}

void SwitchAlphabet(int32_t a, std::string_view b) {
    if (a != 0 || b.size() != 4) return;
    g_alphabet.replace(0, 4, b);
}

std::string Crm(std::string& text) {
    if (text.size() % 3 != 0) text.append(3 - text.size() % 3, ' ');
    std::string out(text.size() / 3 * 2, '\0');
    for (size_t i = 0, o = 0; i < text.size(); i += 3, o += 2) {
        const uint32_t w = Digit(text[i], g_alphabet) * 1600 + Digit(text[i + 1], g_alphabet) * 40 +
                           Digit(text[i + 2], g_alphabet);
        bytes::PutBE(out.data() + o, 2, w);
    }
    return out;
}

std::string UcmView(std::string_view packed) {
    std::string out((packed.size() + 1) / 2 * 3, '\0');
    const char* alphabet = g_alphabet.data();
    char* o = out.data();
    for (size_t i = 0; i < packed.size(); i += 2) {
        const uint32_t hi = static_cast<unsigned char>(packed[i]);
        const uint32_t lo = i + 1 < packed.size() ? static_cast<unsigned char>(packed[i + 1]) : 0;
        const uint32_t w = (hi << 8) | lo;
        // A word of 64000 or more has no first character: w / 1600 lies past the alphabet.
        if (w / 1600 < 40) *o++ = alphabet[w / 1600];
        *o++ = alphabet[(w / 40) % 40];
        *o++ = alphabet[w % 40];
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

std::string Ucm(std::string& packed) {
    if (packed.size() % 2 != 0) packed.push_back('\0');
    return UcmView(packed);
}

bool StripCode(std::string& code, std::string& positions) {
    size_t first = code.find_first_not_of(' ');
    size_t last = code.find_last_not_of(' ');
    const std::string trimmed =
        first == std::string::npos ? std::string() : code.substr(first, last - first + 1);
    const std::string_view kept_set = kDefaultAlphabet.substr(1);
    std::string kept;
    std::string codes;
    for (size_t i = 0; i < trimmed.size(); ++i) {
        if (kept_set.find(trimmed[i]) != std::string_view::npos) {
            kept.push_back(trimmed[i]);
        } else if (i < kPositionCodes.size()) {
            codes.push_back(kPositionCodes[i]);
        }
    }
    code = std::move(kept);
    positions = std::move(codes);
    return positions.size() <= 3;
}

void RestoreDashes(std::string& part, std::string_view positions) {
    const size_t n = positions.find_last_not_of(' ') + 1;  // npos + 1 == 0 when all blank
    const std::string_view restorable = kPositionCodes.substr(0, 18);
    for (size_t i = 0; i < n; ++i) {
        const size_t k = restorable.find(positions[i]);
        if (k == std::string_view::npos) continue;
        // The dash goes to position k + 1 of the part as it stands now.
        if (part.size() < k) {
            part.push_back('-');
        } else {
            part.insert(k, 1, '-');
        }
    }
}

}  // namespace dv
