#include "search/win32/FileHandover.h"

#include <windows.h>

#include <cstring>

#include "platform/AppError.h"
#include "search/FoundFile.h"

namespace discovel {

namespace {

// Another program may hold the clipboard open for a moment: it is tried this
// often, this far apart, about half a second in all.
constexpr int kClipboardTries = 10;
constexpr DWORD kClipboardRetryMs = 50;

bool OpenClipboardFor(HWND owner) {
  for (int attempt = 1;; ++attempt) {
    if (OpenClipboard(owner)) return true;
    if (attempt == kClipboardTries) return false;
    Sleep(kClipboardRetryMs);
  }
}

}  // namespace

bool PutFileOnClipboard(HWND owner, const std::string& path) {
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
  // Opened without an owner window, the emptied clipboard would have no
  // owner, and Windows then refuses the data.
  if (!OpenClipboardFor(owner)) {
    GlobalFree(memory);
    return false;
  }
  // From a successful hand-over on the clipboard owns the block.
  const bool handedOver = EmptyClipboard() && SetClipboardData(CF_HDROP, memory) != nullptr;
  CloseClipboard();
  if (!handedOver) GlobalFree(memory);
  return handedOver;
}

}  // namespace discovel
