#include "search/win32/FileHandover.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

#include "platform/AppError.h"
#include "search/FoundFile.h"

namespace discovel {

void PutFileOnClipboard(const std::string& path) {
  const std::string block = DropFilesBlock(path);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, block.size());
  if (!memory) throw AppError("Could not allocate memory.");
  void* bytes = GlobalLock(memory);
  if (!bytes) {
    GlobalFree(memory);
    throw AppError("Could not allocate memory.");
  }
  std::memcpy(bytes, block.data(), block.size());
  GlobalUnlock(memory);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    throw AppError("Cannot open the clipboard.");
  }
  EmptyClipboard();
  // From here on the clipboard owns the block.
  const bool handedOver = SetClipboardData(CF_HDROP, memory) != nullptr;
  CloseClipboard();
  if (!handedOver) {
    GlobalFree(memory);
    throw AppError("Cannot put the file on the clipboard.");
  }
}

void OpenWithShell(const std::string& path) {
  ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace discovel
