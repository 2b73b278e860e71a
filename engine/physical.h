// Physical files and blocks: the engine's only contact with the files of the data set. A file
// is opened once (read-only) and kept in the open-file table; every read is one positioned
// read straight from the file, and nothing is cached.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/fill_cache.h"
#include "engine/tables.h"

namespace dv {

// A bare name (no backslash) completed to \\server\TMARLNK\directory\name; anything else as
// it stands.
std::string CompletePath(std::string_view path);

// Finds path in the open-file table or opens it read-only and lists it; a bare name comes back
// completed in the argument. None when no ordinary file of that path exists (IsMissingFile).
// *opened, when given, tells whether this call opened the file (false: it was listed).
std::shared_ptr<cOpenFile> iOpenFile(std::string& path, bool* opened = nullptr);
// Exactly length bytes from byte position (0-based); bytes past the end of the file read as 0.
// Inside a fill the read goes through the fill's cache (fill_cache.h); extent names the logical
// file the bytes belong to, when they belong to one.
std::string iReadFile(const std::shared_ptr<cOpenFile>& file, int32_t length, int32_t position,
                      const FileExtent& extent = {});
// The same read seen in place (CachedReadView): valid until the next read, and while scratch
// lives.
std::string_view iReadFileView(const std::shared_ptr<cOpenFile>& file, int32_t length,
                               int32_t position, const FileExtent& extent, std::string& scratch);
// The 512 bytes of block number block.
std::string iBlockReadFile(const std::shared_ptr<cOpenFile>& file, int32_t block);
// Inside a fill, reads blocks first to last in one read for the reads of them that follow
// (ReadRunAhead); nothing outside a fill.
void iBlockReadRunAhead(const std::shared_ptr<cOpenFile>& file, int32_t first, int32_t last);
// Writes data at position, or at the file's kept Position when position is -1.
void iWriteFile(const std::shared_ptr<cOpenFile>& file, const std::string& data, int32_t position);
void iBlockWriteFile(const std::shared_ptr<cOpenFile>& file, int32_t block,
                     const std::string& data);
// Closes the listed file of that path and removes its entry; nothing when it is not listed.
void iCloseFile(const std::string& path);

// Closes a file's handles and frees its file number (the open-file table's release uses it).
void CloseHandles(cOpenFile& file) noexcept;

// The byte position of block `block` of a file, or error 6 from `source` when it does not fit
// in a signed 32-bit integer.
int32_t BlockPosition(int64_t block, const char* source);
// A byte position computed in 64 bits, or error 6 from `source` when it does not fit.
int32_t CheckedPosition(int64_t position, const char* source);

// The program-wide write switch, off unless a test turns it on. While it is off every write
// member fails with error 75 and no file is ever opened for writing.
void SetWritesAllowed(bool allowed);
bool WritesAllowed();

// The engine's read counter: every read of a dealer file goes through it.
struct ReadStats {
    uint64_t reads = 0;
    uint64_t bytes = 0;
};
ReadStats EngineReadStats();
void ResetEngineReadStats();

// Reads length bytes at offset from an open handle, counting the read; a failed read raises
// the platform error that matches it, from `source`.
std::string ReadCounted(const platform::ReadOnlyFile& file, int64_t offset, size_t length,
                        const char* source);
// The same read into length bytes at out (left as they were before: no clearing first).
void ReadCountedInto(const platform::ReadOnlyFile& file, int64_t offset, size_t length, char* out,
                     const char* source);
// The whole of an open file in one counted read, its length the one its open took (no further
// call); nothing, and nothing read, when it is longer than limit bytes. A failed read raises the
// platform error that matches it, from `source`.
std::optional<std::string> ReadWholeWithin(const platform::ReadOnlyFile& file, int64_t limit,
                                           const char* source);
// The local path of a share path, or nothing when it maps to none.
std::string LocalOrEmpty(std::string_view share_path);
// Opens a file of the share read-only (platform::ReadOnlyFile::Open: an ordinary file only,
// never waiting on a FIFO or a device, and lying inside its share folder \\SERVER\SHARE even
// when symbolic links lead elsewhere); null with *error set otherwise, ENOENT when the path is
// no share path or the file lies outside its share. *tried, when given, is the local path the
// last open went to (for the reason of a failure).
std::shared_ptr<platform::ReadOnlyFile> OpenShareFile(std::string_view share_path, int* error,
                                                      std::string* tried = nullptr);
// A whole file of the share read without asking its length: open, one read of up to limit + 1
// bytes, close (platform/fetch_pool.h's local fetch), with the checks of OpenShareFile and its
// search for the name in another letter case. error is the open's errno (0 when it opened);
// too_large when the file is longer than limit (nothing kept). A failed read raises the platform
// error that matches it, from source. local is the local path the last try went to.
struct WholeShareFile {
    int error = 0;
    bool too_large = false;
    std::string bytes;
    std::string local;
};
WholeShareFile ReadShareFileWhole(std::string_view share_path, size_t limit, const char* source);
// True for the errors of an open that mean "no such ordinary file" rather than "it is there
// but can't be opened": the caller's not-found path.
bool IsMissingFile(int error);

}  // namespace dv
