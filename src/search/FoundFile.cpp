#include "search/FoundFile.h"

#include <cstdint>

#include "catalog/TextUtil.h"
#include "drives/DiscWait.h"
#include "platform/ModalResult.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

constexpr std::uint32_t kDropFilesHeaderSize = 20;

void AppendUint32(std::string& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

}  // namespace

std::string DiscPathOf(char drive, std::string_view directory, std::string_view file) {
  std::string path{drive};
  path += ":\\";
  if (directory != "\\") path += IncludeTrailingBackslash(directory);
  path += file;
  return path;
}

bool BringFileWithinReach(char drive, const std::string& path, std::string_view mark,
                          const DiscRequest& request) {
  int waited = 0;
  // The drive is asked first in any case: a read device that is no letter is said so.
  const bool there = request.discInDrive(drive) && request.fileExists(path);
  if (request.askForDisc || !there) {
    request.openTray(drive);
    waited = request.waitForDisc(std::string(kMsgInsertDiscMarked) + std::string(mark));
  }
  if (waited == kModalCancel) return false;
  if (request.fileExists(path) && (!request.isDiscAskedFor || request.isDiscAskedFor(drive))) return true;
  request.alert(kMsgWrongDisc);
  request.openTray(drive);
  return false;
}

std::string DropFilesBlock(std::string_view path) {
  const std::u16string units = utf8::ToUtf16(path);
  std::string block;
  block.reserve(kDropFilesHeaderSize + (units.size() + 2) * 2);
  AppendUint32(block, kDropFilesHeaderSize);  // where the list starts
  AppendUint32(block, 0);                     // drop point x
  AppendUint32(block, 0);                     // drop point y
  AppendUint32(block, 0);                     // not dropped on a non-client area
  AppendUint32(block, 1);                     // wide names
  // UTF-16 little-endian, as Windows keeps it in memory, so every name fits.
  for (const char16_t unit : units) {
    block += static_cast<char>(unit & 0xFF);
    block += static_cast<char>(unit >> 8);
  }
  block.append(4, '\0');  // the NUL unit ending the path, and the one ending the list
  return block;
}

}  // namespace discovel
