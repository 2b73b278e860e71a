#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sales/customer_record.h"
#include "sampledata/damage.h"
#include "test_support/engine_test.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using sample::TextSet;
using testing::EngineTest;

class CustomerLookup : public EngineTest {
  protected:
    void AddCustomers(bool any = true) {
        sample::RecordFileWriter& custl = set.AddRecordFile("CUSTL", 200);
        set.AddRecordFile("ECUSTL", 128);
        sample::IndexWriter& custi = set.AddIndex("CUSTI", 4);
        if (!any) return;
        for (const auto& [number, name] :
             {std::pair{-5, "NEGATIVE-ACCOUNT"}, {100, "ALPHA-FARMS"}, {300, "GAMMA, INC."}}) {
            RecordBuilder r = custl.NewRecord();
            r.Bin(1, 'J', 1).Bin(3, 'D', number).Text(6, name, 20, TextSet::kNames);
            custi.Add(RecordBuilder(4).Bin(1, 'L', number).str(), custl.Add(r));
        }
    }
};

TEST_F(CustomerLookup, HitsMissesAndTheAlphabetLeftBehind) {
    AddCustomers();
    Start();
    SwitchAlphabet(0, kNameSet);
    EXPECT_EQ(GetCustomerName(200), kCustomerNameNotFound);  // between two keys
    EXPECT_EQ(Alphabet().substr(0, 4), kNameSet);            // a miss leaves it
    EXPECT_EQ(GetCustomerName(100), "ALPHA-FARMS                   ");
    EXPECT_EQ(Alphabet().substr(0, 4), kPartSet);  // a hit leaves the default
    EXPECT_EQ(GetCustomerName(300), "GAMMA, INC.                   ");
    EXPECT_EQ(GetCustomerName(301), kCustomerNameNotFound);  // past the end
    EXPECT_EQ(GetCustomerName(0), kCustomerNameNotFound);
    // A negative number is looked up in two's complement, like any other.
    EXPECT_EQ(GetCustomerName(-5), "NEGATIVE-ACCOUNT              ");
}

TEST_F(CustomerLookup, EmptyIndexFindsNothing) {
    AddCustomers(false);
    Start();
    EXPECT_EQ(GetCustomerName(100), kCustomerNameNotFound);
}

TEST_F(CustomerLookup, EngineErrorsReachTheCaller) {
    AddCustomers();
    sample::DataSetImage image = set.Build();
    // Keys in unsigned byte order: 100, 300, -5; the second one points past the file.
    sample::damage::RecordPointerPastLastRecord(image, "CUSTI", "CUSTL", 1);
    Start(image);
    testing::ExpectError([] { GetCustomerName(300); }, err::kRecordNumber,
                         "Illegal Record Number for File: CUSTL and Record:  4");
}

}  // namespace
}  // namespace dv
