#pragma once
// Key values of an archive the search reads, from its key block's lines as
// FindKeyBlockLines gives them (the last line first).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveEncoding.h"

namespace discovel {

// The value of the block's first line of `key`; nullopt when none has it.
std::optional<std::string_view> KeyValueOf(const std::vector<std::string_view>& lastFirst, std::string_view key);

// The encoding the block names. Throws AppError, naming the archive at `path`
// and the value, for one this version does not know.
ArchiveEncoding EncodingOfArchive(const std::vector<std::string_view>& lastFirst, const std::string& path);

}  // namespace discovel
