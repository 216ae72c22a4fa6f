#include "search/KeyBlockValues.h"

#include "catalog/KeyBlock.h"
#include "platform/AppError.h"

namespace discovel {

std::optional<std::string_view> KeyValueOf(const std::vector<std::string_view>& lastFirst, std::string_view key) {
  for (auto line = lastFirst.rbegin(); line != lastFirst.rend(); ++line) {
    if (const auto value = keyblock::ValueIfKey(*line, key)) return value;
  }
  return std::nullopt;
}

ArchiveEncoding EncodingOfArchive(const std::vector<std::string_view>& lastFirst, const std::string& path) {
  const std::optional<std::string_view> value = KeyValueOf(lastFirst, kAEncoding);
  const std::optional<ArchiveEncoding> encoding = EncodingNamed(value);
  if (!encoding) {
    throw AppError(std::string(kMsgUnknownEncoding) + "\"" + path + "\" (" + std::string(kAEncoding) + "=" +
                   std::string(*value) + ").");
  }
  return *encoding;
}

}  // namespace discovel
