#pragma once
// Small text rules shared by the catalogue, the scanner and the windows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace discovel {

// Removes bytes up to and including the blank (0x00..0x20) at both ends.
std::string_view TrimBlanksAndControls(std::string_view text);

// An archive's mark as the search lists it: its AMark value trimmed, or
// "Unknown" when that leaves nothing.
std::string_view MarkAsListed(std::string_view stored);

// The folder-path rule: a non-empty path gets a trailing backslash if it lacks
// one; an empty path stays empty.
std::string IncludeTrailingBackslash(std::string_view path);

// Compares with only A-Z / a-z folded; other bytes must be equal.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Whole-text decimal with an optional leading '+' or '-'; no blanks. nullopt on
// anything else or when the value does not fit.
std::optional<std::int64_t> ParseInt64(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);

}  // namespace discovel
