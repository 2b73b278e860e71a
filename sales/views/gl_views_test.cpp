// The G/L views and the account picker on chart and detail records written byte by byte: the
// stored lists, the signed millions-and-cents amounts, the company-crossing stop, the balance
// error, the setup button's three ways of closing, and the picker's moves.
#include "sales/views/gl_views.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "sampledata/accounting_data.h"
#include "sampledata/damage.h"
#include "sampledata/demo_set.h"
#include "shell/number_format.h"
#include "shell/settings_store.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using views_test::ViewTest;

struct Chart {
    int32_t company;
    int32_t account;
    char cls;
    std::string name;
};

struct Detail {
    int32_t company;
    int32_t account;                          // the key's account
    int32_t sign = 0;                         // B at 53
    int32_t millions = 0;                     // C at 54
    int64_t cents = 0;                        // L at 56
    std::optional<int32_t> record_account{};  // L at 5, when it differs from the key's
};

void AddChart(sample::DataSetWriter& set, const std::vector<Chart>& chart) {
    auto& chrtl = set.AddRecordFile("CHRTL", 64);
    auto& chrti = set.AddIndex("CHRTI", 6);
    for (const Chart& c : chart) {
        std::string name = c.name;
        name.resize(30, ' ');
        const int32_t n = chrtl.Add(RecordBuilder(64)
                                        .Bin(1, 'J', 1)
                                        .Bin(3, 'C', c.company)
                                        .Bin(5, 'L', c.account)
                                        .Raw(9, std::string(1, c.cls))
                                        .Raw(10, name));
        chrti.Add(RecordBuilder(6).Bin(1, 'C', c.company).Bin(3, 'L', c.account).bytes(), n);
    }
}

void AddDetails(sample::DataSetWriter& set, const std::vector<Detail>& details) {
    auto& gldtl = set.AddRecordFile("GLDTL", 64);
    auto& gldti = set.AddIndex("GLDTI", 10);
    int32_t seq = 0;
    for (const Detail& d : details) {
        const int32_t n = gldtl.Add(RecordBuilder(64)
                                        .Bin(1, 'J', 1)
                                        .Bin(5, 'L', d.record_account.value_or(d.account))
                                        .Bin(53, 'B', d.sign)
                                        .Bin(54, 'C', d.millions)
                                        .Bin(56, 'L', d.cents));
        gldti.Add(RecordBuilder(10)
                      .Bin(1, 'C', d.company)
                      .Bin(3, 'L', d.account)
                      .Bin(7, 'L', ++seq)
                      .bytes(),
                  n);
    }
}

const std::vector<Chart> kChart = {
    {1, 100, 'A', "CASH IN BANK"},     {1, 200, 'A', "ACCOUNTS RECEIVABLE"},
    {1, 300, 'L', "ACCOUNTS PAYABLE"}, {2, 5, 'A', "PETTY CASH"},
    {2, 123, 'A', "PARTS INVENTORY"},  {2, 400, 'X', "RETAINED EARNINGS"},
    {10, 5, 'A', "BRANCH CASH"},       {2, 100, 'A', "CASH, SECOND COMPANY"},
};

class GLTest : public ViewTest {
  protected:
    GLTest() : scoped_(store_) {}
    void Store(GLClass side, const std::string& list) {
        store_.Save("Dashvane", SideOf(side).section, "Accounts", list);
    }
    std::optional<std::string> Stored(GLClass side) const {
        return store_.Get("Dashvane", SideOf(side).section, "Accounts");
    }
    void StartWith(const std::vector<Detail>& details) {
        AddChart(set, kChart);
        AddDetails(set, details);
        Start();
    }
    static std::vector<std::string> Rows(const GridModel& g) {
        std::vector<std::string> out;
        for (int r = 0; r < g.RowCount(); ++r)
            out.push_back(g.CellText(r, "Co #") + "/" + g.CellText(r, "Account") + " " +
                          g.CellText(r, "Balance"));
        return out;
    }

    MemorySettingsStore store_;

  private:
    ScopedSettingsStore scoped_;
};

const std::vector<Detail> kDetails = {
    {1, 100, 0, 0, 150000},  // 1,500.00
    {1, 100, 1, 1, 234567},  // -12,345.67
    {1, 100, 0, 2000, 1},    // 20,000,000.01: millions beyond 32 bits of cents
    {1, 200, 0, 0, -2500},   // a negative cents part on its own
    {2, 5, 0, 0, 700},       //
    {2, 100, 0, 0, 99900},   // company 2's account 100
    {10, 5, 0, 0, 1000},     //
};

TEST_F(GLTest, StoredListsPickRowsInListOrder) {
    struct Case {
        const char* name;
        std::optional<std::string> stored;
        std::vector<std::string> rows;
        const char* total;
    };
    const Case cases[] = {
        {"absent: company 1 account 0, not in the chart", std::nullopt, {}, "$.00"},
        {"empty", std::string(""), {}, "$.00"},
        {"one entry", std::string("1"), {}, "$.00"},
        {"two accounts", std::string("01200,025"), {"1/200 -$25.00", "2/5 $7.00"}, "-$18.00"},
        {"a duplicate counts twice", std::string("025,025"), {"2/5 $7.00", "2/5 $7.00"}, "$14.00"},
        {"company of three digits: 100/5 reads as 10/5",
         std::string("1005"),
         {"10/5 $10.00"},
         "$10.00"},
        {"empty pieces dropped", std::string(",01200,,"), {"1/200 -$25.00"}, "-$25.00"},
        {"letters and a missing account", std::string("AB,01999,X1,02400"), {"2/400 $.00"}, "$.00"},
    };
    StartWith(kDetails);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stored) Store(GLClass::kAsset, *c.stored);
        auto view = std::make_unique<GLAssetView>();
        view->RunLoad(context);
        EXPECT_EQ(Rows(view->grid()), c.rows);
        EXPECT_EQ(context.recap.Figure(4).caption, c.total);
        EXPECT_EQ(Caption(*view, "lbltotal"), c.total);
    }
}

TEST_F(GLTest, BalancesAddSignedMillionsAndCentsAndStopAtAnotherCompany) {
    StartWith(kDetails);
    Store(GLClass::kAsset, "01100,02100");
    const auto view = Load<GLAssetView>();
    // 1,500.00 − 12,345.67 + 20,000,000.01; company 2's 999.00 under the same number is not
    // company 1's.
    EXPECT_EQ(Rows(view->grid()),
              (std::vector<std::string>{"1/100 $19,989,154.34", "2/100 $999.00"}));
    EXPECT_EQ(view->grid().CellText(0, "Description"), "CASH IN BANK                  ");
    EXPECT_EQ(context.recap.Figure(4).caption, "$19,990,153.34");
    EXPECT_EQ(context.splash.progress(), "Loading General Ledger Asset Accounts...");
    EXPECT_TRUE(log.lines().empty());

    std::string key = RecordBuilder(10).Bin(1, 'C', 1).Bin(3, 'L', 100).str();
    EXPECT_EQ(GetGLBalance(key, 100, "frmGLA"), int64_t{2000000001} + 150000 - 1234567);
}

TEST(DetailAmounts, AreMillionsTimesAMillionPlusCentsNegatedBySignOne) {
    struct Case {
        int32_t sign, millions;
        int64_t cents, amount;
    };
    const Case cases[] = {
        {1, 1, 234567, -1234567},        {0, 1, 234567, 1234567}, {2, 0, -5, -5}, {1, 0, -5, 5},
        {0, 65535, 999999, 65535999999}, {255, 3, 0, 3000000}};
    for (const Case& c : cases) {
        const std::string rec = RecordBuilder(64)
                                    .Bin(53, 'B', c.sign)
                                    .Bin(54, 'C', c.millions)
                                    .Bin(56, 'L', c.cents)
                                    .str();
        EXPECT_EQ(DetailAmount(rec), c.amount) << c.sign << " " << c.millions << " " << c.cents;
    }
    EXPECT_EQ(FormatNumber(Number::Cents(-1234567), kGLBalanceFormat), "-$12,345.67");
}

TEST_F(GLTest, ABalanceThatFailsShowsZeroLogsItsEntryAndMarksTheRecapLabel) {
    AddChart(set, kChart);
    AddDetails(set, kDetails);
    // The second entry of company 1 account 100 points past the end of GLDTL.
    sample::DataSetImage image = set.Build();
    sample::damage::RecordPointerPastLastRecord(image, "GLDTI", "GLDTL", 1);
    Start(image);
    Store(GLClass::kLiability, "01100,025");
    const auto view = Load<GLLiabilityView>();
    EXPECT_EQ(Rows(view->grid()), (std::vector<std::string>{"1/100 $.00", "2/5 $7.00"}));
    EXPECT_EQ(Caption(*view, "lbltotal"), "Total $7.00");
    // A total that leaves a failed balance out is shown in red, as the recap label is.
    EXPECT_TRUE(view->Label(view->LabelIndex("lbltotal")).red);
    EXPECT_EQ(context.recap.Figure(9).caption, "Data Error !");
    EXPECT_TRUE(context.recap.Figure(9).red);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "*Error in frmGLL GetGLBalance function error # :  81  ",
                               "Illegal Record Number for File: GLDTL and Record:  8  at line :0",
                               "gldtl record =8", "Acct=100"}));
}

TEST_F(GLTest, TheLiabilitySideHasItsOwnGridLabelAndSection) {
    StartWith(kDetails);
    Store(GLClass::kAsset, "01100");
    Store(GLClass::kLiability, "01200");
    const auto view = Load<GLLiabilityView>();
    EXPECT_FALSE(view->Label(view->LabelIndex("lbltotal")).red);
    EXPECT_EQ(view->form_name(), "frmGLL");
    ASSERT_NE(view->FindGrid("grdGLPay"), nullptr);
    EXPECT_EQ(Rows(view->grid()), (std::vector<std::string>{"1/200 -$25.00"}));
    EXPECT_EQ(context.recap.Figure(9).caption, "-$25.00");
    EXPECT_EQ(context.recap.Figure(4).caption, "");
    EXPECT_EQ(Caption(*view, "Label1"), "General Ledger Liability Accounts");
    EXPECT_EQ(view->commands().at(0).caption, "&Select Accounts");
}

// A setup dialog that picks rows and closes one way.
class FakeHost : public AccountPickerHost {
  public:
    explicit FakeHost(std::function<void(AccountPicker&)> act) : act_(std::move(act)) {}
    void Run(AccountPicker& picker) override {
        ++runs;
        EXPECT_EQ(picker.grid(1).RowCount(), 0);  // always opens empty
        act_(picker);
    }
    int runs = 0;

  private:
    std::function<void(AccountPicker&)> act_;
};

TEST_F(GLTest, TheSetupButtonRefillsAfterDoneAndTheCloseBoxButNotAfterCancel) {
    StartWith(kDetails);
    Store(GLClass::kAsset, "01200");
    const auto view = Load<GLAssetView>();
    ASSERT_EQ(view->grid().RowCount(), 1);

    // Cancel: nothing stored, no refill.
    view->SetPickerHost(std::make_unique<FakeHost>([](AccountPicker& p) {
        p.Select(0, 0);
        p.Move(0);
        p.Cancel();
    }));
    view->CommandClick(kSetupCommand);
    EXPECT_EQ(Stored(GLClass::kAsset), "01200");
    EXPECT_EQ(view->grid().RowCount(), 1);

    // Done: the display grid replaces the list, and the view fills again.
    view->SetPickerHost(std::make_unique<FakeHost>([](AccountPicker& p) {
        p.Select(0, 2);  // 2/5
        p.Select(0, 0);  // 1/100
        p.Move(0);
        EXPECT_EQ(p.Done(), "01100,025");
    }));
    view->CommandClick(kSetupCommand);
    EXPECT_EQ(Stored(GLClass::kAsset), "01100,025");
    EXPECT_EQ(Rows(view->grid()), (std::vector<std::string>{"1/100 $19,989,154.34", "2/5 $7.00"}));
    EXPECT_FALSE(view->Label(view->LabelIndex("lblReCalc")).visible);

    // The close box: nothing stored, but the view fills again from the stored list.
    Store(GLClass::kAsset, "025");
    int runs = 0;
    view->SetPickerHost(std::make_unique<FakeHost>([&runs](AccountPicker& p) {
        ++runs;
        p.CloseBox();
    }));
    view->CommandClick(kSetupCommand);
    EXPECT_EQ(Stored(GLClass::kAsset), "025");
    EXPECT_EQ(Rows(view->grid()), (std::vector<std::string>{"2/5 $7.00"}));
    view->CommandClick("cmdOther");
    EXPECT_EQ(runs, 1);
}

std::vector<std::string> PickerRows(const AccountPicker& p, int grid) {
    std::vector<std::string> out;
    const GridModel& g = p.grid(grid);
    for (int r = 0; r < g.RowCount(); ++r)
        out.push_back(g.CellText(r, kPickerCompany) + "/" + g.CellText(r, kPickerAccount));
    return out;
}

TEST_F(GLTest, ThePickerListsOneClassInKeyOrderAndMovesInItsOrders) {
    StartWith({});
    AccountPicker p("A");
    EXPECT_EQ(p.available_caption(), "Avalable Asset Accounts");
    EXPECT_EQ(PickerRows(p, 0),
              (std::vector<std::string>{"1/100", "1/200", "2/5", "2/100", "2/123", "10/5"}));
    EXPECT_EQ(p.grid(0).CellText(0, kPickerName), "CASH IN BANK                  ");
    // Move Selected with no selection moves nothing.
    p.Move(0);
    EXPECT_TRUE(PickerRows(p, 1).empty());
    // Move Selected: the reverse of the selection order.
    p.Select(0, 1);
    p.Select(0, 4);
    p.Select(0, 0);
    p.Move(0);
    EXPECT_EQ(PickerRows(p, 1), (std::vector<std::string>{"1/100", "2/123", "1/200"}));
    EXPECT_EQ(PickerRows(p, 0), (std::vector<std::string>{"2/5", "2/100", "10/5"}));
    // Move back: the row stands at the end of the available grid.
    p.Select(1, 0);
    p.Move(2);
    EXPECT_EQ(PickerRows(p, 0), (std::vector<std::string>{"2/5", "2/100", "10/5", "1/100"}));
    // Move All: the source grid's order.
    p.Move(1);
    EXPECT_EQ(PickerRows(p, 1),
              (std::vector<std::string>{"2/123", "1/200", "2/5", "2/100", "10/5", "1/100"}));
    EXPECT_TRUE(PickerRows(p, 0).empty());
    EXPECT_EQ(p.AccountsText(), "02123,01200,025,02100,105,01100");
    p.Move(3);
    EXPECT_TRUE(PickerRows(p, 1).empty());
    EXPECT_EQ(PickerRows(p, 0).size(), 6u);
    p.Move(7);  // any other index: nothing
    EXPECT_EQ(p.Done(), "");
    EXPECT_EQ(Stored(GLClass::kAsset), "");  // an empty list is stored as the empty string
    EXPECT_EQ(p.cancel_flag(), 0);

    AccountPicker l("L");
    EXPECT_EQ(l.available_caption(), "Avalable Liability Accounts");
    EXPECT_EQ(PickerRows(l, 0), (std::vector<std::string>{"1/300"}));  // class X: in neither
    l.Cancel();
    EXPECT_EQ(l.cancel_flag(), -1);
}

TEST_F(GLTest, AChartThatFailsToLoadKeepsItsRowsLogsTwiceAndSaysSo) {
    AddChart(set, kChart);
    AddDetails(set, {});
    sample::DataSetImage image = set.Build();
    sample::damage::RecordPointerPastLastRecord(image, "CHRTI", "CHRTL", 2);
    Start(image);
    AccountPicker p("A");
    EXPECT_EQ(PickerRows(p, 0), (std::vector<std::string>{"1/100", "1/200"}));
    EXPECT_EQ(p.error_message(),
              "Error :81 Illegal Record Number for File: CHRTL and Record:  9\r\n"
              "can not load GL chart of accounts !");
    ASSERT_EQ(log.lines().size(), 7u);
    EXPECT_EQ(log.lines()[0], "*11/15/2024 : 12:00:00 AM : module frmsetup/getglaccount");
    EXPECT_EQ(log.lines()[2], "---posit = 3  Gltype=A");
    EXPECT_EQ(log.lines()[1],
              "81  Illegal Record Number for File: CHRTL and Record:  9  iLreadFile");
    EXPECT_EQ(log.lines()[3], "---error line =  0 cr = 9 crx = -1");
    EXPECT_EQ(log.lines()[4], "---cnt = 3");
    EXPECT_EQ(log.lines()[5], "*Error :81 Illegal Record Number for File: CHRTL and Record:  9");
    EXPECT_EQ(log.lines()[6], "can not load GL chart of accounts !");
}

}  // namespace
}  // namespace dv

namespace dv {
namespace {

class GLDemoTest : public GLTest {};

TEST_F(GLDemoTest, EveryDemoAccountsBalanceIsTheSumOfItsOwnCompanysDetail) {
    sample::DemoPlan plan = sample::PlanFor(sample::Scale::kDemo);
    const sample::AccountingSummary summary = sample::AddAccountingFiles(set, plan);
    Start();
    ASSERT_EQ(summary.balances.size(), 28u);
    bool beyond_32_bits = false;
    for (const sample::LedgerBalance& b : summary.balances) {
        std::string key = RecordBuilder(10).Bin(1, 'C', b.company).Bin(3, 'L', b.account).str();
        EXPECT_EQ(GetGLBalance(key, b.account, "frmGLA"), b.cents) << b.company << "/" << b.account;
        if (b.cents > INT32_MAX || b.cents < INT32_MIN) beyond_32_bits = true;
    }
    EXPECT_TRUE(beyond_32_bits);
    Store(GLClass::kLiability, "01300,01310,02310");
    const auto view = Load<GLLiabilityView>();
    EXPECT_EQ(view->grid().RowCount(), 3);
    EXPECT_EQ(view->grid().CellText(2, "Description"), "BR FLOOR PLAN PAYABLE         ");
    EXPECT_FALSE(context.recap.Figure(9).red);
    EXPECT_TRUE(log.lines().empty());
}

}  // namespace
}  // namespace dv
