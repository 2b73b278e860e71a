#include "engine/business_basic.h"

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index.h"
#include "engine/logical.h"
#include "engine/packed_text.h"
#include "engine/physical.h"

namespace dv {
namespace {

// A logical file argument given by name: the listed or newly resolved file, else -10.
LogicalFileRef ByName(const std::string& name) {
    LogicalFileRef file = iLogicalOpen(name);
    if (!file) throw LogicalOpenError(name);
    return file;
}

// A physical file argument given by path: the open or newly opened file, or none.
OpenFileRef ByPath(std::string path) {
    return iOpenFile(path);
}

}  // namespace

int32_t cBusinessBasic::Unpack(std::string_view code, std::string_view data, int32_t position) {
    return dv::Unpack(code, data, position);
}
void cBusinessBasic::Pack(std::string_view code, std::string& data, int32_t value,
                          int32_t position) {
    dv::Pack(code, data, value, position);
}
void cBusinessBasic::PackDate(std::string_view code, std::string& data, int32_t position,
                              const Date& date) {
    dv::PackDate(code, data, position, date);
}
Date cBusinessBasic::UnPackDate(std::string_view code, std::string_view data, int32_t position) {
    return dv::UnPackDate(code, data, position);
}
std::string cBusinessBasic::Crm(std::string& text) {
    return dv::Crm(text);
}
int32_t cBusinessBasic::Max(int32_t a, int32_t b) {
    return dv::Max(a, b);
}
int32_t cBusinessBasic::Min(int32_t a, int32_t b) {
    return dv::Min(a, b);
}
std::string cBusinessBasic::Ucm(std::string& packed) {
    return dv::Ucm(packed);
}
void cBusinessBasic::StrPos(int32_t& position, std::string_view text, std::string_view sought) {
    dv::StrPos(position, text, sought);
}
std::string cBusinessBasic::Trun(std::string_view text, int32_t mode) {
    return dv::Trun(text, mode);
}

std::string cBusinessBasic::ReadFile(const OpenFileRef& file, int32_t length, int32_t position,
                                     int16_t& flag) {
    flag = 0;
    return iReadFile(file, length, position);
}
std::string cBusinessBasic::ReadFile(std::string path, int32_t length, int32_t position,
                                     int16_t& flag) {
    return ReadFile(ByPath(std::move(path)), length, position, flag);
}
void cBusinessBasic::WriteFile(const OpenFileRef& file, const std::string& data, int32_t position,
                               int16_t& flag) {
    flag = 0;
    iWriteFile(file, data, position);
}
void cBusinessBasic::WriteFile(std::string path, const std::string& data, int32_t position,
                               int16_t& flag) {
    WriteFile(ByPath(std::move(path)), data, position, flag);
}
std::string cBusinessBasic::BlockReadFile(const OpenFileRef& file, int32_t block, int16_t& flag) {
    flag = 0;
    return iBlockReadFile(file, block);
}
std::string cBusinessBasic::BlockReadFile(std::string path, int32_t block, int16_t& flag) {
    return BlockReadFile(ByPath(std::move(path)), block, flag);
}
void cBusinessBasic::BlockReadRunAhead(std::string path, int32_t first, int32_t last) {
    iBlockReadRunAhead(ByPath(std::move(path)), first, last);
}
void cBusinessBasic::BlockWriteFile(const OpenFileRef& file, int32_t block, const std::string& data,
                                    int16_t& flag) {
    flag = 0;
    iBlockWriteFile(file, block, data);
}
void cBusinessBasic::BlockWriteFile(std::string path, int32_t block, const std::string& data,
                                    int16_t& flag) {
    BlockWriteFile(ByPath(std::move(path)), block, data, flag);
}
OpenFileRef cBusinessBasic::OpenFile(std::string& path) {
    return iOpenFile(path);
}

int32_t cBusinessBasic::KLength(const LogicalFileRef& file, int16_t& flag) {
    flag = 0;
    return iKLength(file);
}
int32_t cBusinessBasic::KLength(const std::string& name, int16_t& flag) {
    return KLength(ByName(name), flag);
}

void cBusinessBasic::CloseFile(const OpenFileRef& file) {
    if (!file) RaisePlatform(err::kNoObject, "CloseFile");
    iCloseFile(file->Path);
}
void cBusinessBasic::CloseFile(std::string path) {
    CloseFile(ByPath(std::move(path)));
}

LogicalFileRef cBusinessBasic::LogicalOpen(std::string& name) {
    return iLogicalOpen(name);
}
LogicalFileRef cBusinessBasic::PhysLogicalOpen(std::string& path, std::string_view file_type,
                                               int32_t record_length, int32_t& last_record) {
    return iPhysLogicalOpen(path, file_type, record_length, last_record);
}

std::string cBusinessBasic::LreadFile(const LogicalFileRef& file, int32_t record, int16_t& flag) {
    flag = 0;
    return iLreadFile(file, record);
}
std::string cBusinessBasic::LreadFile(const std::string& name, int32_t record, int16_t& flag) {
    return LreadFile(ByName(name), record, flag);
}
std::string_view cBusinessBasic::LreadFileView(const std::string& name, int32_t record,
                                               std::string& scratch) {
    return iLreadFileView(ByName(name), record, scratch);
}
void cBusinessBasic::LwriteFile(const LogicalFileRef& file, int32_t record, const std::string& data,
                                int16_t& flag) {
    flag = 0;
    iLwriteFile(file, record, data);
}
void cBusinessBasic::LwriteFile(const std::string& name, int32_t record, const std::string& data,
                                int16_t& flag) {
    LwriteFile(ByName(name), record, data, flag);
}

int32_t cBusinessBasic::KCount(const LogicalFileRef& file, int16_t& flag) {
    flag = 0;
    return iKCount(file);
}
int32_t cBusinessBasic::KCount(const std::string& name, int16_t& flag) {
    return KCount(ByName(name), flag);
}

std::shared_ptr<cSystem> cBusinessBasic::OrleSys() {
    return mSystem;
}
Date cBusinessBasic::Now() {
    return dv::Now();
}

int32_t cBusinessBasic::PhysicalLock(int32_t a, int32_t b, int32_t c) {
    return iPhysicalLock(a, b, c);
}
int32_t cBusinessBasic::LogicalLock(const LogicalFileRef& file, int32_t record) {
    return iLogicalLock(file, record);
}
int32_t cBusinessBasic::LogicalLock(const std::string& name, int32_t record) {
    return LogicalLock(ByName(name), record);
}
int32_t cBusinessBasic::ReleaseLock(int32_t value) {
    return iReleaseLock(value);
}

void cBusinessBasic::DelRec(const LogicalFileRef& file, int32_t record, int16_t& flag) {
    flag = 0;
    iDelRec(file, record);
}
void cBusinessBasic::DelRec(const std::string& name, int32_t record, int16_t& flag) {
    DelRec(ByName(name), record, flag);
}
void cBusinessBasic::GetRec(const LogicalFileRef& file, int32_t& record, int16_t& flag) {
    flag = 0;
    iGetRec(file, record);
}
void cBusinessBasic::GetRec(const std::string& name, int32_t& record, int16_t& flag) {
    GetRec(ByName(name), record, flag);
}
void cBusinessBasic::InitFile(const LogicalFileRef& file, int32_t key_length, int16_t header_value,
                              int32_t fill, int16_t& flag) {
    flag = 0;
    iInitFile(file, key_length, header_value, fill);
}
void cBusinessBasic::InitFile(const std::string& name, int32_t key_length, int16_t header_value,
                              int32_t fill, int16_t& flag) {
    InitFile(ByName(name), key_length, header_value, fill, flag);
}

void cBusinessBasic::KFind(const LogicalFileRef& file, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    flag = 0;
    iKFind(file, cursor, key, record);
}
void cBusinessBasic::KFind(const std::string& name, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    KFind(ByName(name), cursor, key, record, flag);
}
void cBusinessBasic::KLast(const LogicalFileRef& file, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    flag = 0;
    iKLast(file, cursor, key, record);
}
void cBusinessBasic::KLast(const std::string& name, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    KLast(ByName(name), cursor, key, record, flag);
}
void cBusinessBasic::KNext(const LogicalFileRef& file, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    flag = 0;
    iKNext(file, cursor, key, record);
}
void cBusinessBasic::KNext(const std::string& name, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    KNext(ByName(name), cursor, key, record, flag);
}
void cBusinessBasic::KPrev(const LogicalFileRef& file, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    flag = 0;
    iKPrev(file, cursor, key, record);
}
void cBusinessBasic::KPrev(const std::string& name, std::string& cursor, std::string& key,
                           int32_t& record, int16_t& flag) {
    KPrev(ByName(name), cursor, key, record, flag);
}

std::vector<std::string> cBusinessBasic::Split(std::string_view text, std::string_view delimiter,
                                               int32_t limit, int32_t compare) {
    return dv::Split(text, delimiter, limit, compare);
}
int32_t cBusinessBasic::Sys(int32_t code) {
    return dv::Sys(code);
}
void cBusinessBasic::Stma(int32_t mode, StmaArgs& args) {
    dv::Stma(mode, args);
}

cBusinessBasic& RequireEngine(const char* source) {
    cBusinessBasic* engine = mBusinessBasic.get();
    if (engine == nullptr) RaisePlatform(err::kNoObject, source);
    return *engine;
}

}  // namespace dv
