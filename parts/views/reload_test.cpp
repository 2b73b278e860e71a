// A view's load reads through a cache that lives for that load alone: the next load, on the same
// engine with its files still open, shows what changed on disk in between (a document's total,
// a vendor's name, a document file that did not exist before).
#include <gtest/gtest.h>

#include <string>

#include "engine/codec.h"
#include "engine/packed_text.h"
#include "parts/views/order_views.h"
#include "platform/test_support.h"
#include "sampledata/demo_set.h"
#include "sampledata/parts_data.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using views_test::ViewTest;

int RowOf(const GridModel& grid, const std::string& number) {
    for (int r = 0; r < grid.RowCount(); ++r)
        if (grid.CellText(r, grid.ColumnPosition("PO Number")) == number) return r;
    return -1;
}

class ReloadTest : public ViewTest {};

TEST_F(ReloadTest, ASecondLoadSeesWhatChangedOnDiskSinceTheFirst) {
    sample::DemoPlan plan = sample::PlanFor(sample::Scale::kDemo);
    sample::AddPartsFiles(set, plan);
    const sample::DataSetImage image = set.Build();
    Start(image);

    const auto first = Load<PurchaseOrdersView>();
    const GridModel& grid = first->grid();
    ASSERT_GT(grid.RowCount(), 2);
    const std::string number = grid.CellText(0, grid.ColumnPosition("PO Number"));
    const int32_t vendor = std::stoi(grid.CellText(0, grid.ColumnPosition("Vendor #")));
    const std::string total = grid.CellText(0, grid.ColumnPosition("Total"));

    // The document's total (L at 22 of record 6) and a new document file.
    std::string document = image.files.at(image.DataPath(number));
    std::string cents(4, '\0');
    Pack("L", cents, 1234567, 1);
    document.replace(6 * 38 + 21, 4, cents);
    testing::WriteFile(DataFolder() + "/" + number, document);
    // Its index entry had no file: a copy of the changed one, with its own number in its header.
    std::string copy = document;
    copy.replace(38 + 2, 8, "V9990001");
    testing::WriteFile(DataFolder() + "/V9990001", copy);
    // The vendor's name, packed at 6 of its VNDRL record.
    std::string cursor(kCursorSize, '\0');
    std::string key(4, '\0');
    Pack("L", key, vendor, 1);
    int32_t record = 0;
    bb().KFind("VNDRI", cursor, key, record, flag);
    ASSERT_GT(record, 0);
    std::string name = "RENAMED VENDOR";
    name.resize(30, ' ');
    std::string container = image.files.at(image.Logical("VNDRL").container);
    container.replace(static_cast<size_t>(image.RecordOffset("VNDRL", record)) + 5, 20, Crm(name));
    const std::string shares_root = DataFolder() + "/../../..";  // DataFolder is DS1/TMARLNK/D01
    testing::WriteFile(shares_root + "/" + image.Logical("VNDRL").container, container);

    const auto second = Load<PurchaseOrdersView>();
    const GridModel& again = second->grid();
    EXPECT_EQ(again.RowCount(), grid.RowCount() + 1);  // V9990001, a copy of the changed one
    const int row = RowOf(again, number);
    ASSERT_GE(row, 0);
    EXPECT_NE(again.CellText(row, again.ColumnPosition("Total")), total);
    EXPECT_EQ(again.CellText(row, again.ColumnPosition("Total")), "$12,345.67");
    EXPECT_EQ(again.CellText(row, again.ColumnPosition("Vendor Name")).substr(0, 14),
              "RENAMED VENDOR");
}

}  // namespace
}  // namespace dv
