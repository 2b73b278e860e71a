// A whole headless load of the tiny demo set, with the files a target names damaged by the input:
// the start-up, every view's fill and every detail form the dump follows (what dashvane-dump
// --details does). The set is written once per process; each input starts from its pristine
// bytes, so no input leaves its damage for the next one.
//
// An input is a run of edits. Each edit is a header of four bytes: the first picks the target's
// region (file, or logical file inside its container) and how to damage it, the next three an
// offset inside the region (taken modulo its length):
//   kind 0  overwrite with the next 1 to 16 input bytes (the count from the kind byte)
//   kind 1  zero 1 to 512 bytes        kind 2  fill 1 to 512 bytes with 0xFF
//   kind 3  cut the file at the offset (a region inside a container cuts the container there)
// A target for a text file may take the input as the whole file instead (ReplaceWhole).
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/views.h"
#include "fuzz/fuzz_scratch.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/smb.h"
#include "sampledata/demo_set.h"
#include "shell/dump_document.h"
#include "shell/headless.h"
#include "shell/main_controller.h"
#include "shell/operation_log.h"
#include "shell/settings_store.h"
#include "shell/view_registry.h"

namespace dv::fuzz {

namespace fs = std::filesystem;

// A stretch of one file of the set: a whole file (length 0 below: to its end) or the bytes of a
// logical file inside its container.
struct Region {
    std::string file;  // relative to the shares root
    int64_t start = 0;
    int64_t length = 0;
};

class QuietSink : public platform::MessageSink {
  public:
    void Show(const platform::Message&) override {}
};

// The share's server, for a set whose damage names a server with no folder under the shares
// root: none answers, and nothing goes out on the network.
class NoServer : public platform::ShareConnection {
  public:
    int Open(const std::string&, std::unique_ptr<platform::RemoteFile>&) override {
        return EHOSTUNREACH;
    }
    int List(const std::string&, std::vector<platform::RemoteEntry>&) override {
        return EHOSTUNREACH;
    }
    int Stat(const std::string&, platform::RemoteEntry&) override { return EHOSTUNREACH; }
};

class LoadFuzz {
  public:
    // `logical`: names of logical files of the set (their bytes in their container); `files`:
    // whole files by name in the data directory ("FILE0") or relative to the link share
    // ("LINKSFILE"); `catalog`: the catalog settings file as a region too.
    LoadFuzz(std::string_view target, const std::vector<std::string>& logical,
             const std::vector<std::string>& files, bool catalog = false) {
        platform::SetProgramShareConnection(std::make_shared<NoServer>());
        const fs::path& base = Scratch(target);
        const sample::DataSetImage image = sample::BuildDemoSet(sample::Scale::kTiny);
        shares_ = base / "share";
        tmp_ = base / "tmp";
        image.Write(shares_, tmp_);
        for (const auto& [path, bytes] : image.files) pristine_[path] = bytes;
        catalog_path_ = (tmp_ / "tMRCatalog.ini").string();
        pristine_[catalog_path_] = image.catalog_ini;
        for (const std::string& name : logical) {
            const sample::LogicalPlacement& p = image.Logical(name);
            const int64_t start = static_cast<int64_t>(p.position) * 512;
            const int64_t length =
                p.file_type == 'I' ? (static_cast<int64_t>(p.last_record) + 1) * 512
                                   : (static_cast<int64_t>(p.last_record) + 1) * p.record_length;
            regions_.push_back({p.container, start, length});
        }
        for (const std::string& name : files) {
            std::string path = image.DataPath(name);
            if (image.files.count(path) == 0) path = image.LinkShare() + "/" + name;
            regions_.push_back({path, 0, 0});
        }
        if (catalog) regions_.push_back({catalog_path_, 0, 0});
        setenv("DASHVANE_SHARES", shares_.c_str(), 1);
        setenv("TMPDIR", tmp_.c_str(), 1);
        setenv("TEMP", tmp_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (base / "cfg").c_str(), 1);
        platform::SetMessageSink(std::make_shared<QuietSink>());
    }

    const std::vector<Region>& regions() const { return regions_; }
    const fs::path& shares() const { return shares_; }

    // Applies the input's edits to fresh copies of the regions' files and writes them.
    void Damage(const uint8_t* data, size_t size) {
        std::map<std::string, std::string> changed;
        size_t at = 0;
        while (at + 4 <= size && !regions_.empty()) {
            const uint8_t op = data[at];
            const Region& r = regions_[(op >> 2) % regions_.size()];
            std::string& bytes = Bytes(changed, r.file);
            const int64_t region_length =
                r.length > 0 ? r.length : static_cast<int64_t>(bytes.size()) - r.start;
            const int64_t offset =
                (static_cast<int64_t>(data[at + 1]) << 16 | data[at + 2] << 8 | data[at + 3]) %
                    (region_length > 0 ? region_length : 1) +
                r.start;
            at += 4;
            const size_t o = static_cast<size_t>(offset);
            switch (op & 3) {
                case 0: {
                    const size_t n = std::min<size_t>((op >> 4) + 1, size - at);
                    if (o + n <= bytes.size())
                        bytes.replace(o, n, reinterpret_cast<const char*>(data + at), n);
                    at += n;
                    break;
                }
                case 1:
                case 2: {
                    if (o >= bytes.size()) break;  // an earlier cut ended the file before it
                    const size_t n =
                        std::min<size_t>((static_cast<size_t>(op >> 4) + 1) * 32, bytes.size() - o);
                    bytes.replace(o, n, n, (op & 3) == 1 ? '\0' : '\xFF');
                    break;
                }
                default:
                    if (o < bytes.size()) bytes.resize(o);
                    break;
            }
        }
        Write(changed);
    }

    // The text of one file replaced as a whole (a text file: the summary, the link table).
    void ReplaceWhole(const std::string& file, std::string_view bytes) {
        std::map<std::string, std::string> changed;
        Bytes(changed, file).assign(bytes);
        Write(changed);
    }

    // The load with every detail, as dashvane-dump --details runs it.
    void Load() {
        mLogPath = "/dev/null";
        MemorySettingsStore settings;
        ScopedSettingsStore use_settings(settings);
        ViewRegistry views;
        RegisterViews(views);
        HeadlessWindow window;
        MainController controller(views, DefaultEngineHooks(), window, window);
        LogCapture log;
        controller.Start();
        mLogPath = "/dev/null";
        const std::string document = DumpDocument(controller, log.Take(), DumpDetails(controller));
        if (std::getenv("DASHVANE_FUZZ_SHOW") != nullptr)
            std::fwrite(document.data(), 1, document.size(), stderr);
        controller.Unload();
    }

  private:
    std::string& Bytes(std::map<std::string, std::string>& changed, const std::string& file) {
        auto it = changed.find(file);
        if (it == changed.end()) it = changed.emplace(file, pristine_.at(file)).first;
        return it->second;
    }

    // Writes what changed and puts back what the last input changed and this one did not.
    void Write(const std::map<std::string, std::string>& changed) {
        for (const std::string& file : last_changed_) {
            if (changed.count(file) == 0) WriteFile(file, pristine_.at(file));
        }
        last_changed_.clear();
        for (const auto& [file, bytes] : changed) {
            WriteFile(file, bytes);
            last_changed_.push_back(file);
        }
    }

    void WriteFile(const std::string& file, const std::string& bytes) const {
        const fs::path path = file == catalog_path_ ? fs::path(file) : shares_ / file;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path shares_;
    fs::path tmp_;
    std::string catalog_path_;
    std::map<std::string, std::string> pristine_;
    std::vector<Region> regions_;
    std::vector<std::string> last_changed_;
};

}  // namespace dv::fuzz
