// The record classes on files: Read joining the main and extension records, its record-number
// checks, and the commodity list that clsLines builds from COMODI.
#include <gtest/gtest.h>

#include "parts/lines_record.h"
#include "parts/parts_record.h"
#include "sampledata/damage.h"
#include "test_support/engine_test.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using testing::EngineTest;
using testing::ExpectError;

// The main files end at 192, where the views stop reading; the extensions hold the rest.
constexpr int32_t kLinel = 192, kElinel = 64, kPartl = 192, kEpartl = 96;

std::string ComodiKey(int32_t line, char code) {
    return RecordBuilder(4).Bin(1, 'C', line).Raw(3, std::string(1, code)).str();
}

// A line record cut where LINEL ends: the rest goes into ELINEL.
struct LineRecord {
    std::string main, ext;
};
LineRecord MakeLine(int32_t line, char commodity, int32_t primary_vendor) {
    RecordBuilder whole(kLinel + kElinel);
    whole.Bin(1, 'J', 1)
        .Bin(3, 'C', line)
        .Text(7, "LINE " + std::to_string(line), 20)
        .Raw(28, std::string(1, commodity))
        .Bin(75, 'L', 10000 * line)
        .Bin(188, 'L', 188)
        .Bin(193, 'L', primary_vendor)
        .Bin(219, 'L', 219);
    return {whole.str().substr(0, kLinel), whole.str().substr(kLinel)};
}

class LinesOnFiles : public EngineTest {
  protected:
    LinesOnFiles() {
        sample::RecordFileWriter& lines = set.AddRecordFile("LINEL", kLinel);
        sample::RecordFileWriter& ext = set.AddRecordFile("ELINEL", kElinel);
        sample::IndexWriter& comodi = set.AddIndex("COMODI", 4);
        for (int32_t line : {4, 5, 6, 7}) {
            const LineRecord r = MakeLine(line, 'A', 900 + line);
            lines.Add(r.main);
            ext.Add(r.ext);
        }
        // Line 4 has Z, line 5 has A, B and C, line 6 has X; line 7 has none.
        int32_t n = 1;
        comodi.Add(ComodiKey(4, 'Z'), n++);
        for (char c : {'A', 'B', 'C'}) comodi.Add(ComodiKey(5, c), n++);
        comodi.Add(ComodiKey(6, 'X'), n++);
    }

    // Unpacks line 5's record with its byte 28 replaced.
    std::vector<std::string> CommoditiesOf(int32_t line, char own) {
        clsLines l;
        RecordBuilder r(kLinel);
        r.Bin(3, 'C', line).Raw(28, std::string(1, own));
        l.Unpack(r.str());
        return l.Comodities;
    }
};

TEST_F(LinesOnFiles, ReadJoinsLinelAndElinel) {
    Start();
    clsLines l;
    l.Read(2, flag);
    EXPECT_EQ(l.Line, 5);
    EXPECT_EQ(l.Line_Name, "LINE 5                        ");
    EXPECT_EQ(l.Cost_of_Mdse, 50000);
    EXPECT_EQ(l.YTD_Dollars_Filled, 188);  // the last field of LINEL
    EXPECT_EQ(l.Primary_Vendor, 905);      // the first field of ELINEL
    EXPECT_EQ(l.EOY_Freight_Cost, 219);
    EXPECT_EQ(l.RecNo, 2);
    EXPECT_EQ(flag, 0);
    l.Read(4, flag);  // the last record
    EXPECT_EQ(l.Line, 7);
    EXPECT_EQ(l.RecNo, 4);
}

TEST_F(LinesOnFiles, ReadOutsideTheFileRaises81AndChangesNothing) {
    Start();
    clsLines l;
    l.Read(1, flag);
    for (int32_t n : {0, -1, 5}) {
        ExpectError([&] { l.Read(n, flag); }, err::kRecordNumber, "Illegal Record Number");
        EXPECT_EQ(l.Line, 4);
        EXPECT_EQ(l.RecNo, 1);
    }
}

TEST_F(LinesOnFiles, ExtensionShorterThanTheMainFileRaisesTheEnginesError) {
    set.Records("LINEL").Add(MakeLine(8, 'A', 1).main);  // no ELINEL record 5
    Start();
    clsLines l;
    try {
        l.Read(5, flag);
        ADD_FAILURE() << "no error raised";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), err::kRecordNumber);
        EXPECT_EQ(e.source(), "iLreadFile");
    }
}

TEST_F(LinesOnFiles, CommodityListFromTheIndex) {
    Start();
    using V = std::vector<std::string>;
    EXPECT_EQ(CommoditiesOf(5, 'A'), (V{"A", "B", "C"}));
    // The entry the search lands on is passed over, whichever it is.
    EXPECT_EQ(CommoditiesOf(5, 'B'), (V{"B", "C"}));
    EXPECT_EQ(CommoditiesOf(5, ' '), (V{" ", "B", "C"}));
    EXPECT_EQ(CommoditiesOf(7, 'Q'), (V{"Q"}));  // no entry: only the own code
    EXPECT_EQ(CommoditiesOf(6, 'X'), (V{"X"}));  // the walk stops at the next line
    EXPECT_EQ(CommoditiesOf(3, 'M'), (V{"M"}));  // lands on line 4's entry, passes it, stops
}

TEST_F(LinesOnFiles, UnpackRebuildsTheListEachTime) {
    Start();
    clsLines l;
    l.Unpack(RecordBuilder(kLinel).Bin(3, 'C', 5).Raw(28, "A").str());
    l.Unpack(RecordBuilder(kLinel).Bin(3, 'C', 7).Raw(28, "Q").str());
    EXPECT_EQ(l.Comodities, std::vector<std::string>{"Q"});
}

class LinesWithoutCommodityIndex : public EngineTest {};

TEST_F(LinesWithoutCommodityIndex, ListHoldsTheOwnCodeOnly) {
    set.AddRecordFile("LINEL", kLinel);
    Start();
    clsLines l;
    l.Unpack(RecordBuilder(kLinel).Bin(3, 'C', 5).Raw(28, "A").str());
    EXPECT_EQ(l.Comodities, std::vector<std::string>{"A"});
}

TEST_F(LinesWithoutCommodityIndex, ReadWithoutElinelRaisesFileNotFound) {
    set.AddRecordFile("LINEL", kLinel).Add(MakeLine(4, 'A', 1).main);
    Start();
    clsLines l;
    ExpectError([&] { l.Read(1, flag); }, err::kFile, "File not Found: \"ELINEL\"");
    // The number is checked first, against LINEL.
    ExpectError([&] { l.Read(2, flag); }, err::kRecordNumber, "Illegal Record Number");
}

class DamagedCommodityIndex : public EngineTest {};

TEST_F(DamagedCommodityIndex, WalkEndsAtTheFirstFailingStep) {
    set.AddRecordFile("LINEL", kLinel);
    sample::IndexWriter& comodi = set.AddIndex("COMODI", 4);
    const std::string codes = "ABCDEFGHIJ";
    for (size_t i = 0; i < codes.size(); ++i)
        comodi.Add(ComodiKey(5, codes[i]), static_cast<int32_t>(i + 1));
    comodi.Fill(2);  // several leaves
    sample::DataSetImage image = set.Build();
    sample::damage::LoopLeafChain(image, "COMODI", 2, 0);  // the third leaf leads back
    Start(image);
    clsLines l;
    l.Unpack(RecordBuilder(kLinel).Bin(3, 'C', 5).Raw(28, "A").str());
    // The codes in order up to the leaf that leads back, each once: the engine's walk ends
    // with its cycle error there, and the list keeps what it had.
    ASSERT_GE(l.Comodities.size(), 2u);
    EXPECT_LT(l.Comodities.size(), codes.size());
    for (size_t i = 0; i < l.Comodities.size(); ++i)
        EXPECT_EQ(l.Comodities[i], std::string(1, codes[i])) << i;
}

TEST_F(DamagedCommodityIndex, RepeatedKeyDoesNotEndTheWalk) {
    set.AddRecordFile("LINEL", kLinel);
    sample::IndexWriter& comodi = set.AddIndex("COMODI", 4);
    int32_t n = 1;
    for (char c : {'A', 'B', 'B', 'C'}) comodi.Add(ComodiKey(5, c), n++);
    comodi.Add(ComodiKey(6, 'X'), n++);
    Start();
    clsLines l;
    l.Unpack(RecordBuilder(kLinel).Bin(3, 'C', 5).Raw(28, "A").str());
    EXPECT_EQ(l.Comodities, (std::vector<std::string>{"A", "B", "B", "C"}));
}

class PartsOnFiles : public EngineTest {
  protected:
    PartsOnFiles() {
        sample::RecordFileWriter& parts = set.AddRecordFile("PARTL", kPartl);
        sample::RecordFileWriter& ext = set.AddRecordFile("EPARTL", kEpartl);
        for (int i = 1; i <= 3; ++i) {
            RecordBuilder whole(kPartl + kEpartl);
            whole.Bin(1, 'J', 1)
                .Bin(3, 'C', 12)
                .PartNumber(5, "AB-12" + std::to_string(i))
                .Bin(61, 'K', 100 * i)
                .Text(179, "PART " + std::to_string(i), 14)
                .Bin(193, 'J', -i)  // YTD_Demand_3_back: the first field of EPARTL
                .Raw(285, "Z")
                .Bin(286, 'D', 1000 + i);
            parts.Add(whole.str().substr(0, kPartl));
            ext.Add(whole.str().substr(kPartl));
        }
    }
};

TEST_F(PartsOnFiles, ReadJoinsPartlAndEpartl) {
    Start();
    clsParts p;
    p.Read(3, flag);
    EXPECT_EQ(p.Part_w_Dash, "AB-123             ");
    EXPECT_EQ(p.Cost, 300);
    EXPECT_EQ(p.Description, "PART 3               ");
    EXPECT_EQ(p.YTD_Demand_3_back, -3);
    EXPECT_EQ(p.Zone, "Z");
    EXPECT_EQ(p.Spring_Order_Qty, 1003);
    EXPECT_EQ(p.Record_Number, 3);
}

TEST_F(PartsOnFiles, ReadOutsideTheFileRaises81AndChangesNothing) {
    Start();
    clsParts p;
    p.Read(2, flag);
    for (int32_t n : {0, -1, 4}) {
        ExpectError([&] { p.Read(n, flag); }, err::kRecordNumber, "Read - Illegal Record Number");
        EXPECT_EQ(p.Cost, 200);
        EXPECT_EQ(p.Record_Number, 2);
    }
}

}  // namespace
}  // namespace dv
