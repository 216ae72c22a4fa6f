#include "support/win32/Clipboard.h"

#include <windows.h>

#include <shellapi.h>

namespace discovel::test {

std::vector<std::string> ClipboardFiles() {
  std::vector<std::string> files;
  if (!OpenClipboard(nullptr)) return files;
  if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
      char path[MAX_PATH] = {};
      DragQueryFileA(drop, index, path, MAX_PATH);
      files.emplace_back(path);
    }
  }
  CloseClipboard();
  return files;
}

void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

}  // namespace discovel::test
