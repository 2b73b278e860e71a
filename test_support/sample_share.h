// A sample data set on a share in a fresh temporary folder, for tests and benchmarks that run
// the engine on files: the environment points the engine at the folder (DASHVANE_SHARES, TMPDIR
// and TEMP), message boxes are recorded instead of shown, and the engine's program-wide state
// is empty before and after.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/business_basic.h"
#include "engine/startup.h"
#include "platform/messages.h"
#include "platform/test_support.h"
#include "sampledata/data_set.h"

namespace dv::sample {

class SampleShare {
  public:
    SampleShare()
        : shares_env_("DASHVANE_SHARES", shares_.path()),
          tmpdir_env_("TMPDIR", temp_.path()),
          temp_env_("TEMP", temp_.path()),
          sink_(std::make_shared<platform::RecordingMessageSink>()) {
        ResetEngineState();
        old_sink_ = platform::SetMessageSink(sink_);
    }
    ~SampleShare() {
        ResetEngineState();
        platform::SetMessageSink(old_sink_);
    }
    SampleShare(const SampleShare&) = delete;
    SampleShare& operator=(const SampleShare&) = delete;

    // Puts the set on the share and its catalog settings into the temporary folder.
    void Write(const DataSetImage& image) const { image.Write(shares_.path(), temp_.path()); }
    // Writes the set and reads the catalog settings, which creates the global engine; false
    // when no engine resulted.
    bool Start(const DataSetImage& image) const {
        Write(image);
        LoadCatalogSettings();
        return mBusinessBasic != nullptr;
    }

    // The folder DASHVANE_SHARES names, and the one TMPDIR and TEMP name.
    const std::string& shares() const { return shares_.path(); }
    const std::string& temp() const { return temp_.path(); }
    // The local folder of the data directory \\DS1\TMARLNK\D01.
    std::string DataFolder() const { return shares_.path() + "/DS1/TMARLNK/D01"; }
    const std::vector<platform::Message>& messages() const { return sink_->messages; }

  private:
    dv::testing::TempFolder shares_;
    dv::testing::TempFolder temp_;
    dv::testing::ScopedEnv shares_env_;
    dv::testing::ScopedEnv tmpdir_env_;
    dv::testing::ScopedEnv temp_env_;
    std::shared_ptr<platform::RecordingMessageSink> sink_;
    std::shared_ptr<platform::MessageSink> old_sink_;
};

}  // namespace dv::sample
