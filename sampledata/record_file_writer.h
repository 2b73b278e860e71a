// A record file being built: fixed-length records numbered from 1, behind record zero, the
// file's header (status word, free chain, highest used record, active count).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sampledata/record_builder.h"

namespace dv::sample {

class RecordFileWriter {
  public:
    RecordFileWriter(std::string name, int32_t record_length);

    const std::string& name() const { return name_; }
    int32_t record_length() const { return record_length_; }

    // A blank record of this file's length, to fill field by field and pass to Add.
    RecordBuilder NewRecord() const { return RecordBuilder(static_cast<size_t>(record_length_)); }

    // Appends a record and returns its number. Its length must be the file's record length; its
    // status word (bytes 1-2, signed) above 0 counts it as active.
    int32_t Add(std::string_view record);
    int32_t Add(const RecordBuilder& record) { return Add(record.bytes()); }
    // Appends a deleted record: zero bytes with the previous head of the free chain in bytes
    // 3-6; it becomes the head. Returns its number.
    int32_t AddDeleted();
    // Replaces record n (1 to Count()) with bytes of the record length.
    void Set(int32_t record, std::string_view bytes);
    const std::string& Get(int32_t record) const;

    // Unused zero records after the last one written; LastRecord = Count() + spare.
    RecordFileWriter& Spare(int32_t records);

    int32_t Count() const { return static_cast<int32_t>(records_.size()); }
    int32_t LastRecord() const { return Count() + spare_; }
    int32_t ActiveCount() const;
    int32_t FreeHead() const { return free_head_; }

    // The file's bytes from record zero to LastRecord: (LastRecord + 1) x record length, and at
    // least the 16 header bytes. With records shorter than 16 bytes, records 1 and up lie over
    // the end of the header, as they do in the dealer's own files.
    std::string Bytes() const;

  private:
    std::string name_;
    int32_t record_length_;
    int32_t spare_ = 0;
    int32_t free_head_ = -1;
    std::vector<std::string> records_;
};

}  // namespace dv::sample
