#include "records/page_chain.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "records/test_support.h"
#include "test_support/engine_test.h"

namespace dv {
namespace {

using sales_test::Page;
using sales_test::RecordedEvents;
using sales_test::RemarkSlot;
using sales_test::Slot;
using testing::EngineTest;

// INVOL holds, by record number:
//   1 page 1 of A   2 page 2 of A   3 page 3 of A (head)
//   4 page 1 of B (head, one page, date 30524)
//   5 page 2 linking to 6, 6 page 3 linking to 5: a loop without page 1
//   7 page byte 0   8 page byte 201
//   9 page 3 linking to 1: page 2 missing
//  10 page 2 linking past the file
//  11 page 1 whose slot count runs past the record
//  12 page 3 linking to 13, a record of zeros (deleted)
class InvoiceDetail : public EngineTest {
  protected:
    void SetUp() override {
        SetClock([] {
            Date d = MakeDate(2024, 11, 15);
            d.time = std::chrono::hours(14) + std::chrono::minutes(5) + std::chrono::seconds(9);
            return d;
        });
        sample::RecordFileWriter& invol = set.AddRecordFile("INVOL", sales_test::kInvolLength);
        const std::vector<sample::RecordBuilder> pages = {
            Page(1, 111524,
                 {Slot("120", "ABCDEF", "4", "BEARING", 15, 1000, 600),
                  Slot("500", "LABOR", "", "SHOP LABOR", 19, -2500, 0),
                  RemarkSlot("CUSTOMER WILL PICK UP, CALL FIRST")}),
            Page(2, -1, {}),
            Page(3, 2,
                 {Slot("502", "FRT", "", "FREIGHT", 9, 1500, 0),
                  Slot("550", "MISC", "", "SHOP SUPPLIES", -15, 200, 100)}),
            Page(1, 30524, {Slot("120", "X1", "", "ONE PAGE", 10, 99, 50)}),
            Page(2, 6, {Slot("120", "LOOP", "", "", 10, 1, 1)}),
            Page(3, 5, {}),
            Page(0, 1, {}),
            Page(201, 1, {}),
            Page(3, 1, {Slot("120", "TOP", "", "", 10, 1, 1)}),
            Page(2, 99, {}),
            Page(1, 0, {Slot("120", "A", "", "", 10, 1, 1)}, 9),
            Page(3, 13, {Slot("120", "TOP", "", "", 10, 1, 1)}),
            sample::RecordBuilder(sales_test::kInvolLength),
        };
        for (const auto& p : pages) invol.Add(p);
        Start();
    }
    void TearDown() override { SetClock(nullptr); }

    static std::vector<std::string> Codes(const DetailReturn& rows) {
        std::vector<std::string> codes;
        for (const DetailLine& r : rows) codes.push_back(r.code);
        return codes;
    }

    RecordedEvents events;
};

TEST_F(InvoiceDetail, RowsComePageOneFirstWithTheirElements) {
    SwitchAlphabet(0, kPartSet);
    clsInvDetail detail;
    detail.InvoiceRec(3);
    detail.GetDetail();
    EXPECT_FALSE(detail.DetailError());
    EXPECT_TRUE(events.entries().empty());
    const DetailReturn& rows = detail.DetailReturn();
    ASSERT_EQ(Codes(rows), (std::vector<std::string>{"120", "500", "REM", "502", "550"}));
    EXPECT_EQ(rows[0].text, "ABC-DEF            ");  // dash code 4, blanks to 18 kept
    EXPECT_EQ(rows[0].description, "BEARING              ");
    EXPECT_EQ(rows[0].quantity, 1);  // 15 tenths
    EXPECT_EQ(rows[0].net_each, 1000);
    EXPECT_EQ(rows[0].cost_each, 600);
    EXPECT_EQ(rows[1].quantity, 1);  // 19 tenths
    EXPECT_EQ(rows[1].net_each, -2500);
    EXPECT_EQ(rows[2].text,
              std::string("CUSTOMER WILL PICK UP, CALL FIRST") + std::string(30, ' '));
    EXPECT_EQ(rows[2].description, "");
    EXPECT_EQ(rows[2].quantity, 0);
    EXPECT_EQ(rows[3].quantity, 0);   // 9 tenths
    EXPECT_EQ(rows[4].quantity, -1);  // -15 tenths
    EXPECT_FALSE(rows[0].segment.has_value());
    EXPECT_EQ(Alphabet().substr(0, 4), kNameSet);  // the builder selects the name set
    const auto& pages = detail.Builder().PageRecords();
    EXPECT_EQ(pages[0], 3);
    EXPECT_EQ((std::array{pages[1], pages[2], pages[3]}), (std::array{1, 2, 3}));
}

TEST_F(InvoiceDetail, OneBuilderForALongThenAShortDocument) {
    clsInvDetail detail;
    detail.InvoiceRec(3);
    detail.GetDetail();
    ASSERT_EQ(detail.DetailReturn().size(), 5u);
    detail.InvoiceRec(4);  // a head that is page 1: its date is never followed
    detail.GetDetail();
    EXPECT_FALSE(detail.DetailError());
    ASSERT_EQ(detail.DetailReturn().size(), 1u);
    EXPECT_EQ(detail.DetailReturn()[0].description, "ONE PAGE             ");
    EXPECT_EQ(detail.Builder().PageRecords()[2], 0);
}

TEST_F(InvoiceDetail, EachDamageEndsInOneEntryAndKeepsWhatWasBuilt) {
    const struct {
        int32_t head;
        std::vector<std::string> labels;  // the entries' labels, in order
        int32_t number;                   // the first entry's error number
        size_t rows;
    } cases[] = {
        {0, {"GetDetail"}, err::kRecordNumber, 0},
        {14, {"GetDetail"}, err::kRecordNumber, 0},             // a head past LastRecord
        {6, {"BuildPage", "BuildDetail"}, err::kPageChain, 0},  // a loop never reaching page 1
        {7, {"BuildPage", "BuildDetail"}, err::kPageChain, 0},  // page byte 0
        {8, {"BuildPage", "BuildDetail"}, err::kPageChain, 0},  // page byte 201
        {9, {"BuildDetail"}, err::kRecordNumber, 3},  // page 2 missing: page 1's rows stay
        {10, {"BuildPage", "BuildDetail"}, err::kPageChain, 0},  // a link past the file
        {11, {"BuildDetail"}, 31, 8},  // slot 9 of 8 runs past the record: 8 rows stay
        // A deleted page (status word 0) behind a live one, and as the head itself.
        {12, {"BuildPage", "BuildDetail"}, err::kRecordNotLive, 0},
        {13, {"BuildPage", "BuildDetail"}, err::kRecordNotLive, 0},
    };
    for (const auto& c : cases) {
        events.Clear();
        clsInvDetail detail;
        detail.InvoiceRec(3);
        detail.GetDetail();  // a full document first: nothing of it may stay
        detail.InvoiceRec(c.head);
        detail.GetDetail();
        EXPECT_TRUE(detail.DetailError()) << c.head;
        EXPECT_EQ(detail.DetailReturn().size(), c.rows) << c.head;
        ASSERT_EQ(events.entries().size(), c.labels.size()) << c.head;
        for (size_t i = 0; i < c.labels.size(); ++i)
            EXPECT_NE(events.entries()[i].find("clsInvDetail : " + c.labels[i]), std::string::npos)
                << events.entries()[i];
        EXPECT_NE(events.entries()[0].find(" : " + c.labels[0] + std::to_string(c.number) + "  "),
                  std::string::npos)
            << events.entries()[0];
        EXPECT_EQ(detail.Builder().LastEntry(), events.entries().back());
    }
}

TEST_F(InvoiceDetail, EntryTextIsDateTimeLabelNumberDescriptionSource) {
    clsInvDetail detail;
    detail.InvoiceRec(5);
    detail.GetDetail();
    ASSERT_EQ(events.entries().size(), 2u);
    EXPECT_EQ(events.entries()[0],
              "11/15/2024 : 2:05:09 PM : clsInvDetail : BuildPage1030  Damaged page chain in "
              "file INVOL: page 2 met twice (record 5)  PageChain");
    EXPECT_EQ(events.entries()[1],
              "11/15/2024 : 2:05:09 PM : clsInvDetail : BuildDetail81  Illegal Record Number for "
              "File: INVOL and Record:  0  iLreadFile");
}

// A builder that keeps totals: labor, freight, miscellaneous, parts.
int TotalFor(std::string_view code) {
    if (code == "500") return 0;
    if (code == "502") return 1;
    if (code == "550") return 2;
    return 3;
}
const PageChainPolicy kTotalling = {"clsTotals", "INVOL", false, 0, 4, &TotalFor, true};

TEST_F(InvoiceDetail, TotalsByExactCodeInWholeUnits) {
    PageChainBuilder builder(kTotalling);
    builder.GetDetail(3);
    EXPECT_EQ(builder.Total(0), -2500);  // 1 unit (19 tenths) at -25.00
    EXPECT_EQ(builder.Total(1), 0);      // 0 units (9 tenths)
    EXPECT_EQ(builder.Total(2), -200);   // -1 unit at 2.00
    EXPECT_EQ(builder.Total(3), 1000);   // 1 unit (15 tenths) at 10.00; the remark adds nothing
    builder.GetDetail(0);                // a failure at the first read clears the totals too
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(builder.Total(i), 0);
    EXPECT_TRUE(builder.Rows().empty());
}

}  // namespace
}  // namespace dv
