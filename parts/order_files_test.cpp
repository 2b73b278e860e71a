#include "parts/order_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/limits.h"
#include "engine/physical.h"
#include "test_support/engine_test.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using testing::EngineTest;
using testing::ExpectError;

constexpr int32_t kRec = 38;

// An index key of RTTBI or PUTBI: the name in bytes 1-10 (NUL padded), the type at 16.
std::string OrderKey(const std::string& name, int32_t type) {
    return RecordBuilder(16).Raw(1, name.substr(0, 10)).Bin(16, 'B', type).str();
}

struct Doc {
    std::string number;  // empty: the document's own name (AddDocument)
    int32_t vendor = 17;
    int32_t mmddyy = 31524;  // 3/15/24
    int32_t drop_ship = 0;
    std::array<std::string, 4> comments = {"RETURN OF OVERSTOCK", "", "", "CALL BEFORE SHIPPING"};
    int64_t total = 12345;
    struct Line {
        int32_t kind, line;
        std::string part;
        int32_t qty, cost;
    };
    std::vector<Line> lines;

    // The document file written field by field from the layout.
    std::string Bytes() const {
        std::vector<std::string> recs;
        recs.push_back(std::string(kRec, 'x'));  // record 0: not read
        recs.push_back(RecordBuilder(kRec)
                           .Raw(3, number)
                           .Bin(11, 'C', vendor)
                           .Bin(13, 'D', mmddyy)
                           .Bin(17, 'L', drop_ship)
                           .str());
        for (const std::string& c : comments)
            recs.push_back(RecordBuilder(kRec).Text(3, c, 35, sample::TextSet::kParts).str());
        recs.push_back(RecordBuilder(kRec).Bin(22, 'L', total).str());
        for (const Line& l : lines)
            recs.push_back(RecordBuilder(kRec)
                               .Bin(1, 'J', l.kind)
                               .Bin(3, 'C', l.line)
                               .Text(5, l.part, 12)
                               .Bin(18, 'K', l.qty)
                               .Bin(33, 'D', l.cost)
                               .str());
        return sample::PlainRecords(kRec, recs);
    }
};

class OrderFiles : public EngineTest {
  protected:
    OrderFiles() {
        sample::RecordFileWriter& vendors = set.AddRecordFile("VNDRL", 64);
        sample::IndexWriter& vndri = set.AddIndex("VNDRI", 4);
        vndri.Add(RecordBuilder(4).Bin(1, 'L', 17).str(),
                  vendors.Add(vendors.NewRecord()
                                  .Bin(1, 'J', 1)
                                  .Bin(3, 'D', 17)
                                  .Text(6, "KESTREL SUPPLY CO", 20)));
        sample::RecordFileWriter& parts = set.AddRecordFile("PARTL", 192);
        sample::IndexWriter& parti = set.AddIndex("PARTI", 14);
        RecordBuilder part = parts.NewRecord();
        part.Bin(1, 'J', 1)
            .Bin(3, 'C', 12)
            .PartNumber(5, "AB-123")
            .Raw(61, "\xFF\xFF\x9C")
            .Text(179, "GASKET", 14);
        parti.Add(part.bytes().substr(2, 14), parts.Add(part));
        set.AddIndex("RTTBI", 16);
        set.AddIndex("PUTBI", 16);
    }

    void AddDocument(const std::string& index, const std::string& name, int32_t type, Doc doc) {
        if (doc.number.empty()) doc.number = name;
        set.Index(index).Add(OrderKey(name, type), 1);
        set.AddPlainFile(name, doc.Bytes());
    }

    // Whether the document is still open or listed in the logical-file table.
    static bool Held(const std::string& name) {
        const std::string path = mSystem->TMARLNK() + "\\" + name;
        for (const auto& slot : *mLogicalFiles)
            if (slot.item->FileName == path) return true;
        return mOpenFiles->Find(path) != nullptr;
    }
};

TEST_F(OrderFiles, WalkVisitsEveryKeyWithItsNameAndType) {
    AddDocument("RTTBI", "R1001", 20, Doc{});
    set.Index("RTTBI").Add(OrderKey("R1002", 21), 2);
    set.Index("RTTBI").Add(OrderKey("RETURNS123", 20), 3);      // a name that fills all ten bytes
    set.Index("RTTBI").Add(std::string(15, '\0') + "\x14", 4);  // below the start: not visited
    Start();
    std::vector<OrderIndexEntry> seen;
    WalkOrderIndex("RTTBI", [&](const OrderIndexEntry& e) { seen.push_back(e); });
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].name, "R1001");
    EXPECT_EQ(seen[0].type, 20);
    EXPECT_EQ(seen[1].name, "R1002");
    EXPECT_EQ(seen[1].type, 21);
    EXPECT_EQ(seen[2].name, "RETURNS123");
    EXPECT_EQ(seen[2].key.size(), 16u);
}

TEST_F(OrderFiles, WalkOfAnEmptyIndexVisitsNothing) {
    Start();
    int visits = 0;
    WalkOrderIndex("PUTBI", [&](const OrderIndexEntry&) { ++visits; });
    EXPECT_EQ(visits, 0);
}

TEST(OrderSelection, ReturnsAndPurchaseOrders) {
    const struct {
        char first;
        int32_t type;
        bool is_return, is_order;
    } cases[] = {
        {'R', 20, true, false},  {'X', 20, false, false}, {'R', 21, false, false},
        {'V', 2, false, true},   {'V', 25, false, true},  {'V', 20, false, true},
        {'V', 255, false, true}, {'V', 3, false, false},  {'X', 2, false, false},
        {'X', 6, false, true},   {'R', 64, false, true},  {'V', 7, false, false},
    };
    for (const auto& c : cases) {
        OrderIndexEntry e;
        e.key = std::string(1, c.first) + std::string(15, '\0');
        e.type = c.type;
        EXPECT_EQ(IsReturnEntry(e), c.is_return) << c.first << c.type;
        EXPECT_EQ(IsPurchaseOrderEntry(e), c.is_order) << c.first << c.type;
    }
}

TEST_F(OrderFiles, SummaryOfAReturn) {
    Doc doc;
    doc.number = "R1001";
    AddDocument("RTTBI", "R1001", 20, doc);
    Start();
    const auto s = ReadOrderSummary("R1001");
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->number, "R1001");
    EXPECT_EQ(s->vendor, 17);
    EXPECT_EQ(s->vendor_name, "KESTREL SUPPLY CO             ");
    EXPECT_EQ(s->date, MakeDate(2024, 3, 15));
    EXPECT_EQ(s->date_code, 31524);
    EXPECT_EQ(s->total_cents, 12345);
}

TEST_F(OrderFiles, DateZeroNegativeTotalAndUnknownVendor) {
    Doc doc;
    doc.mmddyy = 0;
    doc.total = -250075;
    doc.vendor = 18;
    AddDocument("PUTBI", "V2001", 20, doc);
    Start();
    const auto s = ReadOrderSummary("V2001");
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->date, EmptyDate());
    EXPECT_EQ(s->date_code, 0);
    EXPECT_EQ(s->total_cents, -250075);
    EXPECT_EQ(s->vendor_name, kVendorNotFound);
}

TEST_F(OrderFiles, SevenRecordsHoldNoLines) {
    AddDocument("RTTBI", "R7", 20, Doc{});  // 7 records: 266 bytes
    Start();
    // 266 to 303 bytes all end at record 6.
    for (int32_t extra : {0, 37}) {
        if (extra) dv::testing::WriteFile(DataFolder() + "/R7B", std::string(266 + extra, '\0'));
        const auto doc = OrderDocument::Open(extra ? "R7B" : "R7");
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->LastRecord(), 6) << extra;
        EXPECT_EQ(doc->LineRecords(), 0) << extra;
        EXPECT_NO_THROW(doc->TotalCents());
    }
}

TEST_F(OrderFiles, FileWithoutTotalsRaises81) {
    set.Index("RTTBI").Add(OrderKey("R6", 20), 1);
    Doc doc;
    doc.number = "R6";
    set.AddPlainFile("R6", doc.Bytes().substr(0, 228));  // records 0 to 5
    Start();
    try {
        ReadOrderSummary("R6");
        ADD_FAILURE() << "no error raised";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), err::kRecordNumber);
    }
    EXPECT_FALSE(Held("R6"));  // closed and forgotten on the error path too
}

TEST_F(OrderFiles, AHeaderOfAnotherNumberIsShownAndOneOfNoNumberReported) {
    // The row shows the header's number whatever the key names; the detail opens the file of
    // that number. Only a header of no number at all (zeroed, blanks, filler) is error 1064.
    const struct {
        const char* name;
        std::string number;  // bytes 3-10 of the header
        const char* shown;   // null: error 1064
    } cases[] = {
        {"R1001", "R1001", "R1001"},
        {"r1002", "R1002", "R1002"},
        {"RETURNS123", "RETURNS1", "RETURNS1"},
        {"R1003", "R1004", "R1004"},  // another document's number
        {"R1005", "R100", "R100"},
        {"R1006", " R1006", " R1006"},  // a leading blank is part of the number
        {"R1007", std::string(8, '\0'), nullptr},
        {"R1008", std::string(8, ' '), nullptr},
        {"R1009", std::string("\t\r\n \0 \0\0", 8), nullptr},
    };
    for (const auto& c : cases) {
        Doc doc;
        doc.number = c.number;
        AddDocument("RTTBI", c.name, 20, doc);
    }
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.shown != nullptr) {
            const auto s = ReadOrderSummary(c.name);
            ASSERT_TRUE(s.has_value());
            EXPECT_EQ(s->number, c.shown);
            EXPECT_EQ(s->vendor_name, "KESTREL SUPPLY CO             ");
        } else {
            ExpectError([&] { ReadOrderSummary(c.name); }, err::kDocumentNumberMissing,
                        "OrderDocument",
                        "Document file " + mSystem->TMARLNK() + "\\" + c.name +
                            " holds no document number in its header");
        }
        EXPECT_FALSE(Held(c.name));
    }
}

TEST_F(OrderFiles, ADocumentPastItsLimitIsReportedUnread) {
    // At the limit a document still reads; one record more, or a sparse file of 2 GiB, is
    // error 1054 before any record is read, and the file is closed again.
    const int64_t at_limit = kDocumentFileLimit / kRec * kRec;
    AddDocument("RTTBI", "R1001", 20, Doc{});
    AddDocument("RTTBI", "R1002", 20, Doc{});
    AddDocument("RTTBI", "R1003", 20, Doc{});
    Start();
    std::filesystem::resize_file(DataFolder() + "/R1001", static_cast<uintmax_t>(at_limit));
    std::filesystem::resize_file(DataFolder() + "/R1002", static_cast<uintmax_t>(at_limit + kRec));
    std::filesystem::resize_file(DataFolder() + "/R1003", uintmax_t{2} << 30);
    EXPECT_TRUE(ReadOrderSummary("R1001").has_value());
    for (const char* name : {"R1002", "R1003"}) {
        SCOPED_TRACE(name);
        ResetEngineReadStats();
        ExpectError(
            [&] { ReadOrderSummary(name); }, err::kDocumentTooLarge,
            "Document file " + mSystem->TMARLNK() + "\\" + name + " is larger than 1048576 bytes");
        EXPECT_EQ(EngineReadStats().reads, 0u);
        EXPECT_FALSE(Held(name));
    }
}

TEST_F(OrderFiles, DocumentIsClosedAfterItsRow) {
    AddDocument("RTTBI", "R1001", 20, Doc{});
    Start();
    {
        const auto doc = OrderDocument::Open("R1001");
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(Held("R1001"));
    }
    EXPECT_FALSE(Held("R1001"));
    ASSERT_TRUE(ReadOrderSummary("R1001").has_value());
    EXPECT_FALSE(Held("R1001"));
}

TEST_F(OrderFiles, NulPaddedKeyNamesTheFileWithoutTheNuls) {
    AddDocument("RTTBI", "R1001", 20, Doc{});
    Start();
    std::vector<std::string> names;
    WalkOrderIndex("RTTBI", [&](const OrderIndexEntry& e) {
        EXPECT_EQ(e.key.substr(0, 10), std::string("R1001\0\0\0\0\0", 10));
        names.push_back(e.name);
        EXPECT_TRUE(ReadOrderSummary(e.name).has_value());
    });
    EXPECT_EQ(names, std::vector<std::string>{"R1001"});
}

TEST_F(OrderFiles, MissingOrUnsafeNamesAreMissingDocuments) {
    AddDocument("RTTBI", "R1001", 20, Doc{});
    Start();
    // Files that an unsafe name could reach, were it used as a path.
    dv::testing::WriteFile(DataFolder() + "/SUB/R1", Doc{}.Bytes());
    dv::testing::WriteFile(DataFolder() + "/../OUTSIDE", Doc{}.Bytes());
    const std::vector<std::string> names = {"R9999",      "",   "SUB/R1", "SUB\\R1",
                                            "../OUTSIDE", "..", "R1/",    std::string("R1\0X", 4)};
    for (const std::string& name : names) {
        EXPECT_FALSE(ReadOrderSummary(name).has_value()) << name;
        EXPECT_EQ(OrderDocument::Open(name), nullptr) << name;
    }
}

TEST_F(OrderFiles, EngineFilesAreNeverReadAsDocuments) {
    set.AddRecordFile("ITEML", 40).Add(std::string(40, '\x01'));
    Start();
    ASSERT_EQ(bb().LreadFile("ITEML", 1, flag), std::string(40, '\x01'));
    // Keys that name the control file, the directory file or the container (in any case).
    for (const char* name : {"FILE0", "DATAD1", "DATADB", "datadb", "File0"}) {
        EXPECT_EQ(OrderDocument::Open(name), nullptr) << name;
        EXPECT_FALSE(ReadOrderSummary(name).has_value()) << name;
    }
    // The engine's container is still open and read.
    EXPECT_EQ(bb().LreadFile("ITEML", 1, flag), std::string(40, '\x01'));
}

TEST_F(OrderFiles, HeaderCommentsAndLines) {
    Doc doc;
    doc.number = "V20017";
    doc.drop_ship = 880123;
    doc.lines = {{4, 12, "AB123", 3, 0}, {1, 0, "", 0, 0}, {4, 13, "NOPART", -2, 1999}};
    AddDocument("PUTBI", "V20017", 20, doc);
    Start();
    const auto d = OrderDocument::Open("V20017");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->LastRecord(), 9);
    EXPECT_EQ(d->LineRecords(), 3);
    const OrderHeader h = d->Header();
    EXPECT_EQ(h.number, "V20017");
    EXPECT_EQ(h.drop_ship, 880123);
    const auto comments = d->Comments();
    EXPECT_EQ(comments[0], "RETURN OF OVERSTOCK" + std::string(35, ' '));
    EXPECT_EQ(comments[1], std::string(54, ' '));
    EXPECT_EQ(comments[3].size(), 54u);

    const OrderLine first = d->Line(7);
    EXPECT_EQ(first.kind, kPartLineKind);
    EXPECT_EQ(first.line, 12);
    EXPECT_EQ(first.part_number, "AB123             ");
    EXPECT_EQ(first.quantity, 3);
    EXPECT_EQ(first.unit_cost, 0);
    const LinePart found = LookUpLinePart(first.part_key);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.description, "GASKET               ");
    EXPECT_EQ(found.cost, 16777116);  // bytes FF FF 9C read unsigned

    EXPECT_EQ(d->Line(8).kind, 1);
    const OrderLine third = d->Line(9);
    EXPECT_EQ(third.quantity, -2);
    EXPECT_EQ(third.unit_cost, 1999);
    const LinePart missing = LookUpLinePart(third.part_key);
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.description, kPartNotFound);
    ExpectError(
        [&] { d->Line(10); }, err::kRecordNumber,
        "Illegal Record Number for File: " + mSystem->TMARLNK() + "\\V20017 and Record:  10");
}

TEST(OrderComment, AWordAboveThePackedRangeGivesOnly53Characters) {
    std::string rec(kRec, '\0');
    rec[2] = '\xFF';
    rec[3] = '\xFF';
    EXPECT_EQ(DecodeOrderComment(rec).size(), 53u);
    EXPECT_EQ(DecodeOrderComment(std::string(kRec, '\0')), std::string(54, ' '));
}

}  // namespace
}  // namespace dv
