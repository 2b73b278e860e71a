#include "engine/address.h"

#include <gtest/gtest.h>

#include "engine/numeric.h"

namespace dv {
namespace {

std::string Block(std::initializer_list<std::string> lines) {
    std::string block;
    for (const std::string& line : lines) block += (line + std::string(30, ' ')).substr(0, 30);
    return block;
}

TEST(AddressTest, StateAndZipFromTheLastLine) {
    std::string a = Block({"ACME FARMS", "RR 2 BOX 14", "SPRINGFIELD IL 62704"});
    EXPECT_EQ(GetStateFromAddress(a), "IL");
    std::string b = Block({"ACME FARMS", "SPRINGFIELD, IL. 62704-1234"});
    EXPECT_EQ(GetZipFromAddress(b), "62704-1234");
    EXPECT_EQ(b.find(','), std::string::npos);  // the caller's block is changed
}

TEST(AddressTest, WhatIsNotFound) {
    struct Case {
        std::string address;
        std::string state, zip;
    } cases[] = {
        {Block({"springfield il 62704"}), "", "62704"},
        {Block({"TOWN 627041"}), "", ""},
        {Block({"TOWN 6270"}), "", ""},
        {Block({"SPRINGFIELD IL 62704", ".OLD TOWN OH 44101"}), "IL", "62704"},
        {Block({".SPRINGFIELD IL 62704"}), "", ""},
        {Block({"BOX 5 A"}), "A", ""},
        {"", "", ""},
        {std::string(120, ' '), "", ""},
        {Block({"TOWN 627049999"}), "", "627049999"},
    };
    for (const Case& c : cases) {
        std::string s = c.address, z = c.address;
        EXPECT_EQ(GetStateFromAddress(s), c.state) << c.address;
        EXPECT_EQ(GetZipFromAddress(z), c.zip) << c.address;
    }
}

TEST(AddressTest, ZipForms) {
    EXPECT_TRUE(IsZipCode("62704"));
    EXPECT_TRUE(IsZipCode("+6270"));  // the platform's number test takes a sign
    EXPECT_TRUE(IsZipCode("1E+03"));  // and an exponent
    EXPECT_FALSE(IsZipCode("62704-12345"));
    EXPECT_FALSE(IsZipCode("6270A"));
    EXPECT_FALSE(IsZipCode("62704+1234"));
    EXPECT_TRUE(IsStateCode("WY"));
    EXPECT_FALSE(IsStateCode("wy"));
    EXPECT_FALSE(IsStateCode("B"));
    EXPECT_FALSE(IsStateCode("Q"));
}

TEST(AddressTest, YesNo) {
    EXPECT_TRUE(YesNoToBool("Y"));
    EXPECT_FALSE(YesNoToBool("y"));
    EXPECT_FALSE(YesNoToBool(""));
    EXPECT_FALSE(YesNoToBool("YES"));
    EXPECT_EQ(BoolToYesNo(true), "Y");
    EXPECT_EQ(BoolToYesNo(false), "N");
}

TEST(NumericTest, ConversionsAsThePlatformMakesThem) {
    EXPECT_TRUE(IsNumeric(" 12 "));
    EXPECT_TRUE(IsNumeric("-1.5"));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("1.2.3"));
    EXPECT_FALSE(IsNumeric("E5"));
    EXPECT_EQ(ParseLong("2.5", "t"), 2);
    EXPECT_EQ(ParseLong("3.5", "t"), 4);
    EXPECT_EQ(ParseLong("-7", "t"), -7);
    EXPECT_THROW(ParseLong("x", "t"), std::exception);
    EXPECT_THROW(ParseLong("3000000000", "t"), std::exception);
}

}  // namespace
}  // namespace dv
