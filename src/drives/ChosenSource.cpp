#include "drives/ChosenSource.h"

#include <algorithm>
#include <optional>
#include <string>

namespace discovel {
namespace {

std::string WithTrailingBackslash(std::string_view path) {
  std::string text(path);
  if (text.empty() || text.back() != '\\') text += '\\';
  return text;
}

// Roots differ only in the letter case of their drive letters or share
// names, which the system does not tell apart.
bool SameRoot(std::string_view a, std::string_view b) {
  const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

ArchiveSource SourceOfDrive(const DriveRow& row) {
  return {row.kind, WithTrailingBackslash(row.root), row.serial, row.label};
}

ArchiveSource SourceOfFolder(std::string_view folder, const MountedVolume& holder) {
  const std::string path = WithTrailingBackslash(folder);
  SourceKind kind = SourceKind::kFolder;
  if (SameRoot(path, WithTrailingBackslash(holder.root))) {
    kind = DriveKindOf(holder.driveType).value_or(SourceKind::kFolder);
  }
  return {kind, path, holder.serial, holder.label};
}

bool IsOnVolume(std::string_view folder, std::string_view root) {
  const std::string path = WithTrailingBackslash(folder);
  const std::string volume = WithTrailingBackslash(root);
  return path.size() >= volume.size() && SameRoot(std::string_view(path).substr(0, volume.size()), volume);
}

}  // namespace discovel
