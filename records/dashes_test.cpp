#include "records/dashes.h"

#include <gtest/gtest.h>

#include <string>

namespace dv {
namespace {

TEST(InsertDashesTest, Table) {
    struct Case {
        const char* part;
        const char* codes;
        const char* expected;
    };
    const Case cases[] = {
        {"AB123X", "37", "AB-123-X"},  // positions count in the part as it grows
        {"AB123X", "J", "AB123X"},     // J to L are not restored
        {"AB123X", "   ", "AB123X"},
        {"AB123X", "1", "-AB123X"},
        {"AB", "9", "AB-"},             // past the end: appended
        {"AB123X", "3 7", "AB-123-X"},  // an inner blank is skipped
        {"A1B2C3", "246", "A-1-B-2C3"},
    };
    for (const Case& c : cases) {
        std::string part = c.part;
        std::string codes = c.codes;
        EXPECT_EQ(InsertDashes(part, codes), c.expected) << c.part << " / " << c.codes;
        EXPECT_EQ(part, c.expected);
    }
}

}  // namespace
}  // namespace dv
