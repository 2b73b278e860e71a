// The three views on the demo data set (plausible figures, every header of every view) and on
// damaged copies of it: each damage leaves the rows read before it, marks the view's recap
// label red with "Data Error !" and logs the view's line, or, where the damage is one the view
// passes over, changes nothing else. None hangs and none crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "engine/business_basic.h"
#include "engine/packed_text.h"
#include "engine/startup.h"
#include "engine/system.h"
#include "engine/tables.h"
#include "parts/views/inventory_view.h"
#include "parts/views/order_views.h"
#include "platform/messages.h"
#include "platform/test_support.h"
#include "sampledata/damage.h"
#include "sampledata/demo_set.h"
#include "sampledata/parts_data.h"
#include "test_support/sample_share.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using testing::TestContext;
using views_test::ViewTest;

// ---- the demo data set ----

class DemoViews : public ViewTest {
  protected:
    void StartDemo() {
        sample::DemoPlan plan = sample::PlanFor(sample::Scale::kDemo);
        summary = sample::AddPartsFiles(set, plan);
        Start();
    }
    sample::PartsFilesSummary summary;
};

int64_t SumOfColumn(const GridModel& grid, std::string_view column) {
    int64_t sum = 0;
    for (int r = 0; r < grid.RowCount(); ++r) sum += grid.CellValue(r, column).value_or(0);
    return sum;
}

TEST_F(DemoViews, EachViewShowsRealRowsWithTotalsThatAddUp) {
    StartDemo();
    const auto inventory = Load<InventoryView>();
    const auto returns = Load<ReturnsView>();
    const auto orders = Load<PurchaseOrdersView>();
    EXPECT_TRUE(log.lines().empty());
    for (int label : {1, 5, 8}) EXPECT_FALSE(context.recap.Figure(label).red) << label;

    const GridModel& lines = inventory->grid();
    EXPECT_EQ(lines.RowCount(), summary.lines - 1);  // the internal line lies above 999
    EXPECT_EQ(SumOfColumn(lines, "Merchandise"), summary.inventory_cents);
    EXPECT_EQ(context.recap.Figure(1).caption,
              FormatNumber(Number::Cents(summary.inventory_cents), "$#,###,###.00"));
    for (int r = 0; r < lines.RowCount(); ++r) {
        int64_t fill = 0;
        for (const char* c : {"Fill %/I", "Fill %/D", "Fill %/P"}) {
            ASSERT_TRUE(ShownNumber(lines.CellText(r, c), fill));
            EXPECT_GE(fill, 0);
            EXPECT_LE(fill, 100);
        }
        EXPECT_NE(lines.CellText(r, "Alpha").find_first_not_of(' '), std::string::npos);
    }

    const GridModel& ret = returns->grid();
    EXPECT_GT(ret.RowCount(), 0);
    EXPECT_LE(ret.RowCount(), summary.returns);
    EXPECT_EQ(SumOfColumn(ret, "Total"), returns->total_cents());
    const std::vector<std::string> names = Column(ret, "Vendor Name");
    // The second return names a vendor VNDRI lacks.
    EXPECT_EQ(std::count(names.begin(), names.end(), "Vendor not found"), 1);

    const GridModel& po = orders->grid();
    EXPECT_GT(po.RowCount(), summary.orders / 2);
    EXPECT_LE(po.RowCount(), summary.orders);
    const auto totals = orders->VendorTotalsClick();
    EXPECT_GT(totals->grid.RowCount(), 0);
    EXPECT_EQ(totals->label1, Caption(*orders, "lblPoTotal"));
    EXPECT_EQ(SumOfColumn(totals->grid, "Total"), orders->total_cents());
    for (int r = 0; r < po.RowCount(); ++r) {
        EXPECT_NE(po.CellText(r, "ndate"), "1") << r;  // every demo order has a date
        EXPECT_NE(po.CellText(r, "PO Number"), "V9990001");
    }
}

// Checks after a descending sort that a column's cells do not rise.
void ExpectDescending(const GridModel& grid, std::string_view column, int16_t kind,
                      const std::string& what) {
    const int c = grid.ColumnPosition(column);
    ASSERT_GE(c, 0) << what;
    for (int r = 1; r < grid.RowCount(); ++r) {
        const std::string& above = grid.CellText(r - 1, c);
        const std::string& below = grid.CellText(r, c);
        if (kind == kSortText) {
            EXPECT_GE(above, below) << what << " row " << r;
        } else {
            int64_t a = 0, b = 0;
            ASSERT_TRUE(ShownNumber(above, a) && ShownNumber(below, b)) << what << " row " << r;
            EXPECT_GE(a, b) << what << " row " << r;
        }
    }
}

TEST_F(DemoViews, EveryHeaderSortsItsOwnColumnAndTheDateHeaderTheDayCount) {
    StartDemo();
    const auto inventory = Load<InventoryView>();
    const auto returns = Load<ReturnsView>();
    const auto orders = Load<PurchaseOrdersView>();
    struct Header {
        int index;
        const char* column;
        int16_t kind;
    };
    const Header inventory_headers[] = {
        {0, "Line", kSortNumber},   {1, "Alpha", kSortText},    {2, "Merchandise", kSortNumber},
        {3, "Ytd", kSortNumber},    {4, "Mtd", kSortNumber},    {5, "Est. Turns", kSortNumber},
        {6, "Ord/I", kSortNumber},  {7, "Shp/I", kSortNumber},  {8, "Fill %/I", kSortNumber},
        {9, "Ord/D", kSortNumber},  {10, "Shp/D", kSortNumber}, {11, "Fill %/D", kSortNumber},
        {12, "Ord/P", kSortNumber}, {13, "Shp/P", kSortNumber}, {14, "Fill %/P", kSortNumber},
    };
    const Header order_headers[] = {
        {0, "PO Number", kSortText}, {1, "Vendor #", kSortNumber}, {2, "Vendor Name", kSortText},
        {3, "ndate", kSortNumber},   {4, "Total", kSortNumber},
    };
    // Each click comes with the toggle at 0, so each sorts descending.
    for (const Header& h : inventory_headers) {
        mSortOrder = 0;
        inventory->HeaderClick(kInventoryGrid, h.index);
        ExpectDescending(inventory->grid(), h.column, h.kind, std::string("frmInv ") + h.column);
    }
    for (OrderListView* view :
         {static_cast<OrderListView*>(returns.get()), static_cast<OrderListView*>(orders.get())}) {
        for (const Header& h : order_headers) {
            mSortOrder = 0;
            view->HeaderClick(view->grid().name(), h.index);
            ExpectDescending(view->grid(), h.column, h.kind, view->form_name() + " " + h.column);
            EXPECT_EQ(view->grid().CurrentRow(), 0);
        }
    }
}

// ---- damaged copies ----

struct ViewRun {
    int rows = 0;
    std::vector<std::string> numbers;  // column 0
    std::string recap;
    bool red = false;
    std::vector<std::string> log;
};

struct SetRun {
    ViewRun inventory, returns, orders;
};

ViewRun Record(const GridModel& grid, const TestContext& context, int label, LogCapture& log) {
    ViewRun run;
    run.rows = grid.RowCount();
    for (int r = 0; r < grid.RowCount(); ++r) run.numbers.push_back(grid.CellText(r, 0));
    run.recap = context.recap.Figure(label).caption;
    run.red = context.recap.Figure(label).red;
    run.log = log.Take();
    return run;
}

// Loads the three views on an image written into a share of its own; on_disk, when given,
// changes the files on the share (its folder is the argument) once the engine has started.
SetRun RunViews(const sample::DataSetImage& image,
                const std::function<void(const std::string&)>& on_disk = {}) {
    sample::SampleShare share;
    InitLogPath();
    share.Start(image);
    if (on_disk) on_disk(share.shares());
    SetRun out;
    {
        TestContext context;
        LogCapture log;
        InventoryView inventory;
        inventory.RunLoad(context);
        out.inventory = Record(inventory.grid(), context, 1, log);
        ReturnsView returns;
        returns.RunLoad(context);
        out.returns = Record(returns.grid(), context, 5, log);
        PurchaseOrdersView orders;
        orders.RunLoad(context);
        out.orders = Record(orders.grid(), context, 8, log);
    }
    return out;
}

sample::DataSetImage DemoImage() {
    sample::DataSetWriter set;
    sample::DemoPlan plan = sample::PlanFor(sample::Scale::kDemo);
    sample::AddPartsFiles(set, plan);
    // Several leaves per index, so that a chain can be made to come back on itself.
    set.Index("LINEI").Fill(4);
    set.Index("RTTBI").Fill(3);
    set.Index("PUTBI").Fill(4);
    return set.Build();
}

// What a damage does to one view.
struct Effect {
    bool error = false;
    int32_t number = 0;       // the error number logged; 0 with error: any
    std::string description;  // exact when not empty
    int rows = -1;            // exact when >= 0; else at most the undamaged count
    int fewer = 0;            // without error: this many rows fewer than undamaged
};

struct DamageCase {
    const char* id;  // the test's name
    const char* name;
    std::function<void(sample::DataSetImage&, const SetRun& undamaged)> damage;
    Effect inventory, returns, orders;
};

void ExpectEffect(const char* view, const char* form, const char* routine, const ViewRun& got,
                  const ViewRun& undamaged, const Effect& e, const std::string& name) {
    SCOPED_TRACE(name + ": " + view);
    if (!e.error) {
        EXPECT_FALSE(got.red);
        EXPECT_TRUE(got.log.empty()) << (got.log.empty() ? "" : got.log[0]);
        EXPECT_EQ(got.rows, undamaged.rows - e.fewer);
        if (e.fewer == 0) {
            EXPECT_EQ(got.recap, undamaged.recap);
        }
        return;
    }
    EXPECT_TRUE(got.red);
    EXPECT_EQ(got.recap, "Data Error !");
    ASSERT_EQ(got.log.size(), 1u);
    const std::string head =
        std::string("*Error in ") + form + " " + routine + " routine error # :  ";
    EXPECT_EQ(got.log[0].rfind(head, 0), 0u) << got.log[0];
    if (e.number != 0) {
        const std::string number = std::to_string(e.number) + "  ";
        EXPECT_EQ(got.log[0].substr(head.size(), number.size()), number) << got.log[0];
        if (!e.description.empty()) {
            EXPECT_EQ(got.log[0], head + number + e.description);
        }
    }
    if (e.rows >= 0) {
        EXPECT_EQ(got.rows, e.rows);
    } else {
        EXPECT_LE(got.rows, undamaged.rows);
    }
    // The rows kept are the first rows of the undamaged load.
    for (int r = 0; r < got.rows && r < undamaged.rows; ++r)
        EXPECT_EQ(got.numbers[static_cast<size_t>(r)], undamaged.numbers[static_cast<size_t>(r)]);
}

void ExpectEffects(const SetRun& got, const SetRun& undamaged, const Effect& inventory,
                   const Effect& returns, const Effect& orders, const std::string& name) {
    ExpectEffect("inventory", "frmInv", "GetLineData", got.inventory, undamaged.inventory,
                 inventory, name);
    ExpectEffect("returns", "frmReturn", "GetReturn", got.returns, undamaged.returns, returns,
                 name);
    ExpectEffect("orders", "frmPO", "GetPO", got.orders, undamaged.orders, orders, name);
}

void PrintTo(const DamageCase& c, std::ostream* out) {
    *out << c.name;
}

class DamagedSet : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedSet, KeepsTheRowsReadMarksTheRecapLabelAndLogsTheViewsLine) {
    const DamageCase& c = GetParam();
    const sample::DataSetImage clean = DemoImage();
    const SetRun undamaged = RunViews(clean);
    ASSERT_GT(undamaged.inventory.rows, 6);
    ASSERT_GT(undamaged.returns.rows, 2);
    ASSERT_GT(undamaged.orders.rows, 6);
    ASSERT_TRUE(undamaged.inventory.log.empty() && undamaged.returns.log.empty() &&
                undamaged.orders.log.empty());

    sample::DataSetImage image = DemoImage();
    c.damage(image, undamaged);
    const SetRun got = RunViews(image);
    ExpectEffects(got, undamaged, c.inventory, c.returns, c.orders, c.name);
}

const Effect kFine{};
const Effect kFails{true, 0, {}, -1, 0};
Effect Fails(int32_t number, std::string description = {}, int rows = -1) {
    return Effect{true, number, std::move(description), rows, 0};
}
Effect OneRowFewer() {
    return Effect{false, 0, {}, -1, 1};
}

// The file of the first row of a view in the undamaged load.
std::string FirstDocument(sample::DataSetImage& image, const ViewRun& run) {
    return image.DataPath(run.numbers.at(0));
}

int LeafEntries(const sample::DataSetImage& image, std::string_view index, int leaves) {
    int n = 0;
    for (int i = 0; i < leaves; ++i)
        n += image.Logical(index).index.leaf_counts.at(static_cast<size_t>(i));
    return n;
}

const DamageCase kDamageCases[] = {
    {"LinelContainerCut", "the container cut inside LINEL",
     [](sample::DataSetImage& image, const SetRun&) {
         sample::damage::TruncateLogical(image, "LINEL", 192 * 5);
     },
     kFails, kFails, kFails},
    {"PutbiContainerCut", "the container cut inside PUTBI",
     [](sample::DataSetImage& image, const SetRun&) {
         sample::damage::TruncateLogical(image, "PUTBI", 512 * 3);
     },
     kFine, kFine, kFails},
    {"LineiLoops", "LINEI's leaf chain comes back to its first leaf",
     [](sample::DataSetImage& image, const SetRun&) {
         sample::damage::LoopLeafChain(image, "LINEI", 1, 0);
     },
     Fails(err::kIndexCycle), kFine, kFine},
    {"RttbiLoops", "RTTBI's leaf chain comes back to its first leaf",
     [](sample::DataSetImage& image, const SetRun&) {
         sample::damage::LoopLeafChain(image, "RTTBI", 1, 0);
     },
     kFine, Fails(err::kIndexCycle), kFine},
    {"PutbiLoops", "PUTBI's leaf chain comes back to its second leaf",
     [](sample::DataSetImage& image, const SetRun&) {
         sample::damage::LoopLeafChain(image, "PUTBI", 2, 1);
     },
     kFine, kFine, Fails(err::kIndexCycle)},
    {"LineiPointerPastEnd", "LINEI's fourth key points past the end of LINEL",
     [](sample::DataSetImage& image, const SetRun&) {
         sample::damage::RecordPointerPastLastRecord(image, "LINEI", "LINEL", 3);
     },
     Fails(err::kRecordNumber, {}, 3), kFine, kFine},
    {"VndriPointersPastEnd", "every VNDRI key points past the end of VNDRL",
     [](sample::DataSetImage& image, const SetRun&) {
         const int32_t keys = image.Logical("VNDRL").last_record;
         for (int32_t k = 0; k < keys; ++k)
             sample::damage::RecordPointerPastLastRecord(image, "VNDRI", "VNDRL", k);
     },
     kFine, Fails(err::kRecordNumber), Fails(err::kRecordNumber)},
    {"DocumentFileMissing", "a document file is missing",
     [](sample::DataSetImage& image, const SetRun& undamaged) {
         image.files.erase(FirstDocument(image, undamaged.returns));
         image.files.erase(FirstDocument(image, undamaged.orders));
     },
     kFine, OneRowFewer(), OneRowFewer()},
    {"DocumentFileShort", "a document file is shorter than seven records",
     [](sample::DataSetImage& image, const SetRun& undamaged) {
         sample::damage::Truncate(image, FirstDocument(image, undamaged.returns), 38 * 5);
         sample::damage::Truncate(image, FirstDocument(image, undamaged.orders), 38 * 6 + 37);
     },
     kFine, Fails(err::kRecordNumber, {}, 0), Fails(err::kRecordNumber, {}, 0)},
    {"VndriMissing", "VNDRI is missing",
     [](sample::DataSetImage& image, const SetRun&) {
         sample::damage::RemoveDirectoryEntry(image, "VNDRI");
     },
     kFine, Fails(-10, "File not Found: \"VNDRI\"", 0), Fails(-10, "File not Found: \"VNDRI\"", 0)},
    {"IndexesMissing", "LINEI, RTTBI and PUTBI are missing",
     [](sample::DataSetImage& image, const SetRun&) {
         for (const char* name : {"LINEI", "RTTBI", "PUTBI"})
             sample::damage::RemoveDirectoryEntry(image, name);
     },
     Fails(-10, "File not Found: \"LINEI\"", 0), Fails(-10, "File not Found: \"RTTBI\"", 0),
     Fails(-10, "File not Found: \"PUTBI\"", 0)},
};

INSTANTIATE_TEST_SUITE_P(Views, DamagedSet, ::testing::ValuesIn(kDamageCases),
                         [](const ::testing::TestParamInfo<DamageCase>& param) {
                             return std::string(param.param.id);
                         });

// ---- files that are not what they seem on disk ----

struct OnDiskCase {
    const char* id;
    const char* name;
    // Changes the files of the set on the share (its folder), given the undamaged load.
    std::function<void(const sample::DataSetImage&, const SetRun&, const std::string& shares)>
        change;
    Effect inventory, returns, orders;
};

void PrintTo(const OnDiskCase& c, std::ostream* out) {
    *out << c.name;
}

class ChangedOnDisk : public ::testing::TestWithParam<OnDiskCase> {};

TEST_P(ChangedOnDisk, NoViewWaitsAndEachTakesTheFileForAMissingOne) {
    const OnDiskCase& c = GetParam();
    const sample::DataSetImage image = DemoImage();
    const SetRun undamaged = RunViews(image);
    const SetRun got =
        RunViews(image, [&](const std::string& shares) { c.change(image, undamaged, shares); });
    ExpectEffects(got, undamaged, c.inventory, c.returns, c.orders, c.name);
}

const char* const kContainerNotOrdinary =
    R"(Could not open file: \\DS1\TMARLNK\D01\DATADB (not an ordinary file))";

// Moves a file of the share (paths relative to the shares folder) to `to` and leaves a symbolic
// link with the text `link` in its place.
void MoveAndLink(const std::string& shares, const std::string& file, const std::string& to,
                 const std::string& link) {
    std::filesystem::create_directories(std::filesystem::path(shares + "/" + to).parent_path());
    std::filesystem::rename(shares + "/" + file, shares + "/" + to);
    std::filesystem::create_symlink(link, shares + "/" + file);
}

const OnDiskCase kOnDiskCases[] = {
    {"DocumentFifo", "the first return's and the first order's files are FIFOs",
     [](const sample::DataSetImage& image, const SetRun& undamaged, const std::string& shares) {
         testing::MakeFifo(shares + "/" + image.DataPath(undamaged.returns.numbers.at(0)));
         testing::MakeFifo(shares + "/" + image.DataPath(undamaged.orders.numbers.at(0)));
     },
     kFine, OneRowFewer(), OneRowFewer()},
    {"DirectoryFileFifo", "the directory file is a FIFO",
     [](const sample::DataSetImage& image, const SetRun&, const std::string& shares) {
         testing::MakeFifo(shares + "/" + image.Logical("LINEI").directory_file);
     },
     Fails(-10, "File not Found: \"LINEI\"", 0), Fails(-10, "File not Found: \"RTTBI\"", 0),
     Fails(-10, "File not Found: \"PUTBI\"", 0)},
    // A container that is there but no ordinary file can't be read: so says each view's line
    // (a missing one gives error 91 on the first read).
    {"ContainerFifo", "the container is a FIFO",
     [](const sample::DataSetImage& image, const SetRun&, const std::string& shares) {
         testing::MakeFifo(shares + "/" + image.Logical("LINEI").container);
     },
     Fails(75, kContainerNotOrdinary, 0), Fails(75, kContainerNotOrdinary, 0),
     Fails(75, kContainerNotOrdinary, 0)},
    {"DocumentLinksInside", "document files are symbolic links to files inside the share",
     [](const sample::DataSetImage& image, const SetRun& undamaged, const std::string& shares) {
         const std::string ret = undamaged.returns.numbers.at(0);
         MoveAndLink(shares, image.DataPath(ret), image.LinkShare() + "/KEEP/" + ret,
                     "../KEEP/" + ret);
         const std::string po = undamaged.orders.numbers.at(0);
         MoveAndLink(shares, image.DataPath(po), image.LinkShare() + "/KEEP/" + po,
                     shares + "/" + image.LinkShare() + "/KEEP/" + po);
     },
     kFine, kFine, kFine},
    {"DocumentLinksOutside", "document files are symbolic links that lead out of the share",
     [](const sample::DataSetImage& image, const SetRun& undamaged, const std::string& shares) {
         // A folder whose name begins with the share's, and another server's share.
         const std::string ret = undamaged.returns.numbers.at(0);
         MoveAndLink(shares, image.DataPath(ret), image.LinkShare() + "2/" + ret,
                     "../../TMARLNK2/" + ret);
         const std::string po = undamaged.orders.numbers.at(0);
         MoveAndLink(shares, image.DataPath(po), "OTHER/TMARLNK/" + po,
                     shares + "/OTHER/TMARLNK/" + po);
     },
     kFine, OneRowFewer(), OneRowFewer()},
};

INSTANTIATE_TEST_SUITE_P(Views, ChangedOnDisk, ::testing::ValuesIn(kOnDiskCases),
                         [](const ::testing::TestParamInfo<OnDiskCase>& param) {
                             return std::string(param.param.id);
                         });

TEST(DamagedSetLeaves, TheLoopedLinesIndexKeepsTheRowsOfTheLeavesBeforeTheLoop) {
    sample::DataSetImage image = DemoImage();
    const int before = LeafEntries(image, "LINEI", 2);
    sample::damage::LoopLeafChain(image, "LINEI", 1, 0);
    const SetRun got = RunViews(image);
    EXPECT_EQ(got.inventory.rows, before);
    EXPECT_TRUE(got.inventory.red);
}

}  // namespace
}  // namespace dv
