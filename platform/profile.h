// Reading a private-profile (.ini) file: [section] lines and key=value lines. Sections and keys
// match without regard to letter case; the first section of a name and its first key of a name
// count. Values lose their surrounding blanks and tabs, and one pair of enclosing double quotes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dv::platform {

// The value of key in section of a profile file's text, cut to buffer_size - 1 characters, as
// a fixed buffer of buffer_size characters holds it. A missing section or key reads as the
// empty text. The file is read once (ReadWholeFile, with a limit) and every key taken from its
// text.
std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         size_t buffer_size = 100);

}  // namespace dv::platform
