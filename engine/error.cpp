#include "engine/error.h"

namespace dv {

BasicError::BasicError(int32_t number, std::string source, std::string description)
    : std::runtime_error(std::string(source) + ": " + std::to_string(number) + " " + description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

std::string PlatformErrorText(int32_t number) {
    switch (number) {
        case err::kInvalidArgument: return "Invalid procedure call or argument";
        case err::kOverflow: return "Overflow";
        case err::kSubscript: return "Subscript out of range";
        case err::kDivisionByZero: return "Division by zero";
        case err::kTypeMismatch: return "Type mismatch";
        case err::kFileNotFound: return "File not found";
        case err::kNoObject: return "Object variable or With block variable not set";
        case err::kDuplicateKey:
            return "This key is already associated with an element of this collection";
        default: return "Application-defined or object-defined error";
    }
}

void RaisePlatform(int32_t number, std::string source) {
    throw BasicError(number, std::move(source), PlatformErrorText(number));
}

std::string NumText(int64_t value) {
    return value >= 0 ? " " + std::to_string(value) : std::to_string(value);
}

}  // namespace dv
