// Logical files and records: a logical name resolved through the link table and a directory
// file into a run of records (or index nodes) inside a container, and records read by number.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/error.h"
#include "engine/fill_cache.h"
#include "engine/tables.h"

namespace dv {

// One 32-byte directory entry, decoded.
struct DirectoryEntry {
    std::string name;  // bytes 1-10, trailing NUL, tab, LF, CR and blanks removed
    std::string file_type;
    int32_t flags = 0;
    int32_t position = 0;
    int32_t record_length = 0;
    int32_t last_record = 0;
};
inline constexpr size_t kDirectoryEntrySize = 32;
// Decodes an entry of exactly 32 bytes.
DirectoryEntry DecodeDirectoryEntry(std::string_view entry);

// The listed logical file of that name, or a new one resolved and listed; none when the name
// can't be resolved (a directory file above kDirectoryFileLimit can't). Raises nothing. Each
// directory file is read whole, once, the first time a name is looked up in it; what it holds
// is kept until DropDirectoryScans, so a name it lacks is answered without reading it again.
std::shared_ptr<cLogicalFile> iLogicalOpen(const std::string& name);
// The error for a name whose last iLogicalOpen gave none: when its directory file or container
// exists but could not be opened or read, that error ("Could not open file: " or "Could not
// read file: ", the path and the reason); else -10 "File not Found: " and the name in double
// quotes, from source.
BasicError LogicalOpenError(const std::string& name, std::string source = "LogicalOpen");
// Forgets every directory file read so far, so that entries added since are found: on every
// engine creation and on Refresh.
void DropDirectoryScans();
// A plain file of fixed-length records as a new, unkeyed logical file; none when the file does
// not exist. last_record 0 is worked out from the file length (and handed back).
std::shared_ptr<cLogicalFile> iPhysLogicalOpen(std::string& path, std::string_view file_type,
                                               int32_t record_length, int32_t& last_record);
// Error 81 "Illegal Record Number for File: " from source unless record lies in 1 to the file's
// LastRecord: the check of every record read.
void CheckRecordNumber(const cLogicalFile& file, int32_t record, const char* source);
std::string iLreadFile(const std::shared_ptr<cLogicalFile>& file, int32_t record);
// The same record seen in place (iReadFileView): valid until the next read, and while scratch
// lives.
std::string_view iLreadFileView(const std::shared_ptr<cLogicalFile>& file, int32_t record,
                                std::string& scratch);
// True when a share path names one of the engine's own files: LINKSFILE, ttymap, FILE0 of the
// data directory, or a directory file or container a link of the link table names (compared
// as the share compares names: without regard to case, "." and empty components dropped).
// Such a file is never read as a document.
bool IsEngineFile(std::string_view path);
// The bytes of a logical file inside its container: record zero (an index's block 0) to its
// last record; unknown when the file's counts make no sense.
FileExtent LogicalExtent(const cLogicalFile& file);

// The write side; every write fails with error 75 unless writing is enabled.
void iLwriteFile(const std::shared_ptr<cLogicalFile>& file, int32_t record,
                 const std::string& data);
void iInitFile(const std::shared_ptr<cLogicalFile>& file, int32_t key_length, int16_t header_value,
               int32_t fill);
void iDelRec(const std::shared_ptr<cLogicalFile>& file, int32_t record);
void iGetRec(const std::shared_ptr<cLogicalFile>& file, int32_t& record);

// Lock members: no operation of the engine takes a lock; each returns 0.
int32_t iLogicalLock(const std::shared_ptr<cLogicalFile>& file, int32_t record);
int32_t iPhysicalLock(int32_t a, int32_t b, int32_t c);
int32_t iReleaseLock(int32_t value);

}  // namespace dv
