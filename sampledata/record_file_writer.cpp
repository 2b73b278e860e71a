#include "sampledata/record_file_writer.h"

#include <algorithm>
#include <stdexcept>

#include "sampledata/formats.h"

namespace dv::sample {
namespace {

int32_t StatusOf(const std::string& record) {
    if (record.size() < 2) return 0;
    return static_cast<int16_t>(GetBE(record, 1, 2));
}

}  // namespace

RecordFileWriter::RecordFileWriter(std::string name, int32_t record_length)
    : name_(std::move(name)), record_length_(record_length) {
    if (record_length_ < 1 || record_length_ > 0xFFFF)
        throw std::invalid_argument("record length of " + name_ + " must be 1 to 65535");
}

int32_t RecordFileWriter::Add(std::string_view record) {
    if (static_cast<int64_t>(record.size()) != record_length_)
        throw std::invalid_argument(name_ + ": a record of " + std::to_string(record.size()) +
                                    " bytes, the file's records are " +
                                    std::to_string(record_length_));
    records_.emplace_back(record);
    return Count();
}

int32_t RecordFileWriter::AddDeleted() {
    std::string r(static_cast<size_t>(record_length_), '\0');
    if (record_length_ >= 6) PutBE(r, 3, 4, free_head_);
    records_.push_back(std::move(r));
    free_head_ = Count();
    return Count();
}

void RecordFileWriter::Set(int32_t record, std::string_view bytes) {
    if (record < 1 || record > Count())
        throw std::out_of_range(name_ + ": no record " + std::to_string(record));
    if (static_cast<int64_t>(bytes.size()) != record_length_)
        throw std::invalid_argument(name_ + ": record length mismatch");
    records_[static_cast<size_t>(record - 1)] = std::string(bytes);
}

const std::string& RecordFileWriter::Get(int32_t record) const {
    if (record < 1 || record > Count())
        throw std::out_of_range(name_ + ": no record " + std::to_string(record));
    return records_[static_cast<size_t>(record - 1)];
}

RecordFileWriter& RecordFileWriter::Spare(int32_t records) {
    if (records < 0) throw std::invalid_argument("spare records must not be negative");
    spare_ = records;
    return *this;
}

int32_t RecordFileWriter::ActiveCount() const {
    return static_cast<int32_t>(std::count_if(
        records_.begin(), records_.end(), [](const std::string& r) { return StatusOf(r) > 0; }));
}

std::string RecordFileWriter::Bytes() const {
    const int64_t size = std::max<int64_t>(
        kRecordZeroSize, (static_cast<int64_t>(LastRecord()) + 1) * record_length_);
    if (size > kMaxFileBytes) throw std::length_error(name_ + " is too large for one container");
    std::string out(static_cast<size_t>(size), '\0');
    RecordZeroFields zero;
    zero.free_head = free_head_;
    zero.high_used = Count();
    zero.active_count = ActiveCount();
    out.replace(0, kRecordZeroSize, RecordZero(zero));
    size_t at = static_cast<size_t>(record_length_);
    for (const std::string& r : records_) {
        out.replace(at, r.size(), r);
        at += r.size();
    }
    return out;
}

}  // namespace dv::sample
