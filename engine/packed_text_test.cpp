#include "engine/packed_text.h"

#include <gtest/gtest.h>

namespace dv {
namespace {

class PackedTextTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TEST_F(PackedTextTest, CrmPacksThreeCharactersPerWord) {
    std::string abc = "ABC";
    EXPECT_EQ(Crm(abc), std::string("\x59\xE8", 2));  // 14*1600 + 15*40 + 16 = 23016
    std::string ab = "AB";
    const std::string packed = Crm(ab);
    EXPECT_EQ(ab, "AB ");  // padded in place
    std::string copy = packed;
    EXPECT_EQ(Ucm(copy), "AB ");
    std::string lower = "abc";
    EXPECT_EQ(Crm(lower), std::string(2, '\0'));
    std::string empty;
    EXPECT_EQ(Crm(empty), "");
}

TEST_F(PackedTextTest, UcmDecodesAndPadsOddInput) {
    std::string w = std::string("\x59\xE8", 2);
    EXPECT_EQ(Ucm(w), "ABC");
    std::string zero(2, '\0');
    EXPECT_EQ(Ucm(zero), "   ");
    std::string top = "\xFF\xFF";  // 65535: past the alphabet, two characters only
    EXPECT_EQ(Ucm(top).size(), 2u);
    std::string odd = "\x59";
    const std::string text = Ucm(odd);
    EXPECT_EQ(odd.size(), 2u);
    EXPECT_EQ(text.size(), 3u);
}

TEST_F(PackedTextTest, AlphabetSwitchChangesTheDashAndPersists) {
    std::string dash = "A-B";
    std::string packed = Crm(dash);
    EXPECT_EQ(UcmView(packed), "A B");  // a dash is no character of the default alphabet
    SwitchAlphabet(0, kNameSet);
    dash = "A-B";
    packed = Crm(dash);
    EXPECT_EQ(UcmView(packed), "A-B");
    EXPECT_EQ(UcmView(packed), "A-B");  // still switched
    ResetAlphabet();
    EXPECT_EQ(UcmView(packed), "A/B");  // digit 2 is the slash again
}

TEST_F(PackedTextTest, AlphabetSwitchIgnoresBadArguments) {
    SwitchAlphabet(1, kNameSet);
    SwitchAlphabet(0, " ,-");
    SwitchAlphabet(0, " ,-.x");
    EXPECT_EQ(Alphabet(), kDefaultAlphabet);
}

TEST_F(PackedTextTest, StripCodeAndRestoreDashes) {
    struct Case {
        std::string in, kept, positions;
        bool fits;
    } cases[] = {
        {"AB-123-X", "AB123X", "37", true},
        {"  AB-1  ", "AB1", "3", true},
        {"A-B-C-D-E", "ABCDE", "2468", false},
        {"ab-1", "1", "123", true},
        {"A B", "AB", "2", true},
        {"ABC", "ABC", "", true},
    };
    for (const Case& c : cases) {
        std::string code = c.in;
        std::string positions = "junk";
        EXPECT_EQ(StripCode(code, positions), c.fits) << c.in;
        EXPECT_EQ(code, c.kept) << c.in;
        EXPECT_EQ(positions, c.positions) << c.in;
    }
    std::string part = "AB123X";
    RestoreDashes(part, "37");
    EXPECT_EQ(part, "AB-123-X");
    part = "AB123X";
    RestoreDashes(part, "   ");
    EXPECT_EQ(part, "AB123X");
    part = "AB";
    RestoreDashes(part, "5");  // shorter than the position: the dash goes at the end
    EXPECT_EQ(part, "AB-");
    part = "ABCDEFGHIJKLMNOPQRST";
    RestoreDashes(part, "J I");  // J (19) is past 18 and skipped; the blank too; I is 18
    EXPECT_EQ(part, "ABCDEFGHIJKLMNOPQ-RST");
}

TEST_F(PackedTextTest, StripCodeStopsCodingPastPosition21) {
    std::string code = std::string(21, 'A') + "-B";
    std::string positions;
    EXPECT_TRUE(StripCode(code, positions));
    EXPECT_EQ(positions, "");
    EXPECT_EQ(code, std::string(21, 'A') + "B");
}

}  // namespace
}  // namespace dv
