// Expects a call to raise the program's one error type with a given number and texts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "engine/error.h"

namespace dv::testing {

namespace internal {
template <typename Fn>
void ExpectBasicError(Fn fn, int32_t number, const std::optional<std::string>& source,
                      const std::string& description) {
    try {
        fn();
        ADD_FAILURE() << "no error raised; expected " << number;
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), number);
        if (source) {
            EXPECT_EQ(e.source(), *source);
        }
        EXPECT_EQ(e.description(), description);
    }
}
}  // namespace internal

// Expects fn to raise number with this description, from any source.
template <typename Fn>
void ExpectError(Fn fn, int32_t number, const std::string& description) {
    internal::ExpectBasicError(fn, number, std::nullopt, description);
}

// Expects fn to raise number with this source and description.
template <typename Fn>
void ExpectError(Fn fn, int32_t number, const std::string& source, const std::string& description) {
    internal::ExpectBasicError(fn, number, source, description);
}

}  // namespace dv::testing
