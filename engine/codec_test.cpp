#include "engine/codec.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/error.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

using testing::ExpectError;

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
}

TEST(UnpackTest, CodesReadBigEndianWithTheirSign) {
    struct Case {
        const char* code;
        std::string data;
        int32_t value;
    } cases[] = {
        {"B", Bytes({0xFF}), 255},
        {"I", Bytes({0xFF}), -1},
        {"I", Bytes({0x7F}), 127},
        {"C", Bytes({0xFF, 0xFE}), 65534},
        {"J", Bytes({0xFF, 0xFE}), -2},
        {"j", Bytes({0xFF, 0xFE}), -2},
        {"D", Bytes({0x80, 0x00, 0x00}), 8388608},
        {"K", Bytes({0x80, 0x00, 0x00}), -8388608},
        {"K", Bytes({0x01, 0x02, 0x03}), 0x010203},
        {"L", Bytes({0xFF, 0xFF, 0xFF, 0xFF}), -1},
        {"L", Bytes({0x12, 0x34, 0x56, 0x78}), 0x12345678},
    };
    for (const Case& c : cases) EXPECT_EQ(Unpack(c.code, c.data, 1), c.value) << c.code;
}

TEST(UnpackTest, FieldMustLieWhollyInsideTheData) {
    const std::string data = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(Unpack("J", data, 9), 0x090A);  // ends on the last byte
    ExpectError([&] { Unpack("J", data, 10); }, 31, "UnPack",
                "Invalid Subscript.  UnPack(\"J\", Data$, 10)   Len(Data$) = 10");
    for (const char* code : {"B", "I", "C", "J", "D", "K", "L"}) {
        EXPECT_THROW(Unpack(code, data, 11), BasicError) << code;
    }
}

TEST(UnpackTest, UnknownCodeAndBadPosition) {
    ExpectError([] { Unpack("x", "abcd", 1); }, 100, "UnPack", "Unknown OpCode = \"X\"");
    std::string data = "abcd";
    ExpectError([&] { Pack("X", data, 1, 1); }, 100, "Pack", "Unknown OpCode = \"X\"");
    try {
        Unpack("B", "abcd", 0);
        FAIL();
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), 5);
    }
}

// What one call gave: its value, or the number, source and text of what it raised.
struct Outcome {
    int32_t value = 0;
    int32_t error = 0;
    std::string source;
    std::string text;
    bool operator==(const Outcome&) const = default;
};

template <typename Fn>
Outcome OutcomeOf(Fn fn) {
    Outcome o;
    try {
        o.value = fn();
    } catch (const BasicError& e) {
        o.error = e.number();
        o.source = e.source();
        o.text = e.description();
    }
    return o;
}

// The in-line decoding gives what the checked one gives, value or error, for every code byte
// (and codes of other lengths), every length of data up to past the widest field and every
// position around it, over bytes that set each sign bit somewhere.
TEST(UnpackTest, InLineDecodingGivesWhatTheCheckedOneGives) {
    std::vector<std::string> codes = {"", "BB", "Lx", "bL", "JJJ"};
    for (int c = 0; c < 256; ++c) codes.emplace_back(1, static_cast<char>(c));
    std::string bytes;
    uint32_t seed = 12345;
    for (int i = 0; i < 8; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(seed >> 16));
    }
    bytes[2] = static_cast<char>(0x80);
    int decoded = 0;
    for (size_t length = 0; length <= bytes.size(); ++length) {
        const std::string_view data(bytes.data(), length);
        std::vector<int32_t> positions = {INT32_MIN, -1, 0, INT32_MAX};
        for (int32_t p = 1; p <= static_cast<int32_t>(length) + 2; ++p) positions.push_back(p);
        for (const std::string& code : codes) {
            for (const int32_t position : positions) {
                const Outcome in_line = OutcomeOf([&] { return Unpack(code, data, position); });
                const Outcome checked =
                    OutcomeOf([&] { return UnpackChecked(code, data, position); });
                ASSERT_EQ(in_line, checked)
                    << "code \"" << code << "\" length " << length << " at " << position;
                decoded += in_line.error == 0 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(decoded, 200);  // the cases decode, not only fail
}

TEST(PackTest, WritesLowBytesAndKeepsLength) {
    struct Case {
        const char* code;
        int32_t value;
        std::string bytes;
    } cases[] = {
        {"B", 256, Bytes({0x00})},
        {"B", -1, Bytes({0xFF})},
        {"C", 70000, Bytes({0x11, 0x70})},
        {"J", -2, Bytes({0xFF, 0xFE})},
        {"K", -8388608, Bytes({0x80, 0, 0})},
        {"L", 0x01020304, Bytes({1, 2, 3, 4})},
    };
    for (const Case& c : cases) {
        std::string data(6, 'x');
        Pack(c.code, data, c.value, 2);
        EXPECT_EQ(data.size(), 6u);
        EXPECT_EQ(data.substr(1, c.bytes.size()), c.bytes) << c.code;
        EXPECT_EQ(data[0], 'x');
    }
}

TEST(PackTest, RoundTripsEveryCodeAtItsLimits) {
    struct Case {
        const char* code;
        int32_t lo, hi;
    } cases[] = {{"B", 0, 255},
                 {"I", -128, 127},
                 {"C", 0, 65535},
                 {"J", -32768, 32767},
                 {"D", 0, 16777215},
                 {"K", -8388608, 8388607},
                 {"L", INT32_MIN, INT32_MAX}};
    for (const Case& c : cases) {
        for (int32_t v : {c.lo, c.hi, 0}) {
            std::string data(4, '\0');
            Pack(c.code, data, v, 1);
            EXPECT_EQ(Unpack(c.code, data, 1), v) << c.code;
        }
    }
}

TEST(PackTest, PastTheEndRaises31AndChangesNothing) {
    std::string data = "abc";
    ExpectError([&] { Pack("L", data, 7, 2); }, 31, "Pack",
                "Invalid Subscript.  Pack \"L\", Data$, 2   Len(Data$) = 3");
    EXPECT_EQ(data, "abc");
}

TEST(TextHelpersTest, TrunModes) {
    const std::string text = std::string("AB \0\r", 5);
    EXPECT_EQ(Trun(text, 1), "AB");
    EXPECT_EQ(Trun(text, 0), text);
    EXPECT_EQ(Trun("AB  ", 0), "AB");
    EXPECT_EQ(Trun("   ", 0), "");
    EXPECT_EQ(Trun("   ", 1), "");
    EXPECT_EQ(Trun("  AB\t\n", 1), "  AB");
}

TEST(TextHelpersTest, SplitDropsEmptyPieces) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("a  b", " "), (V{"a", "b"}));
    EXPECT_EQ(Split(" a b ", " "), (V{"a", "b"}));
    EXPECT_EQ(Split("", " "), V{});
    EXPECT_EQ(Split("   ", " "), V{});
    EXPECT_EQ(Split(",,,", ","), V{});
    EXPECT_EQ(Split("12,extra", ","), (V{"12", "extra"}));
    EXPECT_EQ(Split("a,b,c", ",", 2), (V{"a"}));  // the rest holds a delimiter and is dropped
    EXPECT_EQ(Split("aXbxc", "x", -1, 1), (V{"a", "b", "c"}));
}

TEST(TextHelpersTest, MinMaxAndStrPos) {
    EXPECT_EQ(Min(-1, 1), -1);
    EXPECT_EQ(Max(-1, 1), 1);
    int32_t at = -1;
    StrPos(at, "ABCABC", "CA");
    EXPECT_EQ(at, 3);
    StrPos(at, "ABC", "c");
    EXPECT_EQ(at, 0);
}

}  // namespace
}  // namespace dv
