// An SMB server in memory for tests: files and folders by address, and how many calls of each
// kind reached it. Installed as the program's connection while a ScopedFakeShare lives.
#pragma once

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/smb.h"

namespace dv::testing {

class FakeShare : public platform::ShareConnection {
  public:
    struct Node {
        bool folder = false;
        std::string bytes;
    };
    // Adds a file at url (its folders too).
    void AddFile(const std::string& url, std::string bytes) {
        nodes[url] = Node{false, std::move(bytes)};
        for (size_t at = url.rfind('/'); at != std::string::npos && at > 6;
             at = url.rfind('/', at - 1)) {
            const std::string folder = url.substr(0, at);
            if (folder.find('/', 6) == std::string::npos) break;  // smb://SERVER itself
            nodes[folder].folder = true;
        }
    }

    int Open(const std::string& url, std::unique_ptr<platform::RemoteFile>& file) override {
        ++opens;
        if (fail != 0) return fail;
        const auto it = nodes.find(url);
        if (it == nodes.end()) return ENOENT;
        file = std::make_unique<File>(*this, url);
        return 0;
    }
    int List(const std::string& url, std::vector<platform::RemoteEntry>& entries) override {
        ++lists;
        if (fail != 0) return fail;
        std::string dir = url;
        while (!dir.empty() && dir.back() == '/') dir.pop_back();
        const auto self = nodes.find(dir);
        if (self == nodes.end() || !self->second.folder) return ENOENT;
        entries.clear();
        for (const auto& [path, node] : nodes) {
            if (path.size() <= dir.size() + 1 || path.compare(0, dir.size() + 1, dir + "/") != 0)
                continue;
            const std::string name = path.substr(dir.size() + 1);
            if (name.find('/') != std::string::npos) continue;
            entries.push_back({name,
                               node.folder ? platform::RemoteEntry::Kind::kFolder
                                           : platform::RemoteEntry::Kind::kFile,
                               static_cast<int64_t>(node.bytes.size())});
        }
        return 0;
    }
    int Stat(const std::string& url, platform::RemoteEntry& entry) override {
        ++stats;
        if (fail != 0) return fail;
        const auto it = nodes.find(url);
        if (it == nodes.end()) return ENOENT;
        entry.kind = it->second.folder ? platform::RemoteEntry::Kind::kFolder
                                       : platform::RemoteEntry::Kind::kFile;
        entry.size = static_cast<int64_t>(it->second.bytes.size());
        return 0;
    }

    std::map<std::string, Node> nodes;
    int fail = 0;  // an errno value every call gives, when set
    int opens = 0, lists = 0, stats = 0, reads = 0, fstats = 0;

  private:
    class File : public platform::RemoteFile {
      public:
        File(FakeShare& share, std::string url) : share_(share), url_(std::move(url)) {}
        int Read(int64_t offset, size_t length, char* out, size_t& got) override {
            ++share_.reads;
            const std::string& bytes = share_.nodes[url_].bytes;
            got = 0;
            if (offset < static_cast<int64_t>(bytes.size())) {
                got = std::min(length, bytes.size() - static_cast<size_t>(offset));
                std::memcpy(out, bytes.data() + offset, got);
            }
            return 0;
        }
        int Length(int64_t& length) override {
            ++share_.fstats;
            length = static_cast<int64_t>(share_.nodes[url_].bytes.size());
            return 0;
        }

      private:
        FakeShare& share_;
        std::string url_;
    };
};

// Makes a FakeShare the program's connection while it lives (the path cache starts afresh).
class ScopedFakeShare {
  public:
    ScopedFakeShare() : share_(std::make_shared<FakeShare>()) {
        platform::SetProgramShareConnection(share_);
        platform::ResetPathCache();
    }
    ~ScopedFakeShare() {
        platform::ResetPathCache();
        platform::SetProgramShareConnection(nullptr);
    }
    ScopedFakeShare(const ScopedFakeShare&) = delete;
    ScopedFakeShare& operator=(const ScopedFakeShare&) = delete;
    FakeShare& operator*() { return *share_; }
    FakeShare* operator->() { return share_.get(); }

  private:
    std::shared_ptr<FakeShare> share_;
};

}  // namespace dv::testing
