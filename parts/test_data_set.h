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

namespace dv::parts_test {

class EngineTest : public ::testing::Test {
  protected:
    EngineTest()
        : shares_env_("DASHVANE_SHARES", shares_.path()),
          tmpdir_env_("TMPDIR", temp_.path()),
          temp_env_("TEMP", temp_.path()),
          sink_(std::make_shared<platform::RecordingMessageSink>()) {
        Reset();
        old_sink_ = platform::SetMessageSink(sink_);
    }
    ~EngineTest() override {
        Reset();
        platform::SetMessageSink(old_sink_);
    }

    static void Reset() { ResetEngineState(); }

    // Writes the image into the temporary share and starts the engine on it.
    void Start(const sample::DataSetImage& image) {
        image.Write(shares_.path(), temp_.path());
        LoadCatalogSettings();
        ASSERT_NE(mBusinessBasic, nullptr);
    }
    void Start() { Start(set.Build()); }

    cBusinessBasic& bb() { return *mBusinessBasic; }
    const std::vector<platform::Message>& messages() const { return sink_->messages; }
    // The local folder of the data directory, for files a test puts there by hand.
    std::string DataFolder() const { return shares_.path() + "/DS1/TMARLNK/D01"; }

    sample::DataSetWriter set;
    int16_t flag = 1;

  private:
    dv::testing::TempFolder shares_;
    dv::testing::TempFolder temp_;
    dv::testing::ScopedEnv shares_env_;
    dv::testing::ScopedEnv tmpdir_env_;
    dv::testing::ScopedEnv temp_env_;
    std::shared_ptr<platform::RecordingMessageSink> sink_;
    std::shared_ptr<platform::MessageSink> old_sink_;
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
