// Hard limits on the files the engine reads whole or scans. Each lies far above any real file of
// its kind and is there so that a damaged or hostile share (a sparse file of gigabytes, a writer
// that ran away) ends at once in a numbered error that names the file, instead of a read of
// minutes and an allocation of gigabytes. A reader takes the size from the file it opened (fstat
// of its own descriptor, no extra call) and checks it before reading anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/error.h"

namespace dv {

// tMRCatalog.ini: six keys, a few hundred bytes.
inline constexpr int64_t kCatalogFileLimit = 1024 * 1024;
// A text file on the share read whole: ttymap (a line of some 30 bytes per terminal, so room
// for 30,000 terminals), DARR.KRLI (a few dozen lines).
inline constexpr int64_t kShareTextLimit = 1024 * 1024;
// LINKSFILE: 160 bytes per link, one link per logical file and data directory (a few hundred
// for a store). 16 MiB holds 104,857 links: a hundred stores of a thousand files each.
inline constexpr int64_t kLinksFileLimit = 16 * 1024 * 1024;
// A directory file: 32 bytes per logical file of its container (a few hundred). 1 MiB holds
// 32,768 entries.
inline constexpr int64_t kDirectoryFileLimit = 1024 * 1024;

// A per-document order file (a return or a purchase order): 38 bytes per record, six records of
// header, comments and totals and one per line; a real order holds a few hundred lines at most.
// 1 MiB holds 27,000 lines.
inline constexpr int64_t kDocumentFileLimit = 1024 * 1024;

// The error of a file above its limit: "<what> <path> is larger than <limit> bytes".
inline BasicError TooLarge(int32_t number, std::string source, std::string_view what,
                           std::string_view path, int64_t limit) {
    return BasicError(number, std::move(source),
                      std::string(what) + " " + std::string(path) + " is larger than " +
                          std::to_string(limit) + " bytes");
}

}  // namespace dv
