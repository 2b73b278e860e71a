// The shell's calls into the real engine, kept apart so that code driven by fakes links
// without it.
#include "engine/business_basic.h"
#include "engine/error.h"
#include "engine/fill_cache.h"
#include "engine/physical.h"
#include "engine/tables.h"
#include "shell/main_controller.h"
#include "shell/options.h"

namespace dv {
namespace {

constexpr const char* kControlFileName = file0::kName;

class EngineFile0 : public ControlFile {
  public:
    explicit EngineFile0(std::shared_ptr<cBusinessBasic> engine) : engine_(std::move(engine)) {}

    std::string ReadBlock(int32_t block) override {
        if (!engine_) RaisePlatform(err::kNoObject, "BlockReadFile");
        // What this load has read of the control file already needs no open.
        const std::string path = CompletePath(kControlFileName);
        if (!mOpenFiles || !mOpenFiles->Find(path)) {
            if (auto held = HeldRead(path, BlockPosition(block, "iBlockReadFile"), kBlockSize))
                return std::move(*held);
        }
        std::string name = kControlFileName;
        const OpenFileRef file = engine_->OpenFile(name);
        int16_t flag = 0;
        return engine_->BlockReadFile(file, block, flag);
    }

    void Close() override {
        if (!engine_) RaisePlatform(err::kNoObject, "CloseFile");
        // Read from the load's cache without an open: nothing to close.
        if (mOpenFiles && !mOpenFiles->Find(CompletePath(kControlFileName))) return;
        engine_->CloseFile(std::string(kControlFileName));
    }

  private:
    std::shared_ptr<cBusinessBasic> engine_;
};

}  // namespace

std::unique_ptr<ControlFile> EngineControlFile(std::shared_ptr<cBusinessBasic> engine) {
    return std::make_unique<EngineFile0>(std::move(engine));
}

bool GetOption(int32_t position) {
    const std::unique_ptr<ControlFile> file = EngineControlFile(mBusinessBasic);
    return GetOption(position, *file);
}

EngineHooks DefaultEngineHooks() {
    EngineHooks hooks;
    hooks.load_catalog_settings = [] { LoadCatalogSettings(); };
    hooks.create_engine = [] { return std::make_shared<cBusinessBasic>(); };
    hooks.control_file = [](std::shared_ptr<cBusinessBasic> engine) {
        return EngineControlFile(std::move(engine));
    };
    hooks.get_option = [](int32_t position) { return GetOption(position); };
    return hooks;
}

}  // namespace dv
