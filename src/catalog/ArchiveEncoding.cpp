#include "catalog/ArchiveEncoding.h"

#include "catalog/KeyBlock.h"

namespace discovel {

std::optional<std::string_view> EncodingKeyOf(std::string_view bytes) {
  // Line by line from the end; CR, LF and CR LF each end a line.
  bool inBlock = false;  // past the trailing empty lines
  // The first such key line of the block holds, as for every key.
  std::optional<std::string_view> found;
  std::size_t position = bytes.size();
  while (position > 0) {
    std::size_t contentEnd = position;
    if (bytes[contentEnd - 1] == '\n') {
      --contentEnd;
      if (contentEnd > 0 && bytes[contentEnd - 1] == '\r') --contentEnd;
    } else if (bytes[contentEnd - 1] == '\r') {
      --contentEnd;
    }
    const std::size_t cut = contentEnd == 0 ? std::string_view::npos : bytes.find_last_of("\r\n", contentEnd - 1);
    const std::size_t begin = cut == std::string_view::npos ? 0 : cut + 1;
    const std::string_view line = bytes.substr(begin, contentEnd - begin);
    position = begin;
    if (line.empty() && !inBlock) continue;
    inBlock = true;
    if (line.find('=') == std::string_view::npos) break;
    if (const std::optional<std::string_view> value = keyblock::ValueIfKey(line, kAEncoding)) found = value;
  }
  return found;
}

}  // namespace discovel
