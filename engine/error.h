// The program's one error type: a numbered error with the procedure that raised it and a
// description, as the dealer engine reports them. Every layer raises and catches this type;
// the views copy number and description into their log lines.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace dv {

class BasicError : public std::runtime_error {
  public:
    BasicError(int32_t number, std::string source, std::string description);

    int32_t number() const noexcept { return number_; }
    const std::string& source() const noexcept { return source_; }
    const std::string& description() const noexcept { return description_; }

  private:
    int32_t number_;
    std::string source_;
    std::string description_;
};

// Error numbers of the run-time platform that the engine's procedures raise as they stand.
namespace err {
inline constexpr int32_t kInvalidArgument = 5;    // "Invalid procedure call or argument"
inline constexpr int32_t kOverflow = 6;           // "Overflow"
inline constexpr int32_t kSubscript = 9;          // "Subscript out of range"
inline constexpr int32_t kDivisionByZero = 11;    // "Division by zero"
inline constexpr int32_t kTypeMismatch = 13;      // "Type mismatch"
inline constexpr int32_t kBadRecordLength = 36;   // record length mismatch on write
inline constexpr int32_t kBadFileNumber = 52;     // "Bad file name or number": a closed file
inline constexpr int32_t kFileNotFound = 53;      // "File not found"
inline constexpr int32_t kDeviceIO = 57;          // "Device I/O error"
inline constexpr int32_t kLock = 57;              // record-zero lock refused
inline constexpr int32_t kBadRecordNumber = 63;   // "Bad record number": a negative position
inline constexpr int32_t kTooManyFiles = 67;      // "Too many files"
inline constexpr int32_t kPermissionDenied = 70;  // "Permission denied"
inline constexpr int32_t kPathFileAccess = 75;    // "Path/File access error"; writes refused
inline constexpr int32_t kPathNotFound = 76;      // "Path not found"
inline constexpr int32_t kRecordNumber = 81;      // illegal record number
inline constexpr int32_t kNoObject = 91;       // "Object variable or With block variable not set"
inline constexpr int32_t kOpCode = 100;        // unknown field code
inline constexpr int32_t kDuplicateKey = 457;  // key already in a collection
inline constexpr int32_t kFile = -10;          // engine's own file errors
// Our own numbers for damaged files, outside the platform's range. Each names the file.
inline constexpr int32_t kIndexCycle = 1001;      // a leaf chain or path that comes back on itself
inline constexpr int32_t kIndexNode = 1002;       // a node number outside the index
inline constexpr int32_t kIndexDepth = 1003;      // deeper than the cursor can hold
inline constexpr int32_t kIndexEntries = 1004;    // an entry count that does not fit in a node
inline constexpr int32_t kIndexParent = 1005;     // the parent search of KPrev found nothing
inline constexpr int32_t kIndexHeader = 1006;     // an entry size that no node can hold
inline constexpr int32_t kIndexOrder = 1007;      // an inner node with no key up to the sought
inline constexpr int32_t kIndexCursor = 1008;     // a cursor KFind or KLast did not position
inline constexpr int32_t kIndexPointer = 1009;    // a leaf's record pointer below -1
inline constexpr int32_t kIndexKeyOrder = 1010;   // keys of a node or a walk that go back
inline constexpr int32_t kIndexEmptyLeaf = 1011;  // a leaf without entries that is not the last
inline constexpr int32_t kIndexRecordZero =
    1012;                                     // a leaf's pointer to record 0 or -1, not the end
inline constexpr int32_t kIndexNoEnd = 1013;  // an index whose last leaf has no end marker
// A file shorter than what its directory entry, its blocks or its records claim.
inline constexpr int32_t kShortFile = 1060;
inline constexpr int32_t kDirectoryEntry = 1061;  // a directory entry's field outside its domain
// A record an index key or a chain link names that is not the record it names.
inline constexpr int32_t kRecordNotLive = 1062;        // status word 0 or below: deleted or unused
inline constexpr int32_t kRecordNumberDiffers = 1063;  // holds another number than its key's
inline constexpr int32_t kDocumentNumberMissing = 1064;  // an order header of no number
inline constexpr int32_t kReceivablesShort = 1071;       // an A/R summary without its total line
// Files larger than their limit (engine/limits.h); each names the file and the limit.
inline constexpr int32_t kCatalogTooLarge = 1050;    // tMRCatalog.ini
inline constexpr int32_t kShareTextTooLarge = 1051;  // ttymap, DARR.KRLI
inline constexpr int32_t kLinksTooLarge = 1052;      // LINKSFILE
inline constexpr int32_t kDirectoryTooLarge = 1053;  // a directory file
inline constexpr int32_t kDocumentTooLarge = 1054;   // a per-document order file
}  // namespace err

// The platform's texts for the errors above that the engine raises without a text of its own.
std::string PlatformErrorText(int32_t number);

// Raises one of the platform's errors with its standard description.
[[noreturn]] void RaisePlatform(int32_t number, std::string source);

// The platform error number for an errno value of a failed open, read or write.
int32_t ErrorNumberOfErrno(int errno_value);

// A file that exists but could not be opened or read: the number matching errno_value, and
// "Could not open file: " (or "Could not read file: ") with the path and the system's reason
// in parentheses.
BasicError OpenFailure(int errno_value, std::string source, const std::string& path);
BasicError ReadFailure(int errno_value, std::string source, const std::string& path);
// The same with a number and a reason of the caller's.
BasicError OpenFailure(int32_t number, std::string source, const std::string& path,
                       const std::string& reason);

// A number as the engine writes it into a message: a leading blank when it is 0 or positive.
std::string NumText(int64_t value);

}  // namespace dv
