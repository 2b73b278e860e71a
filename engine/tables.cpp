#include "engine/tables.h"

#include "engine/codec.h"
#include "engine/limits.h"
#include "engine/physical.h"
#include "engine/system.h"
#include "platform/file.h"

namespace dv {
namespace {

// Keys compare without regard to letter case.
std::string Fold(const std::string& key) {
    std::string folded = key;
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

constexpr size_t kLinkEntry = 160;  // one LINKSFILE entry
constexpr size_t kLinkNameAt = 1;   // 0-based start of the 79-byte link name
constexpr size_t kLinkTargetAt = 81;
constexpr size_t kLinkFieldLength = 79;

std::string Field(std::string_view piece, size_t at, size_t length) {
    if (at >= piece.size()) return {};
    return Trun(piece.substr(at, length), 1);
}

}  // namespace

std::shared_ptr<cLinks> mLinks;
std::shared_ptr<cOpenFiles> mOpenFiles;
std::shared_ptr<cLogicalFiles> mLogicalFiles;

template <typename T>
void KeyedCollection<T>::Add(Ref item, const std::string& key) {
    if (key.empty()) {
        items_.push_back(Slot{std::nullopt, std::move(item)});
        return;
    }
    std::string folded = Fold(key);
    if (by_key_.count(folded) != 0) RaisePlatform(err::kDuplicateKey, source_);
    by_key_.emplace(folded, item);
    items_.push_back(Slot{std::move(folded), std::move(item)});
}

template <typename T>
const typename KeyedCollection<T>::Ref& KeyedCollection<T>::Item(int32_t index) const {
    if (index < 1 || index > Count()) RaisePlatform(err::kSubscript, source_);
    return items_[static_cast<size_t>(index - 1)].item;
}

template <typename T>
const typename KeyedCollection<T>::Ref& KeyedCollection<T>::Item(const std::string& key) const {
    const auto it = by_key_.find(Fold(key));
    if (it == by_key_.end()) RaisePlatform(err::kInvalidArgument, source_);
    return it->second;
}

template <typename T>
typename KeyedCollection<T>::Ref KeyedCollection<T>::Find(const std::string& key) const {
    for (const Recent& r : recent_)
        if (r.item && r.key == key) return r.item;
    const auto it = by_key_.find(Fold(key));
    if (it == by_key_.end()) return nullptr;
    Recent& r = recent_[next_recent_];
    next_recent_ = (next_recent_ + 1) % kRecentKeys;
    r.key = key;
    r.item = it->second;
    return it->second;
}

template <typename T>
void KeyedCollection<T>::Remove(int32_t index) {
    if (index < 1 || index > Count()) RaisePlatform(err::kSubscript, source_);
    const auto at = items_.begin() + (index - 1);
    if (at->folded_key) by_key_.erase(*at->folded_key);
    items_.erase(at);
    recent_ = {};
}

template <typename T>
void KeyedCollection<T>::Remove(const std::string& key) {
    const std::string folded = Fold(key);
    if (by_key_.erase(folded) == 0) RaisePlatform(err::kInvalidArgument, source_);
    recent_ = {};
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->folded_key && *it->folded_key == folded) {
            items_.erase(it);
            break;
        }
    }
}

template class KeyedCollection<cLink>;
template class KeyedCollection<cOpenFile>;
template class KeyedCollection<cLogicalFile>;

cLinks::cLinks() : KeyedCollection<cLink>("cLinks") {
    if (!mSystem) RaisePlatform(err::kNoObject, "cLinks");
    const std::string path = "\\\\" + mSystem->mUNCDrive + "\\TMARLNK\\LINKSFILE";
    // One read of the whole file, cut in memory; a second engine of the same load takes what
    // the first read.
    const std::optional<std::string> bytes = RememberForLoad("links\n" + path, [&] {
        WholeShareFile file = ReadShareFileWhole(path, kLinksFileLimit, "cLinks");
        if (file.too_large)
            throw TooLarge(err::kLinksTooLarge, "cLinks", "Link file", path, kLinksFileLimit);
        // The open's own error, with the file's name and the system's reason.
        if (file.error != 0) throw OpenFailure(file.error, "cLinks", path, file.local);
        return std::optional<std::string>(std::move(file.bytes));
    });
    Load(bytes.value_or(std::string()));
}

cLinks::cLinks(std::string_view linksfile_bytes) : KeyedCollection<cLink>("cLinks") {
    Load(linksfile_bytes);
}

void cLinks::Load(std::string_view bytes) {
    for (size_t start = 0; start < bytes.size(); start += kLinkEntry) {
        const std::string_view piece = bytes.substr(start, kLinkEntry);
        const std::string link = Field(piece, kLinkNameAt, kLinkFieldLength);
        if (link.empty()) continue;
        Add(link, Field(piece, kLinkTargetAt, kLinkFieldLength), link);
    }
}

std::shared_ptr<cLink> cLinks::Add(const std::string& link_file, const std::string& resolution_file,
                                   const std::string& key) {
    auto link = std::make_shared<cLink>(cLink{link_file, resolution_file});
    try {
        KeyedCollection<cLink>::Add(link, key);
    } catch (const BasicError&) {
        // The first entry of a name wins.
    }
    return link;
}

cOpenFiles::~cOpenFiles() {
    for (const auto& slot : *this) {
        if (slot.item) CloseHandles(*slot.item);
    }
}

std::shared_ptr<cOpenFile> cOpenFiles::Add(int32_t file_number, const std::string& path,
                                           int32_t position, const std::string& key) {
    auto file = std::make_shared<cOpenFile>();
    file->vbFileNumber = file_number;
    file->Path = path;
    file->Position = position;
    KeyedCollection<cOpenFile>::Add(file, key);
    return file;
}

std::shared_ptr<cLogicalFile> cLogicalFiles::Add(const std::string& file_name,
                                                 const std::string& file_type,
                                                 std::shared_ptr<cOpenFile> open_file,
                                                 int32_t position, int32_t flags,
                                                 int32_t record_length, int32_t last_record,
                                                 const std::string& key) {
    auto file = std::make_shared<cLogicalFile>();
    file->FileName = file_name;
    file->FileType = file_type;
    file->OpenFile = std::move(open_file);
    file->Position = position;
    file->Flags = flags;
    file->RecordLength = record_length;
    file->LastRecord = last_record;
    KeyedCollection<cLogicalFile>::Add(file, key);
    return file;
}

}  // namespace dv
