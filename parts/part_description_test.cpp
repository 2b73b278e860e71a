#include "parts/part_description.h"

#include <gtest/gtest.h>

#include "test_support/engine_test.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using testing::EngineTest;

constexpr int32_t kPartl = 192;

// The PARTI key written by hand: the line as two bytes, then the packed part number in 12.
std::string PartKey(int32_t line, const std::string& part) {
    return RecordBuilder(14).Bin(1, 'C', line).Text(3, part, 12).str();
}

class DescriptionLookup : public EngineTest {
  protected:
    DescriptionLookup() {
        sample::RecordFileWriter& parts = set.AddRecordFile("PARTL", kPartl);
        set.AddRecordFile("EPARTL", 96);
        sample::IndexWriter& index = set.AddIndex("PARTI", 14);
        const struct {
            int32_t line;
            const char* part;
            const char* description;
        } rows[] = {
            {12, "AB123X", "CYLINDER HEAD GASKET"},
            {12, "AB124", "SEAL"},
            {13, "ZZ1", "FILTER ELEMENT, OIL/AIR"},
        };
        for (const auto& row : rows) {
            RecordBuilder r = parts.NewRecord();
            r.Bin(1, 'J', 1)
                .Bin(3, 'C', row.line)
                .PartNumber(5, row.part)
                .Text(179, row.description, 14);
            index.Add(r.bytes().substr(2, 14), parts.Add(r));
        }
    }
};

TEST_F(DescriptionLookup, ExactEntryGivesItsDescription) {
    // The key begins 0x00 0x0C: line 12.
    EXPECT_EQ(PartKey(12, "AB123X").substr(0, 2), std::string("\x00\x0C", 2));
    Start();
    EXPECT_EQ(GetPartDescription("12", "AB123X            "), "CYLINDER HEAD GASKET ");
    EXPECT_EQ(GetPartDescription("13", "ZZ1"), "FILTER ELEMENT, OIL/A");
}

TEST_F(DescriptionLookup, BlanksAroundThePartNumberDoNotMatter) {
    Start();
    for (const char* part : {"AB123X", "AB123X            ", "   AB123X", "  AB123X  "})
        EXPECT_EQ(GetPartDescription("12", part), "CYLINDER HEAD GASKET ") << '"' << part << '"';
}

TEST_F(DescriptionLookup, ShortDescriptionKeepsItsTrailingBlanks) {
    Start();
    EXPECT_EQ(GetPartDescription("12", "AB124"), "SEAL                 ");
}

TEST_F(DescriptionLookup, AnythingButAnExactEntryIsNotFound) {
    Start();
    const struct {
        const char* line;
        const char* part;
    } cases[] = {
        {"13", "AB123X"},     // the same part under another line
        {"12", "AB123"},      // a key between two keys
        {"12", "AB125"},      // not in the index
        {"99", "ZZZZ"},       // beyond the last key
        {"12", ""},           // no part number
        {"65548", "AB123X"},  // a line that does not fit two bytes is not line 12
        {"-1", "AB123X"},    {"LINE", "AB123X"},  // no number
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetPartDescription(c.line, c.part), kDescriptionNotFound)
            << c.line << " / " << c.part;
}

class EmptyPartsIndex : public EngineTest {};

TEST_F(EmptyPartsIndex, NothingIsFound) {
    set.AddRecordFile("PARTL", kPartl);
    set.AddIndex("PARTI", 14);
    Start();
    EXPECT_EQ(GetPartDescription("12", "AB123X"), kDescriptionNotFound);
}

TEST_F(EmptyPartsIndex, MissingIndexReachesTheCaller) {
    set.AddRecordFile("PARTL", kPartl);
    Start();
    testing::ExpectError([] { GetPartDescription("12", "AB123X"); }, err::kFile,
                         "File not Found: \"PARTI\"");
}

}  // namespace
}  // namespace dv
