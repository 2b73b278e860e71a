#include "shell/options.h"

#include "engine/error.h"
#include "shell/operation_log.h"
#include "shell/view.h"

namespace dv {

namespace {

void LogShellError(std::string_view routine_text, const std::exception& e) {
    mLogLine = "*" + ShellErrorText(routine_text, e);
    WriteLog(mLogPath, mLogLine);
}

}  // namespace

bool GetOption(int32_t position, ControlFile& file) {
    bool result = false;
    try {
        const std::string block = file.ReadBlock(file0::kOptionBlock);
        if (position < 1) RaisePlatform(err::kInvalidArgument, "GetOption");
        result = static_cast<size_t>(position) <= block.size() &&
                 block[static_cast<size_t>(position - 1)] == 'Y';
        file.Close();
    } catch (const std::exception& e) {
        LogShellError("Error in GetOption function ", e);
    }
    return result;
}

std::string GetStoreName(ControlFile& file) {
    try {
        const std::string block = file.ReadBlock(file0::kStoreBlock);
        std::string name;
        if (block.size() >= static_cast<size_t>(file0::kStoreNameAt))
            name = block.substr(file0::kStoreNameAt - 1, file0::kStoreNameSize);
        file.Close();
        return name;
    } catch (const std::exception& e) {
        LogShellError("Error in GetStoreName function ", e);
    }
    return kStoreNameError;
}

}  // namespace dv
