// The engine's three program-wide tables and their entry types: the link table, the open-file
// table and the logical-file table. Keyed collections keep insertion order, number items from
// 1, and compare string keys without regard to letter case.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/error.h"

namespace dv {

// A block of a container, and the size of a key cursor: 32 bytes of walk state and a copy of
// the current 512-byte node.
inline constexpr int32_t kBlockSize = 512;
inline constexpr size_t kCursorSize = 544;

namespace platform {
class ReadOnlyFile;
class WritableFile;
}  // namespace platform

// One link-table entry: a logical name (":D01:PARTL") and the directory file that holds it,
// relative to the link share, with colons for backslashes.
struct cLink {
    std::string LinkFile;
    std::string ResolutionFile;
};

// One open physical file.
struct cOpenFile {
    int32_t vbFileNumber = 0;
    std::string Path;      // the full share path as opened; the table key
    int32_t Position = 0;  // kept for the write path only
    // The open handle; null once the file has been closed.
    std::shared_ptr<platform::ReadOnlyFile> handle;
    // Opened by the first write, and only when writing is enabled; null otherwise.
    std::shared_ptr<platform::WritableFile> writer;
};

// One logical file: a run of records or index nodes inside a container.
struct cLogicalFile {
    std::string FileName;
    std::string FileType;                 // "L" record file, "I" index file
    std::shared_ptr<cOpenFile> OpenFile;  // the container; null when it could not be opened
    int32_t Position = 0;                 // first block inside the container
    int32_t Flags = 0;
    int32_t RecordLength = 0;
    int32_t LastRecord = 0;

    // Counts of record zero; 0 without reading unless a record file with its container open.
    int32_t ActiveCount() const;
    int32_t HighUsedRecord() const;
};

// The keyed collection the three tables are made of. Items are shared: an item outlives the
// table while a caller holds it.
template <typename T>
class KeyedCollection {
  public:
    using Ref = std::shared_ptr<T>;

    // source: the name that the collection's own errors (5, 9, 457) carry.
    explicit KeyedCollection(const char* source = "Collection") : source_(source) {}

    // Stores item under key (none when key is empty); raises 457 when the key is present.
    void Add(Ref item, const std::string& key);
    const Ref& Item(int32_t index) const;           // 1-based; 9 when out of range
    const Ref& Item(const std::string& key) const;  // 5 when absent
    // The item under key, or null; the lookup the engine uses where absence is no error.
    Ref Find(const std::string& key) const;
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    void Remove(int32_t index);
    void Remove(const std::string& key);

  private:
    struct Slot {
        std::optional<std::string> folded_key;
        Ref item;
    };

  public:
    using const_iterator = typename std::vector<Slot>::const_iterator;
    // Insertion-order enumeration (NewEnum); iterating yields slots, callers use slot.item.
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

  private:
    // The latest keys Find answered, as the caller spelled them: a fill asks for the same few
    // files by name for every record it reads, and a key of the table is folded and compared
    // with each of a small table's keys in turn. Cleared by every removal.
    struct Recent {
        std::string key;
        Ref item;
    };
    static constexpr size_t kRecentKeys = 4;

    std::vector<Slot> items_;
    std::unordered_map<std::string, Ref> by_key_;  // folded key -> item
    const char* source_;
    mutable std::array<Recent, kRecentKeys> recent_;
    mutable size_t next_recent_ = 0;
};

class cLinks : public KeyedCollection<cLink> {
  public:
    // Loads LINKSFILE from the link share of the system object's server.
    cLinks();
    // Loads the entries of a LINKSFILE's bytes.
    explicit cLinks(std::string_view linksfile_bytes);
    // Adds an entry; a duplicate key is ignored, and the new entry is returned all the same.
    std::shared_ptr<cLink> Add(const std::string& link_file, const std::string& resolution_file,
                               const std::string& key);

  private:
    void Load(std::string_view bytes);
};

class cOpenFiles : public KeyedCollection<cOpenFile> {
  public:
    cOpenFiles() : KeyedCollection<cOpenFile>("cOpenFiles") {}
    cOpenFiles(const cOpenFiles&) = delete;
    cOpenFiles& operator=(const cOpenFiles&) = delete;
    // Dropping the table closes every file it lists; errors are ignored.
    ~cOpenFiles();
    std::shared_ptr<cOpenFile> Add(int32_t file_number, const std::string& path, int32_t position,
                                   const std::string& key);
};

class cLogicalFiles : public KeyedCollection<cLogicalFile> {
  public:
    cLogicalFiles() : KeyedCollection<cLogicalFile>("cLogicalFiles") {}
    std::shared_ptr<cLogicalFile> Add(const std::string& file_name, const std::string& file_type,
                                      std::shared_ptr<cOpenFile> open_file, int32_t position,
                                      int32_t flags, int32_t record_length, int32_t last_record,
                                      const std::string& key);
};

extern template class KeyedCollection<cLink>;
extern template class KeyedCollection<cOpenFile>;
extern template class KeyedCollection<cLogicalFile>;

// Program-wide tables, replaced by each engine creation and dropped by each release.
extern std::shared_ptr<cLinks> mLinks;
extern std::shared_ptr<cOpenFiles> mOpenFiles;
extern std::shared_ptr<cLogicalFiles> mLogicalFiles;

}  // namespace dv
