#include "parts/joined_files.h"

#include <utility>

#include "engine/error.h"
#include "engine/logical.h"

namespace dv {

JoinedFiles::JoinedFiles(std::string name, std::string extension_name)
    : name_(std::move(name)), extension_name_(std::move(extension_name)) {
    if (cBusinessBasic* engine = mBusinessBasic.get()) {
        file_ = engine->LogicalOpen(std::string(name_));
        extension_ = engine->LogicalOpen(std::string(extension_name_));
    }
}

std::string JoinedFiles::Read(int32_t record_number, const char* source, const char* range_text,
                              int16_t& flag) const {
    cBusinessBasic* engine = mBusinessBasic.get();
    if (!file_ || engine == nullptr) throw LogicalOpenError(name_, source);
    if (record_number > file_->LastRecord || record_number < 1)
        throw BasicError(err::kRecordNumber, source, range_text);
    if (!extension_) throw LogicalOpenError(extension_name_, source);
    std::string joined = engine->LreadFile(file_, record_number, flag);
    joined += engine->LreadFile(extension_, record_number, flag);
    return joined;
}

}  // namespace dv
