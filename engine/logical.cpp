#include "engine/logical.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/limits.h"
#include "engine/physical.h"
#include "engine/pts_detail.h"
#include "engine/system.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/smb.h"

namespace dv {
namespace {

// Record zero: status word, free-chain head, highest used record, active count.
constexpr int32_t kHeaderBytes = 16;
constexpr int32_t kFreeHeadAt = 3;
constexpr int32_t kHighUsedAt = 7;
constexpr int32_t kActiveAt = 11;

// The byte position of record `record`.
int32_t RecordPosition(const cLogicalFile& file, int32_t record, const char* source) {
    return CheckedPosition(static_cast<int64_t>(record) * file.RecordLength +
                               static_cast<int64_t>(file.Position) * kBlockSize,
                           source);
}

void CheckRecord(const cLogicalFile& file, int32_t record, const char* source) {
    if (record < 1 || record > file.LastRecord) {
        throw BasicError(
            err::kRecordNumber, source,
            "Illegal Record Number for File: " + file.FileName + " and Record: " + NumText(record));
    }
}

// Why the last resolution of each name gave none, when that was a file that exists but could
// not be read; names that resolved, or whose files are missing, have no entry.
std::map<std::string, BasicError>& ReadFailures() {
    static std::map<std::string, BasicError> failures;
    return failures;
}

// What a scan of a directory file found: the first entry of each name. Kept from the first scan
// of the file until DropDirectoryScans, so a name missing from the file costs no second scan;
// null for a file above kDirectoryFileLimit.
using DirectoryNames = std::unordered_map<std::string, DirectoryEntry>;
std::unordered_map<std::string, std::shared_ptr<const DirectoryNames>>& Scans() {
    static std::unordered_map<std::string, std::shared_ptr<const DirectoryNames>> scans;
    return scans;
}

// The directory file's entries, read in one read the first time it is asked for; null when
// the file is missing. A file that is missing or can't be opened or read is not remembered (it
// is tried again); one that can't be opened, or is above the limit, raises.
const DirectoryNames* ScanDirectory(const std::string& directory_path) {
    auto& scans = Scans();
    auto it = scans.find(directory_path);
    if (it == scans.end()) {
        WholeShareFile file =
            ReadShareFileWhole(directory_path, kDirectoryFileLimit, "iLogicalOpen");
        if (file.error != 0) {
            if (IsMissingFile(file.error)) return nullptr;
            throw OpenFailure(file.error, "iLogicalOpen", directory_path);
        }
        const std::optional<std::string> bytes =
            file.too_large ? std::nullopt : std::optional<std::string>(std::move(file.bytes));
        std::shared_ptr<DirectoryNames> names;
        if (bytes) {
            names = std::make_shared<DirectoryNames>();
            for (size_t at = 0; at < bytes->size(); at += kDirectoryEntrySize) {
                // A last, short entry reads as if padded with zero bytes.
                std::string entry = bytes->substr(at, kDirectoryEntrySize);
                entry.resize(kDirectoryEntrySize, '\0');
                DirectoryEntry decoded = DecodeDirectoryEntry(entry);
                names->emplace(decoded.name, std::move(decoded));  // the first of a name counts
            }
        }
        it = scans.emplace(directory_path, std::move(names)).first;
    }
    if (!it->second) {
        throw TooLarge(err::kDirectoryTooLarge, "iLogicalOpen", "Directory file", directory_path,
                       kDirectoryFileLimit);
    }
    return it->second.get();
}

// The directory entry named base (exactly, with case), or nothing.
std::optional<DirectoryEntry> FindEntry(const std::string& directory_path,
                                        const std::string& base) {
    const DirectoryNames* names = ScanDirectory(directory_path);
    if (names == nullptr) return std::nullopt;
    const auto it = names->find(base);
    if (it == names->end()) return std::nullopt;
    return it->second;
}

// A container that is missing gives a listed logical file without one (its reads fail with
// 91); a folder or another file that is no ordinary file in its place can't be read.
void RaiseUnlessMissing(const std::string& container_path) {
    const std::string local = LocalOrEmpty(container_path);
    if (platform::IsShareUrl(local)) {
        platform::RemoteEntry entry;
        if (platform::CurrentShareConnection().Stat(local, entry) != 0 ||
            entry.kind == platform::RemoteEntry::Kind::kFile)
            return;
        if (entry.kind == platform::RemoteEntry::Kind::kFolder)
            throw OpenFailure(EISDIR, "iOpenFile", container_path);
        throw OpenFailure(err::kPathFileAccess, "iOpenFile", container_path,
                          "not an ordinary file");
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(local, ec);
    if (ec || status.type() == fs::file_type::not_found || fs::is_regular_file(status) ||
        fs::is_symlink(status))
        return;
    if (fs::is_directory(status)) throw OpenFailure(EISDIR, "iOpenFile", container_path);
    throw OpenFailure(err::kPathFileAccess, "iOpenFile", container_path, "not an ordinary file");
}

// The directory file a link names: its target under the link share, colons for backslashes.
std::string DirectoryPath(const cLink& link) {
    std::string target = link.ResolutionFile;
    std::replace(target.begin(), target.end(), ':', '\\');
    return "\\\\" + mSystem->mUNCDrive + "\\TMARLNK\\" + target;
}

// The container beside a directory file: its path with the last two characters made "DB".
std::string ContainerPath(const std::string& directory_path) {
    return directory_path.substr(0, directory_path.size() - 2) + "DB";
}

// The engine's own files as SharePathKey gives them, worked out once per link table.
struct EngineFiles {
    std::weak_ptr<cLinks> links;
    std::string server, directory;
    std::unordered_set<std::string> keys;
};

const std::unordered_set<std::string>& EngineFileKeys() {
    static EngineFiles files;
    if (files.links.lock() == mLinks && files.server == mSystem->mUNCDrive &&
        files.directory == mSystem->mDirectory && !files.keys.empty())
        return files.keys;
    files = EngineFiles{mLinks, mSystem->mUNCDrive, mSystem->mDirectory, {}};
    const std::string share = "\\\\" + mSystem->mUNCDrive + "\\TMARLNK\\";
    for (const char* own : {"LINKSFILE", "ttymap"})
        files.keys.insert(platform::SharePathKey(share + own));
    files.keys.insert(platform::SharePathKey(CompletePath("FILE0")));
    if (mLinks) {
        for (const auto& slot : *mLinks) {
            if (!slot.item) continue;
            const std::string directory_path = DirectoryPath(*slot.item);
            files.keys.insert(platform::SharePathKey(directory_path));
            files.keys.insert(platform::SharePathKey(ContainerPath(directory_path)));
        }
    }
    return files.keys;
}

// The fields of an entry the engine reads must describe a file the container can hold: a record
// file's records have a length (each holds at least its status word), and the file starts inside
// its container (the length its open learned). Anything else is a damaged entry, not a file of
// no records. A last record below 0 is a file of no records, as 0 is: every read of it is 81.
void CheckEntryDomain(const DirectoryEntry& entry, const std::string& directory_path,
                      const cOpenFile* container) {
    auto damaged = [&](const std::string& what) {
        throw BasicError(err::kDirectoryEntry, "iLogicalOpen",
                         "Damaged directory file " + directory_path + ": the entry of " +
                             entry.name + " " + what);
    };
    if (entry.file_type != "I" && entry.record_length < 1) damaged("has record length 0");
    if (container != nullptr && container->handle) {
        const int64_t start = static_cast<int64_t>(entry.position) * kBlockSize;
        const int64_t length = container->handle->OpenedLength();
        if (start >= length) {
            damaged("starts at block " + std::to_string(entry.position) +
                    ", past the end of its container (" + std::to_string(length) + " bytes)");
        }
    }
}

std::shared_ptr<cLogicalFile> Resolve(const std::string& name) {
    if (!mLogicalFiles) return nullptr;
    if (auto listed = mLogicalFiles->Find(name)) return listed;
    if (!mSystem || !mLinks) return nullptr;
    const std::string full =
        (!name.empty() && name[0] != ':') ? ":" + mSystem->mDirectory + ":" + name : name;
    const auto link = mLinks->Find(full);
    if (!link) return nullptr;
    const std::string directory_path = DirectoryPath(*link);
    std::string container_path = ContainerPath(directory_path);
    const size_t colon = name.rfind(':');
    const std::string base = colon == std::string::npos ? name : name.substr(colon + 1);
    const auto entry = FindEntry(directory_path, base);
    if (!entry) return nullptr;
    auto container = iOpenFile(container_path);  // shared when already open
    if (!container) RaiseUnlessMissing(container_path);
    CheckEntryDomain(*entry, directory_path, container.get());
    return mLogicalFiles->Add(name, entry->file_type, std::move(container), entry->position,
                              entry->flags, entry->record_length, entry->last_record, name);
}

// Reads the 16 header bytes of record zero.
std::string ReadHeader(const cLogicalFile& file, const char* source) {
    return iReadFile(file.OpenFile, kHeaderBytes, BlockPosition(file.Position, source));
}

}  // namespace

bool IsEngineFile(std::string_view path) {
    if (!mSystem) return false;
    return EngineFileKeys().count(platform::SharePathKey(path)) != 0;
}

DirectoryEntry DecodeDirectoryEntry(std::string_view entry) {
    DirectoryEntry d;
    d.name = Trun(entry.substr(0, 10), 1);  // overlaps the flags word: bytes 7-10 count
    d.flags = Unpack("C", entry, 7);
    d.position = Unpack("D", entry, 11);
    d.record_length = Unpack("C", entry, 14);
    d.file_type = std::string(entry.substr(15, 1));
    d.last_record = Unpack("L", entry, 17);
    return d;
}

void DropDirectoryScans() {
    Scans().clear();
}

std::shared_ptr<cLogicalFile> iLogicalOpen(const std::string& name) {
    if (!ReadFailures().empty()) ReadFailures().erase(name);
    try {
        return Resolve(name);
    } catch (const BasicError& e) {
        // Every failing step means: no such logical file. Why is kept for the error the
        // caller raises (LogicalOpenError).
        ReadFailures().insert_or_assign(name, e);
        return nullptr;
    }
}

BasicError LogicalOpenError(const std::string& name, std::string source) {
    const auto failure = ReadFailures().find(name);
    if (failure != ReadFailures().end()) return failure->second;
    return BasicError(err::kFile, std::move(source), "File not Found: \"" + name + "\"");
}

std::shared_ptr<cLogicalFile> iPhysLogicalOpen(std::string& path, std::string_view file_type,
                                               int32_t record_length, int32_t& last_record) {
    bool opened = false;
    const auto file = iOpenFile(path, &opened);
    if (!file) return nullptr;
    if (last_record == 0) {
        if (record_length == 0) RaisePlatform(err::kDivisionByZero, "iPhysLogicalOpen");
        // Opened just now, the length of the open serves; a file held open since an earlier
        // load is asked again, as another program may have written to it meanwhile.
        int64_t length = file->handle->OpenedLength();
        if (!opened) {
            if (const int e = file->handle->Length(length); e != 0)
                throw ReadFailure(e, "iPhysLogicalOpen", path);
        }
        last_record = CheckedPosition(length / record_length - 1, "iPhysLogicalOpen");
    }
    if (!mLogicalFiles) RaisePlatform(err::kNoObject, "iPhysLogicalOpen");
    return mLogicalFiles->Add(path, std::string(file_type), file, 0, 0, record_length, last_record,
                              "");
}

void CheckRecordNumber(const cLogicalFile& file, int32_t record, const char* source) {
    CheckRecord(file, record, source);
}

std::string iLreadFile(const std::shared_ptr<cLogicalFile>& file, int32_t record) {
    if (!file) throw BasicError(err::kFile, "iLreadFile", "LogicalFile parameter is undefined");
    CheckRecord(*file, record, "iLreadFile");
    return iReadFile(file->OpenFile, file->RecordLength,
                     RecordPosition(*file, record, "iLreadFile"), LogicalExtent(*file));
}

std::string_view iLreadFileView(const std::shared_ptr<cLogicalFile>& file, int32_t record,
                                std::string& scratch) {
    if (!file) throw BasicError(err::kFile, "iLreadFile", "LogicalFile parameter is undefined");
    CheckRecord(*file, record, "iLreadFile");
    return iReadFileView(file->OpenFile, file->RecordLength,
                         RecordPosition(*file, record, "iLreadFile"), LogicalExtent(*file),
                         scratch);
}

FileExtent LogicalExtent(const cLogicalFile& file) {
    const int64_t unit = file.FileType == "I" ? kBlockSize : file.RecordLength;
    if (unit <= 0 || file.LastRecord < 0 || file.Position < 0) return {};
    const int64_t start = static_cast<int64_t>(file.Position) * kBlockSize;
    return {start, start + (static_cast<int64_t>(file.LastRecord) + 1) * unit};
}

void iLwriteFile(const std::shared_ptr<cLogicalFile>& file, int32_t record,
                 const std::string& data) {
    if (!file) throw BasicError(err::kFile, "iLwriteFile", "LogicalFile parameter is undefined");
    CheckRecord(*file, record, "iLwriteFile");
    const int64_t size = static_cast<int64_t>(data.size());
    if (size != file->RecordLength) {
        throw BasicError(err::kBadRecordLength, "iLwriteFile",
                         "Illegal Data length for this record.  Size is: " + NumText(size) +
                             " and should be " + NumText(file->RecordLength));
    }
    iWriteFile(file->OpenFile, data, RecordPosition(*file, record, "iLwriteFile"));
}

void iInitFile(const std::shared_ptr<cLogicalFile>& file, int32_t key_length, int16_t header_value,
               int32_t fill) {
    if (!file) throw BasicError(err::kFile, "iLwriteFile", "LogicalFile parameter is undefined");
    if (file->FileType == "I") {
        const int32_t entry_size = key_length + 4;
        if (entry_size == 0) RaisePlatform(err::kDivisionByZero, "iInitFile");
        const int32_t per_node = 508 / entry_size;
        std::string header(kBlockSize, '\0');
        Pack("C", header, entry_size, 1);
        Pack("C", header, per_node, 3);
        Pack("C", header, file->LastRecord, 5);
        Pack("C", header, 2, 7);
        Pack("C", header, 1, 9);  // the root: node 1
        Pack("C", header, fill / 100 * per_node, 11);
        Pack("C", header, header_value, 13);
        iWriteFile(file->OpenFile, header, BlockPosition(file->Position, "iInitFile"));
        // Node 1: a leaf with the end marker alone (all 0xFF key, pointer -1, next leaf 65535).
        std::string root(kBlockSize, '\xFF');
        Pack("C", root, 1, 1);
        iWriteFile(file->OpenFile, root,
                   BlockPosition(static_cast<int64_t>(file->Position) + 1, "iInitFile"));
    } else if (file->FileType == "L") {
        std::string zero(kBlockSize, '\0');
        Pack("J", zero, -2, 1);
        Pack("L", zero, -1, kFreeHeadAt);
        iWriteFile(file->OpenFile, zero, BlockPosition(file->Position, "iInitFile"));
        const std::string empty(static_cast<size_t>(std::max(file->RecordLength, 0)), '\0');
        for (int32_t r = 1; r <= file->LastRecord; ++r) iLwriteFile(file, r, empty);
    }
}

void iDelRec(const std::shared_ptr<cLogicalFile>& file, int32_t record) {
    if (!file) RaisePlatform(err::kNoObject, "DelRec");
    std::string header = ReadHeader(*file, "DelRec");
    const int32_t free_head = Unpack("L", header, kFreeHeadAt);
    const int32_t active = Unpack("L", header, kActiveAt);
    const std::string current = iLreadFile(file, record);
    if (Unpack("J", current, 1) <= 0)
        throw BasicError(err::kRecordNumber, "DelRec", "Attempt to delete a deleted record");
    std::string deleted(current.size(), '\0');
    Pack("L", deleted, free_head, kFreeHeadAt);
    iLwriteFile(file, record, deleted);
    Pack("L", header, record, kFreeHeadAt);
    Pack("L", header, std::max(0, active - 1), kActiveAt);
    iWriteFile(file->OpenFile, header, BlockPosition(file->Position, "DelRec"));
}

void iGetRec(const std::shared_ptr<cLogicalFile>& file, int32_t& /*record*/) {
    if (!file) RaisePlatform(err::kNoObject, "iGetRec");
    // The lock on record zero is never granted, so nothing is ever read or written here.
    if (iLogicalLock(file, 0) <= 0) {
        throw BasicError(err::kLock, "iGetRec",
                         "Could not obtain a Lock on Record Zero of " + file->FileName);
    }
}

int32_t iLogicalLock(const std::shared_ptr<cLogicalFile>& file, int32_t record) {
    if (!file) RaisePlatform(err::kNoObject, "iLogicalLock");
    RecordPosition(*file, record, "iLogicalLock");  // the lock primitive takes no lock
    return 0;
}

int32_t iPhysicalLock(int32_t /*a*/, int32_t /*b*/, int32_t /*c*/) {
    return 0;
}

int32_t iReleaseLock(int32_t value) {
    frmPTSDetail::EmptyProc(value);
    return 0;
}

int32_t cLogicalFile::ActiveCount() const {
    if (!OpenFile || !OpenFile->handle || FileType != "L") return 0;
    return Unpack("L", ReadHeader(*this, "ActiveCount"), kActiveAt);
}

int32_t cLogicalFile::HighUsedRecord() const {
    if (!OpenFile || !OpenFile->handle || FileType != "L") return 0;
    return Unpack("L", ReadHeader(*this, "HighUsedRecord"), kHighUsedAt);
}

}  // namespace dv
