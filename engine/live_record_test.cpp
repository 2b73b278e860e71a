#include "engine/live_record.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/error.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

// The status word is the signed J at 1: above 0 a live record; 0 (deleted), -1 (a record filled
// with 0xFF) and below are no record to decode.
TEST(LiveRecord, OnlyAStatusWordAboveZeroIsALiveRecord) {
    for (const std::string& live : {std::string("\x00\x01", 2) + "DATA", std::string("\x7F\xFF")})
        EXPECT_NO_THROW(CheckLiveRecord(live, "LINEL", 4, "LINEI"));
    const struct {
        std::string bytes;
        int32_t status;
    } dead[] = {
        {std::string(6, '\0'), 0},  // a deleted record, or a zeroed one
        {std::string(6, '\xFF'), -1},
        {std::string("\xFF\xFE\x00\x00", 4), -2},
        {std::string("\x80\x00", 2), -32768},
    };
    for (const auto& c : dead) {
        testing::ExpectError([&] { CheckLiveRecord(c.bytes, "LINEL", 4, "LINEI"); },
                             err::kRecordNotLive, "ReadRecord",
                             "Record 4 of LINEL is not in use (status word " +
                                 std::to_string(c.status) + "), yet LINEI names it");
    }
}

TEST(LiveRecord, ANumberOtherThanTheKeysNamesTheFileAndBoth) {
    EXPECT_NO_THROW(CheckRecordNumber("VNDRL", 8, 250, 250, "VNDRI"));
    testing::ExpectError([] { CheckRecordNumber("VNDRL", 8, 251, 250, "VNDRI"); },
                         err::kRecordNumberDiffers, "ReadRecord",
                         "Record 8 of VNDRL holds number 251, yet VNDRI names it for number 250");
    // A "D" field keeps 24 bits: the key's -5 is the field's 16777211.
    EXPECT_EQ(AsField("D", -5), 16777211);
    EXPECT_EQ(AsField("D", 966), 966);
    EXPECT_EQ(AsField("L", -5), -5);
}

}  // namespace
}  // namespace dv
