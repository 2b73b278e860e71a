// JoinedFiles: a record kept in two files under one record number, a file and its extension
// (PARTL and EPARTL, LINEL and ELINEL), read as one string, the file's part first.
#pragma once

#include <cstdint>
#include <string>

#include "engine/business_basic.h"

namespace dv {

class JoinedFiles {
  public:
    // Opens both through the global engine object; a name the data set does not hold (or no
    // engine object) leaves its file empty, and Read then raises.
    JoinedFiles(std::string name, std::string extension_name);

    // Record n of the file joined with record n of its extension. Raises, from `source`: -10
    // "File not Found: " when the file is not open or there is no engine object, 81 with
    // `range_text` when n is below 1 or above the file's last record, -10 when the extension is
    // not open; and whatever LreadFile raises.
    std::string Read(int32_t record_number, const char* source, const char* range_text,
                     int16_t& flag) const;

  private:
    std::string name_;
    std::string extension_name_;
    LogicalFileRef file_;
    LogicalFileRef extension_;
};

}  // namespace dv
