#pragma once
// An archive's text is in the ANSI code page, as every earlier version wrote
// it, unless its key block says otherwise with a key line after AEnd.
#include <optional>
#include <string_view>

namespace discovel {

inline constexpr std::string_view kAEncoding = "AEncoding";
inline constexpr std::string_view kUtf8EncodingValue = "UTF-8";

enum class ArchiveEncoding { CodePage, Utf8 };

// The encoding the key's value names (nullopt: the key is absent); nullopt
// for a value this version does not know, which leaves the archive unreadable.
inline std::optional<ArchiveEncoding> EncodingNamed(std::optional<std::string_view> value) {
  if (!value) return ArchiveEncoding::CodePage;
  if (*value == kUtf8EncodingValue) return ArchiveEncoding::Utf8;
  return std::nullopt;
}

// The value of the encoding key in the key block at the end of an archive's
// bytes, read from the end: the key block is the trailing run of lines with
// '='. nullopt when the block has no such key.
std::optional<std::string_view> EncodingKeyOf(std::string_view bytes);

// Said, with the archive's path and the value, of an archive in an encoding
// this version does not know.
inline constexpr std::string_view kMsgUnknownEncoding = "The archive is written in an encoding this version cannot read: ";

}  // namespace discovel
