// The demo data set's countermen, read back through the engine with the counterman record class.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/codec.h"
#include "engine/packed_text.h"
#include "sales/counterman_record.h"
#include "sampledata/accounting_data.h"
#include "sampledata/demo_set.h"
#include "test_support/engine_test.h"

namespace dv {
namespace {

class DemoAccountingData : public testing::EngineTest {
  protected:
    void StartDemo(sample::Scale scale) {
        sample::DemoPlan plan = sample::PlanFor(scale);
        summary_ = sample::AddAccountingFiles(set, plan);
        Start();
    }
    sample::AccountingSummary summary_;
};

TEST_F(DemoAccountingData, CountermenJoinManlAndEmanlInIndexOrder) {
    StartDemo(sample::Scale::kDemo);
    SwitchAlphabet(0, kNameSet);
    std::string cursor(kCursorSize, '\0');
    std::string key(2, '\0');
    int32_t record = 0;
    bb().KFind("MANI", cursor, key, record, flag);
    std::vector<int32_t> countermen, mechanics;
    int64_t mdse = 0, net = 0;
    bool house = false;
    clsCounterman m, alone;
    while (record > 0) {
        m.Unpack(bb().LreadFile("MANL", record, flag) + bb().LreadFile("EMANL", record, flag));
        alone.Unpack(bb().LreadFile("MANL", record, flag));
        EXPECT_EQ(m.COUNTERMAN_Number, Unpack("C", key, 1));
        EXPECT_EQ(alone.Name, m.Name);
        EXPECT_NE(m.Name.find_first_not_of(' '), std::string::npos);
        EXPECT_EQ(m.Name.find('/'), std::string::npos);  // names are written with dashes
        if (m.COUNTERMAN_Number == 0) {
            house = true;
        } else if (m.Mechanic) {
            mechanics.push_back(m.COUNTERMAN_Number);
            EXPECT_EQ(m.Todays_Invoices, 0);
        } else {
            countermen.push_back(m.COUNTERMAN_Number);
            EXPECT_GE(m.MTD_Mdse_Sales, m.Todays_Mdse_Sales);
            EXPECT_GE(m.YTD_Mdse_Sales, m.MTD_Mdse_Sales);
            mdse += m.Todays_Mdse_Sales;
            net += std::llabs(m.Todays_Cash_Recvd) + std::llabs(m.Deposits_In_Today) -
                   std::llabs(m.Todays_Refunds) + std::llabs(m.Todays_Payments);
        }
        bb().KNext("MANI", cursor, key, record, flag);
    }
    EXPECT_TRUE(house);
    EXPECT_EQ(countermen, summary_.countermen);
    EXPECT_EQ(mechanics, summary_.mechanics);
    EXPECT_EQ(mdse, summary_.todays_mdse_cents);
    EXPECT_EQ(net, summary_.todays_net_cash_cents);
    EXPECT_GT(mdse, 0);
}

}  // namespace
}  // namespace dv
