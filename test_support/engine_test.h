// The engine on a sample data set: the set written into a fresh temporary share, the engine
// started on it, and everything program-wide put back after.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/business_basic.h"
#include "engine/packed_text.h"
#include "engine/startup.h"
#include "engine/system.h"
#include "engine/tables.h"
#include "platform/messages.h"
#include "sampledata/data_set.h"
#include "test_support/sample_share.h"

namespace dv::testing {

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

}  // namespace dv::testing
