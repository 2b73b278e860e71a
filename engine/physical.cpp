#include "engine/physical.h"

#include <cerrno>
#include <limits>

#include "engine/error.h"
#include "engine/system.h"
#include "platform/fetch_pool.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/smb.h"

namespace dv {
namespace {

// File numbers in use, as the platform hands them out: the lowest free number from 1 to 511.
// A plain array, so that files closed while the program exits still find it in place.
constexpr int32_t kLastFileNumber = 511;
bool g_used_numbers[kLastFileNumber + 1] = {};

bool g_writes_allowed = false;
ReadStats g_stats;

int32_t AllocateFileNumber(const char* source) {
    for (int32_t n = 1; n <= kLastFileNumber; ++n) {
        if (!g_used_numbers[n]) {
            g_used_numbers[n] = true;
            return n;
        }
    }
    RaisePlatform(err::kTooManyFiles, source);
}

void FreeFileNumber(int32_t n) {
    if (n >= 1 && n <= kLastFileNumber) g_used_numbers[n] = false;
}

void RaiseErrno(int e, const char* source) {
    RaisePlatform(ErrorNumberOfErrno(e), source);
}

void RefuseUnlessAllowed(const cOpenFile& file, const char* source) {
    if (g_writes_allowed) {
        FillCache::Drop();  // what the fill kept may be what is written now
        return;
    }
    throw BasicError(err::kPathFileAccess, source,
                     "Path/File access error: the dealer's files are opened read-only and "
                     "writing is not enabled: " +
                         file.Path);
}

// Writes data at offset through the file's writer, opening it on first use.
void WriteAt(cOpenFile& file, int64_t offset, const std::string& data, const char* source) {
    RefuseUnlessAllowed(file, source);
    if (!file.handle) RaisePlatform(err::kBadFileNumber, source);
    if (!file.writer) {
        int e = 0;
        file.writer = platform::WritableFile::Open(LocalOrEmpty(file.Path), &e);
        if (!file.writer) throw OpenFailure(e, source, file.Path);
    }
    if (const int e = file.writer->WriteAt(offset, data); e != 0) RaiseErrno(e, source);
}

}  // namespace

std::string CompletePath(std::string_view path) {
    if (path.find('\\') != std::string_view::npos) return std::string(path);
    if (!mSystem) RaisePlatform(err::kNoObject, "iOpenFile");
    return "\\\\" + mSystem->mUNCDrive + "\\TMARLNK\\" + mSystem->mDirectory + "\\" +
           std::string(path);
}

std::string LocalOrEmpty(std::string_view share_path) {
    auto local = platform::LocalPath(share_path);
    return local ? *local : std::string();
}

std::shared_ptr<platform::ReadOnlyFile> OpenShareFile(std::string_view share_path, int* error,
                                                      std::string* tried) {
    const auto local = platform::LocalPath(share_path);
    const auto share = platform::ShareFolder(share_path);
    if (!local || !share) {
        if (error != nullptr) *error = ENOENT;
        return nullptr;
    }
    int e = 0;
    auto file = platform::ReadOnlyFile::Open(*local, &e, *share);
    if (tried != nullptr) *tried = *local;
    // Not there as written: the folders on the way are listed (once a load) for the name in
    // another letter case.
    if (!file && IsMissingFile(e)) {
        if (const auto listed = platform::OtherCasePath(share_path, *local)) {
            file = platform::ReadOnlyFile::Open(*listed, &e, *share);
            if (tried != nullptr) *tried = *listed;
        }
    }
    if (error != nullptr) *error = e;
    return file;
}

WholeShareFile ReadShareFileWhole(std::string_view share_path, size_t limit, const char* source) {
    WholeShareFile out;
    const auto local = platform::LocalPath(share_path);
    const auto share = platform::ShareFolder(share_path);
    if (!local || !share) {
        out.error = ENOENT;
        return out;
    }
    // Over SMB the length comes from the folder's listing, and the read stops there.
    const std::unique_ptr<platform::FileFetcher> fetcher = platform::MakeSmbFetcher();
    auto request = [&](const std::string& at) {
        platform::FetchRequest r{at, *share, limit};
        if (const auto entry = platform::ListedEntry(at);
            entry && entry->kind == platform::RemoteEntry::Kind::kFile)
            r.listed_length = entry->size;
        return r;
    };
    std::string path = *local;
    platform::FetchedFile fetched = fetcher->Fetch(request(path));
    if (fetched.outcome == platform::FetchedFile::Outcome::kFailed && !fetched.read_error &&
        IsMissingFile(fetched.error)) {
        // Not there as written: the name in another letter case.
        if (auto listed = platform::OtherCasePath(share_path, path)) {
            path = std::move(*listed);
            fetched = fetcher->Fetch(request(path));
        }
    }
    switch (fetched.outcome) {
        case platform::FetchedFile::Outcome::kRead:
            ++g_stats.reads;
            g_stats.bytes += fetched.bytes.size();
            out.bytes = std::move(fetched.bytes);
            break;
        case platform::FetchedFile::Outcome::kTooLarge:
            out.too_large = true;
            break;
        case platform::FetchedFile::Outcome::kFailed:
            if (fetched.read_error) throw ReadFailure(fetched.error, source, path);
            out.error = fetched.error;
            break;
        case platform::FetchedFile::Outcome::kNotFetched:
            out.error = EIO;
            break;
    }
    out.local = std::move(path);
    return out;
}

bool IsMissingFile(int error) {
    return error == ENOENT || error == ENOTDIR || error == ELOOP || error == ENAMETOOLONG;
}

int32_t CheckedPosition(int64_t position, const char* source) {
    if (position > std::numeric_limits<int32_t>::max() ||
        position < std::numeric_limits<int32_t>::min())
        RaisePlatform(err::kOverflow, source);
    return static_cast<int32_t>(position);
}

int32_t BlockPosition(int64_t block, const char* source) {
    return CheckedPosition(block * kBlockSize, source);
}

std::shared_ptr<cOpenFile> iOpenFile(std::string& path, bool* opened) {
    if (opened != nullptr) *opened = false;
    path = CompletePath(path);
    if (!mOpenFiles) RaisePlatform(err::kNoObject, "iOpenFile");
    if (auto listed = mOpenFiles->Find(path)) return listed;
    const int32_t number = AllocateFileNumber("iOpenFile");
    int e = 0;
    std::string tried;
    auto handle = OpenShareFile(path, &e, &tried);
    if (!handle) {
        FreeFileNumber(number);
        // Not there as an ordinary file: none, and nothing is reported.
        if (IsMissingFile(e)) return nullptr;
        throw OpenFailure(e, "iOpenFile", path, tried);
    }
    std::shared_ptr<cOpenFile> file;
    try {
        file = mOpenFiles->Add(number, path, 0, path);
    } catch (...) {
        FreeFileNumber(number);
        throw;
    }
    file->handle = std::move(handle);
    if (opened != nullptr) *opened = true;
    return file;
}

std::string ReadCounted(const platform::ReadOnlyFile& file, int64_t offset, size_t length,
                        const char* source) {
    std::string out;
    if (const int e = file.ReadAt(offset, length, out); e != 0)
        throw ReadFailure(e, source, file.local_path());
    ++g_stats.reads;
    g_stats.bytes += length;
    return out;
}

void ReadCountedInto(const platform::ReadOnlyFile& file, int64_t offset, size_t length, char* out,
                     const char* source) {
    if (const int e = file.ReadInto(offset, length, out); e != 0)
        throw ReadFailure(e, source, file.local_path());
    ++g_stats.reads;
    g_stats.bytes += length;
}

std::optional<std::string> ReadWholeWithin(const platform::ReadOnlyFile& file, int64_t limit,
                                           const char* source) {
    const int64_t length = file.OpenedLength();
    if (length > limit) return std::nullopt;
    return length > 0 ? ReadCounted(file, 0, static_cast<size_t>(length), source) : std::string();
}

namespace {

// The checks of a read of length bytes at position; false when there is nothing to read.
bool CheckRead(const std::shared_ptr<cOpenFile>& file, int32_t length, int32_t position) {
    if (!file) RaisePlatform(err::kNoObject, "iReadFile");
    if (length < 0) RaisePlatform(err::kInvalidArgument, "iReadFile");
    if (position < 0) RaisePlatform(err::kBadRecordNumber, "iReadFile");
    if (!file->handle) RaisePlatform(err::kBadFileNumber, "iReadFile");
    if (length == 0) return false;
    // Bytes the file does not hold are no zeros but damage: a container or document cut short,
    // a record or node past its real end. Measured again before it fails, as another program
    // may have written to the file since it was opened.
    const int64_t end = static_cast<int64_t>(position) + length;
    if (end > file->handle->OpenedLength()) {
        int64_t now = 0;
        if (file->handle->Length(now) != 0 || end > now) {
            throw BasicError(err::kShortFile, "iReadFile",
                             "File " + file->Path + " ends at byte " +
                                 std::to_string(file->handle->OpenedLength()) +
                                 ": it holds no bytes " + std::to_string(position) + " to " +
                                 std::to_string(end - 1));
        }
    }
    return true;
}

}  // namespace

std::string iReadFile(const std::shared_ptr<cOpenFile>& file, int32_t length, int32_t position,
                      const FileExtent& extent) {
    if (!CheckRead(file, length, position)) return {};
    return CachedRead(*file, position, static_cast<size_t>(length), extent, "iReadFile");
}

std::string_view iReadFileView(const std::shared_ptr<cOpenFile>& file, int32_t length,
                               int32_t position, const FileExtent& extent, std::string& scratch) {
    if (!CheckRead(file, length, position)) return {};
    return CachedReadView(*file, position, static_cast<size_t>(length), extent, "iReadFile",
                          scratch);
}

std::string iBlockReadFile(const std::shared_ptr<cOpenFile>& file, int32_t block) {
    const int32_t position = BlockPosition(block, "iBlockReadFile");
    if (!file) RaisePlatform(err::kNoObject, "iBlockReadFile");
    return iReadFile(file, kBlockSize, position);
}

void iBlockReadRunAhead(const std::shared_ptr<cOpenFile>& file, int32_t first, int32_t last) {
    if (!file || !file->handle || first < 0 || last < first) return;
    const int32_t position = BlockPosition(first, "iBlockReadFile");
    const int64_t length = (static_cast<int64_t>(last) - first + 1) * kBlockSize;
    ReadRunAhead(*file, position, static_cast<size_t>(length), "iBlockReadFile");
}

void iWriteFile(const std::shared_ptr<cOpenFile>& file, const std::string& data, int32_t position) {
    if (!file) throw BasicError(err::kFile, "iwriteFile", "OpenFile parameter is undefined");
    RefuseUnlessAllowed(*file, "iwriteFile");
    if (position > -1) file->Position = position;
    WriteAt(*file, file->Position, data, "iwriteFile");
}

void iBlockWriteFile(const std::shared_ptr<cOpenFile>& file, int32_t block,
                     const std::string& data) {
    const int32_t position = BlockPosition(block, "iBlockWriteFile");
    if (!file) RaisePlatform(err::kNoObject, "iBlockWriteFile");
    if (position < 0) RaisePlatform(err::kBadRecordNumber, "iBlockWriteFile");
    WriteAt(*file, position, data, "iBlockWriteFile");
}

void iCloseFile(const std::string& path) {
    if (!mOpenFiles) return;
    const std::shared_ptr<cOpenFile> file = mOpenFiles->Find(path);
    if (!file) return;
    CloseHandles(*file);
    mOpenFiles->Remove(file->Path);
}

void CloseHandles(cOpenFile& file) noexcept {
    if (file.handle) FreeFileNumber(file.vbFileNumber);
    file.writer.reset();
    file.handle.reset();
}

void SetWritesAllowed(bool allowed) {
    g_writes_allowed = allowed;
}
bool WritesAllowed() {
    return g_writes_allowed;
}

ReadStats EngineReadStats() {
    return g_stats;
}
void ResetEngineReadStats() {
    g_stats = ReadStats{};
}

}  // namespace dv
