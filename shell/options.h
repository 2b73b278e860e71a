// The dealer system's options and the store name, shared by the main window and the views.
//
// Both the option flags and the store name live in the control file FILE0, read by block
// (engine/control_file.h): block 1 holds the store name at 151 (35 characters), block 401 the
// "Y"/"N" option flags at fixed 1-based positions (317 and 320 select the segment form of
// Billed Warranties).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/control_file.h"

namespace dv {

class cBusinessBasic;

inline constexpr const char* kStoreNameError = "Error finding Store Name";

// FILE0 as the option and store-name readers use it: read one block (opening the file on first
// use), then close it by name. Both raise the engine's errors.
class ControlFile {
  public:
    virtual ~ControlFile() = default;
    virtual std::string ReadBlock(int32_t block) = 0;
    virtual void Close() = 0;
};

// FILE0 through an engine object; a null engine raises error 91, as does a missing FILE0.
std::unique_ptr<ControlFile> EngineControlFile(std::shared_ptr<cBusinessBasic> engine);

// True when the character at position of option block 401 is exactly "Y". Errors are trapped:
// "*Error in GetOption function error # :" & number & CR LF & description goes to the log, and
// the result is False unless the character had been compared already. No message is shown.
bool GetOption(int32_t position, ControlFile& file);
// The same through the global engine object mBusinessBasic.
bool GetOption(int32_t position);

// The 35 characters at 151 of block 1 (untrimmed; fewer when the block is short). Errors are
// logged ("*Error in GetStoreName function error # :" ...) and give "Error finding Store Name".
std::string GetStoreName(ControlFile& file);

}  // namespace dv
