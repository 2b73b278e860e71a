// Unchecked big-endian byte primitives. Callers have already checked that the bytes lie inside
// their buffer; everything that decodes outside bytes goes through the checked codec instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dv::bytes {

inline uint32_t GetBE(const char* p, int width) {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

inline void PutBE(char* p, int width, uint32_t v) {
    for (int i = width - 1; i >= 0; --i) {
        p[i] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
}

// Sign-extends the low `width` bytes of v.
inline int32_t SignExtend(uint32_t v, int width) {
    if (width >= 4) return static_cast<int32_t>(v);
    const uint32_t sign = 1u << (width * 8 - 1);
    return (v & sign) ? static_cast<int32_t>(v | ~((sign << 1) - 1)) : static_cast<int32_t>(v);
}

}  // namespace dv::bytes
