// The order detail on documents written byte by byte: the header labels from the view's row,
// the comments, the part lines with their descriptions and costs, the progress of the
// purchase-order view, and the steps that fail.
#include "parts/views/order_detail.h"

#include <gtest/gtest.h>

#include "parts/views/order_views.h"
#include "sampledata/damage.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using views_test::DocFile;
using views_test::OrderKey;
using views_test::ViewTest;

std::string Padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

// The view's progress display, step by step.
class ProgressRecorder : public DetailProgress {
  public:
    void SetLoadingVisible(bool visible) override { visible_calls.push_back(visible); }
    void SetProgressValue(int value) override { values.push_back(value); }
    std::vector<bool> visible_calls;
    std::vector<int> values;
};

class OrderDetailTest : public ViewTest {
  protected:
    OrderDetailTest() {
        set.AddIndex("RTTBI", 16);
        set.AddIndex("PUTBI", 16);
        views_test::AddVendors(set, {{17, "ACME SUPPLY"}});
        views_test::AddParts(set, {{1, "ABC123", 1500, "HYDRAULIC FILTER"},
                                   {2, "XYZ9", 999, "BELT"},
                                   {2, "XYZ10", 0, "GASKET"}});
        doc.lines = {
            {4, 1, "ABC123", 2, 0},   // the part's own cost applies
            {1, 0, "", 0, 0},         // another kind of line: not shown
            {4, 1, "NOPE", 3, 995},   // no such part
            {4, 2, "XYZ9", -4, 250},  // a credit at the line's own cost
            {4, 2, "XYZ10", 5, 0},    // found, and 0 both on the line and in the part
        };
    }
    void AddDocument(const std::string& index, const DocFile& d, int32_t type = 20) {
        set.Index(index).Add(OrderKey(d.number, type), 1);
        set.AddPlainFile(d.number, d.Bytes());
    }

    // The shown detail of the first row of a loaded view.
    template <typename V>
    void Click(V& view, int row = 0) {
        view.SetDetailHost(&host);
        view.ButtonClick(view.grid().name(), row);
    }

    // Keeps what the form showed when it opened.
    void Capture(const DetailForm& d) {
        const DetailSnapshot s = DetailSnapshot::Of(d);
        ++shown;
        caption = s.caption;
        frame = s.LabelText("Frame3");
        for (int i = 0; i < 5; ++i)
            values[static_cast<size_t>(i)] = s.LabelText("lblDetail(" + std::to_string(i) + ")");
        drop_visible = d.Label("lblDetail(4)").visible && d.Label("Label1(4)").visible;
        comments = s.LabelText("lblComments");
        items = std::stoi(values[3]);
        rows = s.FindGrid("grdPod")->rows;
        errors = s.errors;
    }

    CapturingDetailHost host = [this] {
        CapturingDetailHost h;
        h.on_show = [this](DetailForm& d, DetailHost&) {
            Capture(d);
            if (on_show) on_show();
        };
        return h;
    }();
    const std::vector<std::string>& messages = host.messages;

    DocFile doc;
    int shown = 0;
    std::string caption, frame, comments;
    std::array<std::string, 5> values;
    bool drop_visible = false;
    int32_t items = -1;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> errors;
    std::function<void()> on_show;
};

TEST_F(OrderDetailTest, AReturnShowsItsRowsFiguresItsCommentsAndItsPartLines) {
    doc.number = "R1";
    AddDocument("RTTBI", doc);
    Start();
    auto view = Load<ReturnsView>();
    Click(*view);
    ASSERT_EQ(shown, 1);
    EXPECT_EQ(caption, "Return Order Detail      Return # : R1");
    EXPECT_EQ(frame, "Return Comments");
    EXPECT_EQ(values[0], Padded("ACME SUPPLY", 30));
    EXPECT_EQ(values[1], "3/15/2024");
    EXPECT_EQ(values[2], "$123.45");
    EXPECT_EQ(values[3], "4");
    EXPECT_FALSE(drop_visible);
    EXPECT_EQ(values[4], "");
    EXPECT_EQ(comments, Padded("RETURN OF OVERSTOCK", 54) + "\n" + Padded("", 54) + "\n" +
                            Padded("", 54) + "\n" + Padded("CALL FIRST", 54) + "\n");
    const std::vector<std::vector<std::string>> expected = {
        {"1", Padded("ABC123", 18), Padded("HYDRAULIC FILTER", 21), "2", "15.00", "30.00"},
        {"1", Padded("NOPE", 18), "Part Not Found", "3", "9.95", "29.85"},
        {"2", Padded("XYZ9", 18), Padded("BELT", 21), "-4", "2.50", "-10.00"},
        {"2", Padded("XYZ10", 18), Padded("GASKET", 21), "5", ".00", ".00"},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(items, 4);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(log.lines().empty());
}

// A header may hold another number than the name its key gives: the row shows that number,
// and its detail opens the file of that number (nothing, when there is none).
TEST_F(OrderDetailTest, AHeaderOfAnotherNumberOpensTheFileOfThatNumber) {
    DocFile listed = doc;  // named R1 by its key, its header says R2
    listed.number = "R2";
    set.Index("RTTBI").Add(views_test::OrderKey("R1", 20), 1);
    set.AddPlainFile("R1", listed.Bytes());
    DocFile other = doc;  // R2's own file: one line, listed by no key
    other.number = "R2";
    other.lines = {{4, 2, "XYZ9", 3, 0}};
    set.AddPlainFile("R2", other.Bytes());
    DocFile orphan = doc;  // named R3, its header says R9, which has no file
    orphan.number = "R9";
    set.Index("RTTBI").Add(views_test::OrderKey("R3", 20), 1);
    set.AddPlainFile("R3", orphan.Bytes());
    Start();
    auto view = Load<ReturnsView>();
    ASSERT_EQ(view->grid().RowCount(), 2);
    EXPECT_EQ(view->grid().CellText(0, "PO Number"), "R2");
    EXPECT_EQ(view->grid().CellText(1, "PO Number"), "R9");
    Click(*view, 0);
    ASSERT_EQ(shown, 1);
    EXPECT_EQ(caption, "Return Order Detail      Return # : R2");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], Padded("XYZ9", 18));
    Click(*view, 1);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(OrderDetailTest, APurchaseOrderShowsItsDropShipAndMovesTheBarOncePerLineRecord) {
    doc.number = "V1";
    doc.drop_ship = 123456;
    AddDocument("PUTBI", doc);
    DocFile bare;  // seven records: no line records, the step is 0
    bare.number = "V2";
    AddDocument("PUTBI", bare);
    Start();
    auto view = Load<PurchaseOrdersView>();
    std::vector<int> values_seen;
    std::vector<bool> visible_seen;
    view->SetProgressListener([&] {
        values_seen.push_back(view->progress_value());
        visible_seen.push_back(view->progress_visible());
    });
    const int loading = view->LabelIndex("lblLoading");
    EXPECT_FALSE(view->Label(loading).visible);
    EXPECT_EQ(view->Label(loading).caption, "Loading...");
    bool visible_while_shown = false;
    on_show = [&] {
        visible_while_shown = view->progress_visible() && view->Label(loading).visible;
    };

    Click(*view, 0);
    EXPECT_EQ(caption, "Purchase Order Detail      PO # : V1");
    EXPECT_EQ(frame, "PO Comments");
    EXPECT_TRUE(drop_visible);
    EXPECT_EQ(values[4], "123456");
    EXPECT_EQ(items, 4);
    // Shown with 0, then 100 / 5 for each of the five line records, whatever their kind.
    EXPECT_EQ(values_seen, (std::vector<int>{0, 0, 20, 40, 60, 80, 100, 100}));
    EXPECT_TRUE(visible_while_shown);
    EXPECT_FALSE(view->progress_visible());
    EXPECT_FALSE(view->Label(loading).visible);

    values_seen.clear();
    Click(*view, 1);
    EXPECT_EQ(caption, "Purchase Order Detail      PO # : V2");
    EXPECT_EQ(items, 0);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(values[3], "0");
    EXPECT_EQ(values_seen, (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(messages.empty());
}

TEST(ProgressSteps, AdvanceByAHundredOverNAndNeverPastAHundred) {
    struct Case {
        int32_t n;
        std::vector<int> values;
    };
    const Case cases[] = {
        {3, {33, 66, 100}}, {1, {100}}, {7, {14, 28, 42, 57, 71, 85, 100}}, {0, {0, 0}}, {-2, {0}},
    };
    for (const Case& c : cases) {
        ProgressSteps steps(c.n);
        std::vector<int> got;
        for (size_t i = 0; i < c.values.size(); ++i) got.push_back(steps.Step());
        EXPECT_EQ(got, c.values) << c.n;
    }
}

TEST_F(OrderDetailTest, ADocumentWithoutAFileShowsNothingAndHidesTheBar) {
    Start();
    GridModel grid("grdPO");
    ProgressRecorder progress;
    EXPECT_FALSE(ShowPODetail("NOFILE", grid, 1, progress, host));
    EXPECT_FALSE(ShowReturnDetail("NOFILE", grid, 1, host));
    EXPECT_FALSE(ShowReturnDetail("../FILE0", grid, 1, host));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(progress.visible_calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(progress.values, std::vector<int>{0});
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(OrderDetailTest, RecordsThatCantBeReadShowBlankAndTheReturnSaysSo) {
    doc.number = "R2";
    doc.records = 4;  // records 0 to 3: the header and two comment lines
    AddDocument("RTTBI", doc);
    Start();
    GridModel grid("grdReturn");
    ProgressRecorder progress;
    EXPECT_TRUE(ShowReturnDetail("R2", grid, 1, host));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(comments, Padded("RETURN OF OVERSTOCK", 54) + "\n" + Padded("", 54) + "\n\n\n");
    EXPECT_EQ(items, 0);
    ASSERT_EQ(errors.size(), 2u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Error in frmReturn ShowReturnDetail routine error # :  81  "
                                "Illegal Record Number for File: ",
                                0),
              0u)
        << messages[0];
    EXPECT_EQ(log.lines(), std::vector<std::string>{"*" + messages[0]});

    // The purchase-order detail skips the same steps and reports nothing.
    host.messages.clear();
    EXPECT_TRUE(ShowPODetail("R2", grid, 1, progress, host));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(OrderDetailTest, APartThatCantBeReadIsNotFoundNotThePreviousOne) {
    doc.number = "V3";
    AddDocument("PUTBI", doc);
    sample::DataSetImage image = set.Build();
    // PARTI's second key (XYZ10 sorts before XYZ9) points past the end of PARTL.
    sample::damage::RecordPointerPastLastRecord(image, "PARTI", "PARTL", 1);
    Start(image);
    auto view = Load<PurchaseOrdersView>();
    Click(*view);
    ASSERT_EQ(shown, 1);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][2], Padded("HYDRAULIC FILTER", 21));
    EXPECT_EQ(rows[2][2], Padded("BELT", 21));
    EXPECT_EQ(rows[3][2], "Part Not Found");  // not BELT's
    EXPECT_EQ(rows[3][4], ".00");             // the line's own cost
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(messages.empty());
}

// A part lookup that fails part-way: the line shows what was read before the failing step.
struct LookupFailure {
    const char* what;
    void (*damage)(sample::DataSetImage&);
    std::vector<std::string> descriptions, costs;
    bool step_fails = true;
};
void PrintTo(const LookupFailure& c, std::ostream* os) {
    *os << c.what;
}

class PartLookupFailure : public OrderDetailTest,
                          public ::testing::WithParamInterface<LookupFailure> {};

TEST_P(PartLookupFailure, ShowsWhatWasRead) {
    doc.number = "V4";
    AddDocument("PUTBI", doc);
    sample::DataSetImage image = set.Build();
    GetParam().damage(image);
    Start(image);
    auto view = Load<PurchaseOrdersView>();
    Click(*view);
    ASSERT_EQ(shown, 1);
    std::vector<std::string> descriptions, costs;
    for (const auto& row : rows) {
        descriptions.push_back(row[2]);
        costs.push_back(row[4]);
    }
    EXPECT_EQ(descriptions, GetParam().descriptions);
    EXPECT_EQ(costs, GetParam().costs);
    EXPECT_EQ(errors.empty(), !GetParam().step_fails);
}

const std::vector<std::string> kNoneFound(4, "Part Not Found");
const std::vector<std::string> kOwnCosts = {".00", "9.95", "2.50", ".00"};

INSTANTIATE_TEST_SUITE_P(
    OrderDetail, PartLookupFailure,
    ::testing::Values(LookupFailure{"NoParti",
                                    [](sample::DataSetImage& image) {
                                        sample::damage::RemoveDirectoryEntry(image, "PARTI");
                                    },
                                    kNoneFound, kOwnCosts},
                      LookupFailure{"PartlEndsBeforeTheCost",
                                    [](sample::DataSetImage& image) {
                                        sample::damage::ShortenRecords(image, "PARTL", 62);
                                    },
                                    kNoneFound, kOwnCosts},
                      // The description's first six bytes hold nine characters; the cost is read.
                      LookupFailure{"PartlEndsInsideTheDescription",
                                    [](sample::DataSetImage& image) {
                                        sample::damage::ShortenRecords(image, "PARTL", 184);
                                    },
                                    {"HYDRAULIC", "Part Not Found", "BELT     ", "GASKET   "},
                                    {"15.00", "9.95", "2.50", ".00"},
                                    false}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

}  // namespace
}  // namespace dv
