#include "support/win32/Clipboard.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace discovel::test {

std::vector<std::string> ClipboardFiles() {
  std::vector<std::string> files;
  if (!OpenClipboard(nullptr)) return files;
  if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
      // The length asked first leaves out the NUL.
      std::wstring path(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
      path.resize(DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())));
      files.push_back(Utf8(path));
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
