#include "shell/dump_document.h"

#include <gtest/gtest.h>

namespace dv {
namespace {

TEST(JsonStringTest, EscapesQuotesControlsAndHighBytes) {
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("A \"B\" \\ C"), "\"A \\\"B\\\" \\\\ C\"");
    EXPECT_EQ(JsonString("a\r\nb\tc"), "\"a\\r\\nb\\tc\"");
    EXPECT_EQ(JsonString(std::string("x\0y", 3)), "\"x\\u0000y\"");
    EXPECT_EQ(JsonString("\x1f\x7f"), "\"\\u001f\\u007f\"");
    // Single-byte text: 0xE9 is U+00E9, written in UTF-8.
    EXPECT_EQ(JsonString("caf\xe9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(JsonString("\xff"), "\"\xc3\xbf\"");
    std::string out = "[";  // appended after what is there, plain runs around each escape
    AppendJsonString(out, "ab\"cd\\");
    EXPECT_EQ(out, "[\"ab\\\"cd\\\\\"");
}

}  // namespace
}  // namespace dv
