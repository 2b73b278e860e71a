// Test support for the parts tests that need the engine on files: a data set written into a
// fresh temporary share, the engine started on it, and everything program-wide put back after.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/business_basic.h"
#include "engine/packed_text.h"
#include "engine/startup.h"
#include "engine/system.h"
#include "engine/tables.h"
#include "platform/messages.h"
#include "platform/test_support.h"
#include "sampledata/data_set.h"
#include "sampledata/sample_share.h"

namespace dv::parts_test {

class EngineTest : public ::testing::Test {
  protected:
    static void Reset() { ResetEngineState(); }

    // Writes the image into the temporary share and starts the engine on it.
    void Start(const sample::DataSetImage& image) { ASSERT_TRUE(share_.Start(image)); }
    void Start() { Start(set.Build()); }

    cBusinessBasic& bb() { return *mBusinessBasic; }
    const std::vector<platform::Message>& messages() const { return share_.messages(); }
    // The local folder of the data directory, for files a test puts there by hand.
    std::string DataFolder() const { return share_.DataFolder(); }

    sample::DataSetWriter set;
    int16_t flag = 1;

  private:
    sample::SampleShare share_;
};

// Expects fn to raise a BasicError of this number and description.
template <typename Fn>
void ExpectError(Fn fn, int32_t number, const std::string& description) {
    try {
        fn();
        ADD_FAILURE() << "no error raised";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.description(), description);
    }
}

}  // namespace dv::parts_test
