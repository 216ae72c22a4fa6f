#include "catalog/ArchiveSource.h"

#include <cstdio>

#include "catalog/TextUtil.h"
#include "text/CaseFold.h"

namespace discovel {
namespace {

struct KindName {
  SourceKind kind;
  std::string_view text;
};

constexpr KindName kKindNames[] = {
    {SourceKind::kDisc, kSourceValue},        {SourceKind::kRemovable, "Removable"},
    {SourceKind::kFixed, "Fixed"},            {SourceKind::kNetwork, "Network"},
    {SourceKind::kFolder, "Folder"},
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsDrivePath(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string WithTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

std::string_view SourceKindText(SourceKind kind) {
  for (const KindName& name : kKindNames) {
    if (name.kind == kind) return name.text;
  }
  return kSourceValue;
}

SourceKind SourceKindNamed(std::string_view value) {
  for (const KindName& name : kKindNames) {
    if (name.text == value) return name.kind;
  }
  return SourceKind::kDisc;
}

std::string FormatVolumeSerial(std::uint32_t serial) {
  char text[10];
  std::snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial >> 16), static_cast<unsigned>(serial & 0xFFFF));
  return text;
}

std::optional<std::uint32_t> ParseVolumeSerial(std::string_view text) {
  if (text.size() != 9 || text[4] != '-') return std::nullopt;
  std::uint32_t serial = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 4) continue;
    const int digit = HexDigit(text[i]);
    if (digit < 0) return std::nullopt;
    serial = serial << 4 | static_cast<std::uint32_t>(digit);
  }
  return serial;
}

std::string PathWithinVolume(std::string_view path) {
  return WithTrailingBackslash(std::string(IsDrivePath(path) ? path.substr(2) : path));
}

bool IsSameSource(const ArchiveSource& a, const ArchiveSource& b) {
  if (a.kind == SourceKind::kDisc || b.kind == SourceKind::kDisc) return false;
  if (!a.serial || !b.serial || *a.serial != *b.serial) return false;
  return casefold::Fold(PathWithinVolume(a.path)) == casefold::Fold(PathWithinVolume(b.path));
}

std::optional<std::string> SourcePathNow(const ArchiveSource& source, const std::vector<MountedVolume>& volumes) {
  if (source.kind == SourceKind::kDisc || source.path.empty()) return std::nullopt;
  if (!IsDrivePath(source.path)) return WithTrailingBackslash(source.path);
  if (!source.serial) return std::nullopt;
  const MountedVolume* found = nullptr;
  for (const MountedVolume& volume : volumes) {
    if (volume.serial != source.serial || volume.root.empty()) continue;
    const bool formerLetter = casefold::Fold(volume.root.substr(0, 1)) == casefold::Fold(source.path.substr(0, 1));
    if (!found || formerLetter) found = &volume;
    if (formerLetter) break;
  }
  if (!found) return std::nullopt;
  std::string root = found->root;
  while (!root.empty() && root.back() == '\\') root.pop_back();
  return root + PathWithinVolume(source.path);
}

std::string ProposedMarkFor(const ArchiveSource& source, const std::function<bool(std::string_view)>& markTaken,
                            const std::string& numbered) {
  std::string name;
  if (source.kind == SourceKind::kFolder) {
    std::string path = source.path;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    const std::size_t cut = path.find_last_of('\\');
    name = cut == std::string::npos ? path : path.substr(cut + 1);
    // A drive's root has no name of its own: its label stands for it.
    if (IsDrivePath(path) && path.size() == 2) name = source.label;
  } else if (source.kind != SourceKind::kDisc) {
    name = source.label;
  }
  name = std::string(TrimBlanksAndControls(name));
  return name.empty() || markTaken(name) ? numbered : name;
}

}  // namespace discovel
