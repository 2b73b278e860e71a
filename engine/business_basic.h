// cBusinessBasic: the one class through which the program uses the data-file engine. It has no
// state of its own; the tables, the system object and the alphabet are program-wide, so every
// engine object works on the same state.
//
// File arguments: members on a physical file take a cOpenFile or a path (a bare name is a file
// of the data directory); members on a logical file take a cLogicalFile or a logical name. The
// last argument of every member that reads or writes a file is a flag the caller owns; every
// read or write sets it to 0 and it has no other effect.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dates.h"
#include "engine/system.h"
#include "engine/tables.h"

namespace dv {

using OpenFileRef = std::shared_ptr<cOpenFile>;
using LogicalFileRef = std::shared_ptr<cLogicalFile>;

class cBusinessBasic {
  public:
    // Creation: resets the alphabet, checks the share, finds this computer's name, address and
    // terminal number, and builds the three tables afresh. Raises on failure.
    cBusinessBasic();
    // Release: drops the open-file table (closing every file), the link table, the system
    // object and the logical-file table, for every engine object.
    ~cBusinessBasic();
    cBusinessBasic(const cBusinessBasic&) = delete;
    cBusinessBasic& operator=(const cBusinessBasic&) = delete;

    // The program-wide write switch, off by default and never turned on by the program: the
    // dealer's files are opened read-only, and while the switch is off every write member
    // (WriteFile, BlockWriteFile, LwriteFile, InitFile, DelRec) fails with error 75 without
    // opening anything for writing. Tests turn it on for files of their own.
    static void AllowWrites(bool allowed);
    static bool WritesAllowed();

    int32_t Unpack(std::string_view code, std::string_view data, int32_t position);
    void Pack(std::string_view code, std::string& data, int32_t value, int32_t position);
    void PackDate(std::string_view code, std::string& data, int32_t position, const Date& date);
    Date UnPackDate(std::string_view code, std::string_view data, int32_t position);
    std::string Crm(std::string& text);
    int32_t Max(int32_t a, int32_t b);
    int32_t Min(int32_t a, int32_t b);
    std::string Ucm(std::string& packed);
    void StrPos(int32_t& position, std::string_view text, std::string_view sought);
    std::string Trun(std::string_view text, int32_t mode);

    std::string ReadFile(const OpenFileRef& file, int32_t length, int32_t position, int16_t& flag);
    std::string ReadFile(std::string path, int32_t length, int32_t position, int16_t& flag);
    void WriteFile(const OpenFileRef& file, const std::string& data, int32_t position,
                   int16_t& flag);
    void WriteFile(std::string path, const std::string& data, int32_t position, int16_t& flag);
    std::string BlockReadFile(const OpenFileRef& file, int32_t block, int16_t& flag);
    std::string BlockReadFile(std::string path, int32_t block, int16_t& flag);
    // Inside a view's load, reads blocks first to last of the file in one read, so that the
    // block reads of that run which follow cost no further call (nothing outside a load).
    void BlockReadRunAhead(std::string path, int32_t first, int32_t last);
    void BlockWriteFile(const OpenFileRef& file, int32_t block, const std::string& data,
                        int16_t& flag);
    void BlockWriteFile(std::string path, int32_t block, const std::string& data, int16_t& flag);
    // Opens (or finds) a physical file; a bare name comes back completed to its full path.
    OpenFileRef OpenFile(std::string& path);
    OpenFileRef OpenFile(std::string&& path) { return OpenFile(path); }
    int32_t KLength(const LogicalFileRef& file, int16_t& flag);
    int32_t KLength(const std::string& name, int16_t& flag);
    void CloseFile(const OpenFileRef& file);
    void CloseFile(std::string path);
    LogicalFileRef LogicalOpen(std::string& name);
    LogicalFileRef LogicalOpen(std::string&& name) { return LogicalOpen(name); }
    LogicalFileRef PhysLogicalOpen(std::string& path, std::string_view file_type,
                                   int32_t record_length, int32_t& last_record);
    // The same for a last record given as a value (0: worked out from the file length).
    LogicalFileRef PhysLogicalOpen(std::string& path, std::string_view file_type,
                                   int32_t record_length, int32_t&& last_record) {
        return PhysLogicalOpen(path, file_type, record_length, last_record);
    }
    LogicalFileRef PhysLogicalOpen(std::string&& path, std::string_view file_type,
                                   int32_t record_length, int32_t&& last_record) {
        return PhysLogicalOpen(path, file_type, record_length, last_record);
    }
    std::string LreadFile(const LogicalFileRef& file, int32_t record, int16_t& flag);
    std::string LreadFile(const std::string& name, int32_t record, int16_t& flag);
    // The record seen in place: valid until the next read (iLreadFileView).
    std::string_view LreadFileView(const std::string& name, int32_t record, std::string& scratch);
    void LwriteFile(const LogicalFileRef& file, int32_t record, const std::string& data,
                    int16_t& flag);
    void LwriteFile(const std::string& name, int32_t record, const std::string& data,
                    int16_t& flag);
    int32_t KCount(const LogicalFileRef& file, int16_t& flag);
    int32_t KCount(const std::string& name, int16_t& flag);
    std::shared_ptr<cSystem> OrleSys();
    Date Now();
    int32_t PhysicalLock(int32_t a, int32_t b, int32_t c);
    int32_t LogicalLock(const LogicalFileRef& file, int32_t record);
    int32_t LogicalLock(const std::string& name, int32_t record);
    int32_t ReleaseLock(int32_t value);
    void DelRec(const LogicalFileRef& file, int32_t record, int16_t& flag);
    void DelRec(const std::string& name, int32_t record, int16_t& flag);
    void GetRec(const LogicalFileRef& file, int32_t& record, int16_t& flag);
    void GetRec(const std::string& name, int32_t& record, int16_t& flag);
    void InitFile(const LogicalFileRef& file, int32_t key_length, int16_t header_value,
                  int32_t fill, int16_t& flag);
    void InitFile(const std::string& name, int32_t key_length, int16_t header_value, int32_t fill,
                  int16_t& flag);
    void KFind(const LogicalFileRef& file, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    void KFind(const std::string& name, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    void KLast(const LogicalFileRef& file, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    void KLast(const std::string& name, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    void KNext(const LogicalFileRef& file, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    void KNext(const std::string& name, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    void KPrev(const LogicalFileRef& file, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    void KPrev(const std::string& name, std::string& cursor, std::string& key, int32_t& record,
               int16_t& flag);
    std::vector<std::string> Split(std::string_view text, std::string_view delimiter, int32_t limit,
                                   int32_t compare);
    int32_t Sys(int32_t code);
    void Stma(int32_t mode, StmaArgs& args);
};

// The global engine object every subsystem uses; empty until LoadCatalogSettings created it,
// and empty when that failed.
extern std::shared_ptr<cBusinessBasic> mBusinessBasic;

// The global engine object; error 91 (no object) from source when there is none.
cBusinessBasic& RequireEngine(const char* source);

// Reads tMRCatalog.ini from the temporary directory into mEpcInfo and mSystem, and creates the
// global engine object.
void LoadCatalogSettings();

}  // namespace dv
