#include "engine/error.h"

#include <cerrno>

#include "platform/file.h"

namespace dv {

BasicError::BasicError(int32_t number, std::string source, std::string description)
    : std::runtime_error(std::string(source) + ": " + std::to_string(number) + " " + description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

std::string PlatformErrorText(int32_t number) {
    switch (number) {
        case err::kInvalidArgument:
            return "Invalid procedure call or argument";
        case err::kOverflow:
            return "Overflow";
        case err::kSubscript:
            return "Subscript out of range";
        case err::kDivisionByZero:
            return "Division by zero";
        case err::kTypeMismatch:
            return "Type mismatch";
        case err::kBadFileNumber:
            return "Bad file name or number";
        case err::kFileNotFound:
            return "File not found";
        case err::kDeviceIO:
            return "Device I/O error";
        case err::kBadRecordNumber:
            return "Bad record number";
        case err::kTooManyFiles:
            return "Too many files";
        case err::kPermissionDenied:
            return "Permission denied";
        case err::kPathFileAccess:
            return "Path/File access error";
        case err::kPathNotFound:
            return "Path not found";
        case err::kNoObject:
            return "Object variable or With block variable not set";
        case err::kDuplicateKey:
            return "This key is already associated with an element of this collection";
        default:
            return "Application-defined or object-defined error";
    }
}

void RaisePlatform(int32_t number, std::string source) {
    throw BasicError(number, std::move(source), PlatformErrorText(number));
}

int32_t ErrorNumberOfErrno(int errno_value) {
    switch (errno_value) {
        case ENOENT:
            return err::kFileNotFound;
        case ENOTDIR:
            return err::kPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return err::kPermissionDenied;
        case EMFILE:
        case ENFILE:
            return err::kTooManyFiles;
        case EIO:
            return err::kDeviceIO;
        default:
            return err::kPathFileAccess;
    }
}

BasicError OpenFailureBecause(int32_t number, std::string source, const std::string& path,
                              const std::string& reason) {
    return BasicError(number, std::move(source),
                      "Could not open file: " + path + " (" + reason + ")");
}

BasicError OpenFailure(int errno_value, std::string source, const std::string& path,
                       const std::string& local_path) {
    return OpenFailureBecause(
        ErrorNumberOfErrno(errno_value), std::move(source), path,
        platform::FailureReason(local_path.empty() ? path : local_path, errno_value));
}

BasicError ReadFailure(int errno_value, std::string source, const std::string& path,
                       const std::string& local_path) {
    return BasicError(
        ErrorNumberOfErrno(errno_value), std::move(source),
        "Could not read file: " + path + " (" +
            platform::FailureReason(local_path.empty() ? path : local_path, errno_value) + ")");
}

std::string NumText(int64_t value) {
    return value >= 0 ? " " + std::to_string(value) : std::to_string(value);
}

}  // namespace dv
