#include "support/win32/Clipboard.h"

#include <windows.h>

#include <shlobj.h>

#include <cstring>

#include "platform/win32/WideText.h"

namespace discovel::test {

std::vector<std::string> ClipboardFiles() {
  std::vector<std::string> files;
  if (!OpenClipboard(nullptr)) return files;
  if (HGLOBAL memory = GetClipboardData(CF_HDROP)) {
    const SIZE_T size = GlobalSize(memory);
    if (const auto* block = static_cast<const char*>(GlobalLock(memory))) {
      // The block as the pasting program reads it: the header, then the
      // names one after the other, ended by an empty one.
      const auto* header = reinterpret_cast<const DROPFILES*>(block);
      for (SIZE_T at = header->pFiles; at < size;) {
        if (header->fWide) {
          std::wstring name;
          for (; at + 1 < size; at += 2) {
            wchar_t unit;
            std::memcpy(&unit, block + at, sizeof unit);
            if (unit == L'\0') break;
            name += unit;
          }
          at += 2;
          if (name.empty()) break;
          files.push_back(Utf8(name));
        } else {
          std::string name;
          for (; at < size && block[at] != '\0'; ++at) name += block[at];
          ++at;
          if (name.empty()) break;
          files.push_back("(ANSI) " + name);
        }
      }
      GlobalUnlock(memory);
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
