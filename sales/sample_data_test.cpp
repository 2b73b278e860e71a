// The demo data set's customers and counter documents, read back through the engine with the
// record classes and the invoice detail builder, and each damage kind of the counter documents.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/codec.h"
#include "records/page_chain.h"
#include "records/test_support.h"
#include "sales/customer_record.h"
#include "sales/invoice_record.h"
#include "sampledata/demo_set.h"
#include "sampledata/sales_data.h"
#include "test_support/engine_test.h"

namespace dv {
namespace {

class DemoSalesData : public testing::EngineTest {
  protected:
    void Plan(sample::Scale scale) {
        sample::DemoPlan plan = sample::PlanFor(scale);
        summary_ = sample::AddSalesFiles(set, plan);
    }
    sample::SalesFilesSummary summary_;
    sales_test::RecordedEvents events_;
};

TEST_F(DemoSalesData, CustomersDecodeJoinedAndByName) {
    Plan(sample::Scale::kDemo);
    Start();
    std::string cursor(kCursorSize, '\0');
    std::string key(4, '\0');
    int32_t record = 0;
    bb().KFind("CUSTI", cursor, key, record, flag);
    record = std::abs(record);
    int32_t count = 0, charge = 0;
    clsCustomers c;
    while (record > 0) {
        c.Unpack(bb().LreadFile("CUSTL", record, flag) + bb().LreadFile("ECUSTL", record, flag));
        EXPECT_EQ(c.Account, Unpack("L", key, 1));
        EXPECT_NE(c.Name.find_first_not_of(' '), std::string::npos);
        EXPECT_EQ(c.State.size(), 2u) << c.Address_Line_3;
        EXPECT_GE(c.Statement_Tot_Due, c.Statement_90_days);
        if (c.Credit_Code == "G") ++charge;
        if (count % 50 == 0) {
            EXPECT_EQ(GetCustomerName(c.Account), c.Name);
        }
        ++count;
        bb().KNext("CUSTI", cursor, key, record, flag);
    }
    EXPECT_EQ(count, summary_.customers);
    EXPECT_GT(charge, 0);
    EXPECT_LT(charge, count);
    EXPECT_EQ(GetCustomerName(sample::kTicketMissingCustomer), kCustomerNameNotFound);
}

TEST_F(DemoSalesData, TicketsAreChainsTheBuilderReadsWhole) {
    Plan(sample::Scale::kDemo);
    Start();
    std::string cursor(kCursorSize, '\0');
    std::string key(4, '\0');
    int32_t record = 0;
    bb().KFind("TICKI", cursor, key, record, flag);
    record = std::abs(record);
    int32_t tickets = 0, multi_page = 0;
    int64_t total = 0;
    clsInvoiceHistory head;
    while (record > 0) {
        head.Unpack(bb().LreadFile("INVOL", record, flag));
        EXPECT_EQ(head.Invoice_Number, Unpack("L", key, 1));
        total += head.Sub_Total;
        clsInvDetail detail;
        detail.InvoiceRec(record);
        detail.GetDetail();
        EXPECT_FALSE(detail.DetailError()) << detail.Builder().LastEntry();
        EXPECT_FALSE(detail.DetailReturn().empty());
        if (head.Number_of_Pages > 1) ++multi_page;
        ++tickets;
        bb().KNext("TICKI", cursor, key, record, flag);
    }
    EXPECT_EQ(tickets, summary_.tickets);
    EXPECT_GT(multi_page, 2);
    EXPECT_EQ(total, summary_.ticket_total_cents);
    EXPECT_TRUE(events_.entries().empty());

    clsInvDetail first;
    first.InvoiceRec(summary_.first_ticket_head);
    first.GetDetail();
    EXPECT_EQ(first.Builder().PageRecords()[0], 3);
    EXPECT_GT(first.DetailReturn().size(), 16u);
}

TEST_F(DemoSalesData, EachDamageKindEndsTheFirstTicketsBuildWithAnEntry) {
    Plan(sample::Scale::kTiny);
    const struct {
        void (*apply)(sample::DataSetImage&);
        const char* label;  // the first entry's procedure
    } cases[] = {
        {&sample::sales_damage::LoopPageChain, "BuildPage"},
        {[](sample::DataSetImage& i) { sample::sales_damage::PageByte(i, 0); }, "BuildPage"},
        {[](sample::DataSetImage& i) { sample::sales_damage::PageByte(i, 201); }, "BuildPage"},
        {&sample::sales_damage::MissingMiddlePage, "BuildDetail"},
        {&sample::sales_damage::SlotCountPastRecord, "BuildDetail"},
    };
    const sample::DataSetImage clean = set.Build();
    for (const auto& c : cases) {
        sample::DataSetImage image = clean;
        c.apply(image);
        Start(image);
        events_.Clear();
        clsInvDetail detail;
        detail.InvoiceRec(summary_.first_ticket_head);
        detail.GetDetail();
        EXPECT_TRUE(detail.DetailError());
        ASSERT_FALSE(events_.entries().empty());
        EXPECT_NE(events_.entries()[0].find(std::string("clsInvDetail : ") + c.label),
                  std::string::npos)
            << events_.entries()[0];
        Reset();
    }
}

}  // namespace
}  // namespace dv
