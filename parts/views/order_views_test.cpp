// The Returns and Open Purchase Orders views on documents written byte by byte: the selection
// rules, the cells and totals, the day count, the vendor totals, and the button click.
#include "parts/views/order_views.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/fetch_pool.h"
#include "platform/file_calls.h"
#include "platform/paths.h"
#include "platform/test_support.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using views_test::DocFile;
using views_test::OrderKey;
using views_test::ViewTest;

// A vendor name as VNDRL holds it: 30 characters, blank-padded.
std::string Padded(std::string name) {
    name.resize(30, ' ');
    return name;
}

class OrderViewTest : public ViewTest {
  protected:
    OrderViewTest() {
        set.AddIndex("RTTBI", 16);
        set.AddIndex("PUTBI", 16);
        views_test::AddVendors(
            set,
            {{0, "ZERO VENDOR"}, {17, "ACME SUPPLY"}, {42, "BOLT WORKS"}, {1000, "BIG VENDOR"}});
    }
    // A key of the index and, unless the document is null, its file under the key's name.
    void Add(const std::string& index, const std::string& name, int32_t type, const DocFile* doc) {
        set.Index(index).Add(OrderKey(name, type), 1);
        if (doc) set.AddPlainFile(name, doc->Bytes());
    }
    void Add(const std::string& index, const std::string& name, int32_t type) {
        DocFile doc;
        doc.number = name;
        Add(index, name, type, &doc);
    }
};

TEST_F(OrderViewTest, ReturnsAreTheKeysOfType20ThatBeginWithR) {
    struct Case {
        const char* name;
        int32_t type;
        bool taken;
    };
    const Case cases[] = {
        {"R1001", 20, true}, {"X1002", 20, false}, {"R1003", 21, false},  {"R1004", 2, false},
        {"RA005", 20, true}, {"Q1006", 20, false}, {"R1007", 200, false},
    };
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        Add("RTTBI", c.name, c.type);
        if (c.taken) expected.push_back(c.name);
    }
    Add("RTTBI", "R1008", 20, nullptr);  // its file is gone: no row, nothing reported
    std::sort(expected.begin(), expected.end());
    Start();
    const auto view = Load<ReturnsView>();
    EXPECT_EQ(Column(view->grid(), "PO Number"), expected);
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(context.splash.progress(), "Loading Returns...");
}

TEST_F(OrderViewTest, PurchaseOrdersAreVKeysOfTypes2xAndAnyKeyOfTypes6x) {
    struct Case {
        const char* name;
        int32_t type;
        bool taken;
    };
    const Case cases[] = {
        {"V01", 2, true},   {"V02", 20, true},  {"V03", 25, true},  {"V04", 29, true},
        {"V05", 200, true}, {"V06", 255, true}, {"V07", 3, false},  {"V08", 30, false},
        {"V09", 7, false},  {"V10", 6, true},   {"V11", 64, true},  {"S01", 6, true},
        {"S02", 64, true},  {"S03", 60, true},  {"S04", 69, true},  {"S05", 2, false},
        {"S06", 20, false}, {"S07", 1, false},  {"S08", 16, false}, {"R01", 20, false},
    };
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        Add("PUTBI", c.name, c.type);
        if (c.taken) expected.push_back(c.name);
    }
    Add("PUTBI", "V9990001", 20, nullptr);
    std::sort(expected.begin(), expected.end());
    Start();
    const auto view = Load<PurchaseOrdersView>();
    EXPECT_EQ(Column(view->grid(), "PO Number"), expected);
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(context.splash.progress(), "Loading Purchase Orders...");
}

TEST_F(OrderViewTest, AReturnRowShowsItsVendorDateDayCountAndTotal) {
    DocFile unknown;  // a vendor VNDRI lacks, the empty date and a negative total
    unknown.number = "R1";
    unknown.vendor = 999;
    unknown.mmddyy = 0;
    unknown.total = -5000;
    DocFile known;
    known.number = "R2";
    known.vendor = 17;
    known.mmddyy = 31524;
    known.total = 123456;
    Add("RTTBI", "R1", 20, &unknown);
    Add("RTTBI", "R2", 20, &known);
    Start();
    const auto view = Load<ReturnsView>();
    const GridModel& g = view->grid();
    ASSERT_EQ(g.RowCount(), 2);
    const std::vector<std::string> columns = {"PO Number", "Vendor #", "Vendor Name",
                                              "Date",      "Total",    "ndate"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(g.Column(c).name, columns[static_cast<size_t>(c)]);
    EXPECT_EQ(g.Column(0).caption, "Return Number");
    EXPECT_TRUE(g.Column(0).button);
    EXPECT_TRUE(g.Column(5).hidden);
    EXPECT_EQ(g.tooltip(), "Click on Blue headers to sort grid by that column");
    const std::vector<std::vector<std::string>> rows = {
        {"R1", "999", "Vendor not found", "1/1/1968", "-$50.00", "1"},
        {"R2", "17", Padded("ACME SUPPLY"), "3/15/2024", "$1,234.56",
         std::to_string(sample::DaysFromBase(2024, 3, 15))},
    };
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(g.CellText(r, c), rows[static_cast<size_t>(r)][static_cast<size_t>(c)]);
    EXPECT_EQ(context.recap.Figure(5).caption, "$1,184.56");
    EXPECT_EQ(Caption(*view, "lblRetTotal"), "$1,184.56");
    EXPECT_EQ(Caption(*view, "Label1"), "Returns");
}

TEST_F(OrderViewTest, EmptyIndexesGiveEmptyGridsAndTotalsOfNothing) {
    Start();
    const auto returns = Load<ReturnsView>();
    const auto orders = Load<PurchaseOrdersView>();
    EXPECT_EQ(returns->grid().RowCount(), 0);
    EXPECT_EQ(orders->grid().RowCount(), 0);
    EXPECT_EQ(context.recap.Figure(5).caption, "$.00");
    EXPECT_EQ(context.recap.Figure(8).caption, "$.00");
    EXPECT_EQ(Caption(*returns, "lblRetTotal"), "$.00");
    EXPECT_EQ(Caption(*orders, "lblPoTotal"), "$.00");
    const auto totals = orders->VendorTotalsClick();
    EXPECT_EQ(totals->grid.RowCount(), 0);
    EXPECT_EQ(totals->label1, "$.00");
}

TEST_F(OrderViewTest, AnOrderDateThatIsNoDateGivesDayOneAndTheLoadGoesOn) {
    const int32_t dates[] = {133124, 0, 22924, 22923, 111524};  // 2/29/23 is no date
    for (size_t i = 0; i < std::size(dates); ++i) {
        DocFile d;
        d.number = "V" + std::to_string(i);
        d.mmddyy = dates[i];
        Add("PUTBI", d.number, 20, &d);
    }
    Start();
    const auto view = Load<PurchaseOrdersView>();
    EXPECT_FALSE(context.recap.Figure(8).red);
    const std::string leap = std::to_string(sample::DaysFromBase(2024, 2, 29));
    const std::string nov = std::to_string(sample::DaysFromBase(2024, 11, 15));
    EXPECT_EQ(Column(view->grid(), "ndate"), (std::vector<std::string>{"1", "1", leap, "1", nov}));
    EXPECT_EQ(
        Column(view->grid(), "Date"),
        (std::vector<std::string>{"1/1/1968", "1/1/1968", "2/29/2024", "1/1/1968", "11/15/2024"}));
    EXPECT_EQ(view->grid().Column(5).caption, "jdate");
    EXPECT_EQ(view->grid().Column(0).caption, "PO Number");
}

TEST_F(OrderViewTest, VendorTotalsSumPerVendorInNumberOrderAndKeepAnyVendorNumber) {
    struct Order {
        const char* name;
        int32_t vendor;
        int64_t total;
    };
    const Order orders[] = {
        {"V1", 1000, 123456789}, {"V2", 17, 10000}, {"V3", 42, 500},    {"V4", 0, 2500},
        {"V5", 17, 2550},        {"V6", 42, -500},  {"V7", 999, -1999},
    };
    for (const Order& o : orders) {
        DocFile d;
        d.number = o.name;
        d.vendor = o.vendor;
        d.total = o.total;
        Add("PUTBI", o.name, 20, &d);
    }
    Start();
    const auto view = Load<PurchaseOrdersView>();
    EXPECT_EQ(view->grid().RowCount(), 7);  // vendors 0 and 1000 keep their rows
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(context.recap.Figure(8).caption, "$1,234,698.40");
    EXPECT_EQ(Caption(*view, "lblPoTotal"), "$1,234,698.40");

    view->grid().SetCurrentRow(3);
    const auto form = view->VendorTotalsClick();
    EXPECT_EQ(view->grid().CurrentRow(), 0);
    const GridModel& g = form->grid;
    EXPECT_EQ(g.name(), "grdVtot");
    EXPECT_EQ(Column(g, "Vendor"), (std::vector<std::string>{"0", "17", "999", "1000"}));
    EXPECT_EQ(Column(g, "Name"),
              (std::vector<std::string>{Padded("ZERO VENDOR"), Padded("ACME SUPPLY"),
                                        "Vendor not found", Padded("BIG VENDOR")}));
    // Two decimals, no currency sign, no grouping; the grand total has both.
    EXPECT_EQ(Column(g, "Total"),
              (std::vector<std::string>{"25.00", "125.50", "-19.99", "1234567.89"}));
    EXPECT_EQ(form->label1, "$1,234,698.40");
    EXPECT_EQ(g.CurrentRow(), 0);
}

TEST_F(OrderViewTest, AButtonMakesItsRowCurrentAndOpensTheDetailOfItsDocument) {
    for (const char* name : {"R1", "R2", "R3"}) Add("RTTBI", name, 20);
    Start();
    auto view = Load<ReturnsView>();
    CapturingDetailHost host;
    view->SetDetailHost(&host);
    view->ButtonClick(kReturnGrid, 2);
    EXPECT_EQ(view->grid().CurrentRow(), 2);
    view->ButtonClick(kReturnGrid, 7);  // no such row
    view->ButtonClick("grdOther", 1);
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].caption, "Return Order Detail      Return # : R3");
}

// The fetch backend for a test: runs `first` once before the first fetch (a change made between
// the index walk and the fetches), then answers as `answer` says or as the local backend does.
class HookedFetches {
  public:
    HookedFetches(
        std::function<void()> first,
        std::function<std::optional<platform::FetchedFile>(const std::string&)> answer = {}) {
        platform::SetFetcherFactory([this, first, answer] {
            struct Fetcher : platform::FileFetcher {
                HookedFetches* owner;
                std::function<void()> first;
                std::function<std::optional<platform::FetchedFile>(const std::string&)> answer;
                std::unique_ptr<platform::FileFetcher> local = platform::MakeLocalFetcher();
                platform::FetchedFile Fetch(const platform::FetchRequest& request) override {
                    {
                        const std::lock_guard<std::mutex> lock(owner->mutex_);
                        if (!owner->done_ && first) first();
                        owner->done_ = true;
                    }
                    if (answer) {
                        const std::string name =
                            std::filesystem::path(request.local_path).filename().string();
                        if (auto given = answer(name)) return *given;
                    }
                    return local->Fetch(request);
                }
            };
            auto f = std::make_unique<Fetcher>();
            f->owner = this;
            f->first = first;
            f->answer = answer;
            return f;
        });
    }
    ~HookedFetches() { platform::SetFetcherFactory({}); }

  private:
    std::mutex mutex_;
    bool done_ = false;
};

// What a view shows: its rows, its total and the log.
struct Shown {
    std::vector<std::string> numbers, totals;
    std::string total;
    std::vector<std::string> log;
    bool operator==(const Shown&) const = default;
};

class FetchedOrderViewTest : public OrderViewTest {
  protected:
    void SetUp() override {
        for (int i = 1; i <= 12; ++i) {
            DocFile doc;
            doc.number = "R" + std::to_string(1000 + i);
            doc.total = 100 * i;
            Add("RTTBI", doc.number, 20, &doc);
        }
        Start();
    }
    void TearDown() override { platform::SetFetchWorkers(platform::kDefaultFetchWorkers); }
    Shown LoadReturns(int workers) {
        platform::SetFetchWorkers(workers);
        log.Take();
        const auto view = Load<ReturnsView>();
        return {Column(view->grid(), "PO Number"), Column(view->grid(), "Total"),
                context.recap.Figure(kReturnsRecapLabel).caption, log.Take()};
    }
    std::string Doc(int i) const { return DataFolder() + "/R" + std::to_string(1000 + i); }
};

// A document removed, changed or made unreadable after the index walk named it and before the
// pool fetched it gives the row, or the end of the load, that reading it when its row is built
// gives.
TEST_F(FetchedOrderViewTest, ADocumentChangedBeforeItsFetchShowsAsAOneAtATimeLoadShowsIt) {
    const std::function<void()> changes[] = {
        [&] { std::filesystem::remove(Doc(3)); },
        [&] {
            DocFile doc;
            doc.number = "R1005";
            doc.total = 987654;
            dv::testing::WriteFile(Doc(5), doc.Bytes());
        },
        [&] { dv::testing::WriteFile(Doc(7), std::string(100, 'x')); },  // no record 6
        [&] {
            std::filesystem::remove(Doc(9));
            std::filesystem::create_directory(Doc(9));
        },
    };
    int n = 0;
    for (const auto& change : changes) {
        SCOPED_TRACE(n++);
        Shown pooled;
        {
            const HookedFetches hook(change);
            pooled = LoadReturns(8);
        }
        EXPECT_EQ(pooled, LoadReturns(0));
        EXPECT_FALSE(pooled.numbers.empty());
    }
}

// A fetch that fails ends the fill in its error path, after the rows before that document:
// the recap label in red and the view's line in the operation log.
TEST_F(FetchedOrderViewTest, AFailedFetchEndsTheLoadInTheViewsErrorPath) {
    const HookedFetches hook({},
                             [](const std::string& name) -> std::optional<platform::FetchedFile> {
                                 if (name != "R1004") return std::nullopt;
                                 platform::FetchedFile failed;
                                 failed.outcome = platform::FetchedFile::Outcome::kFailed;
                                 failed.error = EIO;
                                 failed.read_error = true;
                                 return failed;
                             });
    const Shown shown = LoadReturns(8);
    EXPECT_EQ(shown.numbers, (std::vector<std::string>{"R1001", "R1002", "R1003"}));
    EXPECT_EQ(shown.total, "Data Error !");
    ASSERT_EQ(shown.log.size(), 1u);
    EXPECT_EQ(shown.log[0].rfind("*Error in frmReturn GetReturn routine", 0), 0u) << shown.log[0];
}

// The pool's threads and the documents' files are gone when the load ends, also after an
// error.
TEST_F(FetchedOrderViewTest, NoThreadOrOpenFileOutlivesTheLoad) {
    const auto count = [](const char* folder) {
        return std::distance(std::filesystem::directory_iterator(folder),
                             std::filesystem::directory_iterator());
    };
    // The engine keeps its own files open (the index's container): counted after a first load.
    EXPECT_EQ(LoadReturns(0).numbers.size(), 12u);
    const auto threads = dv::testing::ProcessThreads();
    const auto files = count("/proc/self/fd");
    EXPECT_EQ(LoadReturns(8).numbers.size(), 12u);
    EXPECT_EQ(dv::testing::ProcessThreads(), threads);
    EXPECT_EQ(count("/proc/self/fd"), files);
    dv::testing::WriteFile(Doc(2), std::string(100, 'x'));
    EXPECT_EQ(LoadReturns(8).total, "Data Error !");
    EXPECT_EQ(dv::testing::ProcessThreads(), threads);
    EXPECT_EQ(count("/proc/self/fd"), files);
}

// Many documents whose files are missing cost one call each and one listing of the data folder
// a load, however many there are: the load's calls are bounded by the documents, fetched one
// at a time or several at a time.
TEST_F(OrderViewTest, MissingDocumentsCostOneListingALoad) {
    for (int i = 1; i <= 60; ++i) {
        DocFile doc;
        doc.number = "R" + std::to_string(2000 + i);
        Add("RTTBI", doc.number, 20, i % 3 == 0 ? &doc : nullptr);  // 40 of 60 missing
    }
    Start();
    for (int workers : {0, 8}) {
        SCOPED_TRACE(workers);
        platform::SetFetchWorkers(workers);
        platform::ResetPathCache();  // a new load
        const platform::FileCalls before = platform::FileCallCounts();
        const auto view = Load<ReturnsView>();
        const platform::FileCalls calls = platform::FileCallCounts() - before;
        EXPECT_EQ(view->grid().RowCount(), 20);
        // The share folder's real path and the data folder's listing, once each.
        EXPECT_EQ(calls.lookups, 2u);
        // Per document there an open, a read and a close (and an fstat, one at a time), an
        // open per one missing, and a few for the index and the vendors.
        EXPECT_LE(calls.Calls(), 20u * (workers == 0 ? 4 : 3) + 40u + 12u) << calls.Calls();
    }
    platform::SetFetchWorkers(platform::kDefaultFetchWorkers);
}

}  // namespace
}  // namespace dv
