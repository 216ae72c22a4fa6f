#include "backup/EntryName.h"

#include <vector>

#include "catalog/TextUtil.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

EntryNameVerdict Refuse(std::string reason) {
  EntryNameVerdict verdict;
  verdict.reason = std::move(reason);
  return verdict;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string_view> SplitParts(std::string_view name) {
  std::vector<std::string_view> parts;
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || IsSeparator(name[i])) {
      parts.push_back(name.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  return parts;
}

// Windows opens these as devices whatever extension follows ("NUL.dat" is NUL).
bool IsDeviceName(std::string_view part) {
  const std::string_view stem = part.substr(0, part.find('.'));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (EqualsIgnoreAsciiCase(stem, device)) return true;
  }
  const std::string_view port = stem.substr(0, 3);
  if (stem.size() < 4 || !(EqualsIgnoreAsciiCase(port, "COM") || EqualsIgnoreAsciiCase(port, "LPT"))) return false;
  // One digit from 1 to 9 follows; Windows counts superscript one, two and
  // three ("COM¹") as digits too.
  const utf8::Decoded digit = utf8::DecodeAt(stem, 3);
  const bool isDigit = (digit.code >= U'1' && digit.code <= U'9') || digit.code == U'\u00B9' ||
                       digit.code == U'\u00B2' || digit.code == U'\u00B3';
  return isDigit && 3 + digit.length == stem.size();
}

bool HasForbiddenCharacter(std::string_view part) {
  for (const char c : part) {
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>\"|?*").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

bool EndsWithDat(std::string_view name) {
  return name.size() > 4 && EqualsIgnoreAsciiCase(name.substr(name.size() - 4), ".dat");
}

}  // namespace

EntryNameVerdict JudgeEntryName(std::string_view name) {
  if (name.empty()) return Refuse("it has no name");
  // A name the zip does not mark as UTF-8 came from the code page, so only a
  // marked one can be broken.
  if (!utf8::IsValid(name)) return Refuse("its name is marked as UTF-8 but is not");
  if (IsSeparator(name.back())) {
    EntryNameVerdict folder;
    folder.kind = EntryNameVerdict::Kind::Folder;
    return folder;
  }
  if (IsSeparator(name.front())) return Refuse("its path is absolute");
  if (name.find(':') != std::string_view::npos) return Refuse("its path names a drive");
  std::string relative;
  for (const std::string_view part : SplitParts(name)) {
    if (part == "..") return Refuse("its path leads out of the catalogue folder");
    if (part.empty() || part == ".") return Refuse("its path is not a plain relative path");
    if (HasForbiddenCharacter(part)) return Refuse("its name holds characters that file names cannot");
    if (part.back() == ' ' || part.back() == '.') return Refuse("a part of its name ends with a blank or a dot");
    if (IsDeviceName(part)) return Refuse("its name is a device of Windows");
    if (!relative.empty()) relative += '\\';
    relative += part;
  }
  if (!EndsWithDat(name)) return Refuse("it is not an archive (*.dat)");
  EntryNameVerdict archive;
  archive.kind = EntryNameVerdict::Kind::Archive;
  archive.relativePath = std::move(relative);
  return archive;
}

std::string ZipNameOf(std::string_view relativePath) {
  std::string name(relativePath);
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return name;
}

}  // namespace discovel
