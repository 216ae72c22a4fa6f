#include "app/ProgramVersion.h"

#include <windows.h>

#include <vector>

#include "app/core/AboutTexts.h"

namespace discovel {

std::wstring ProgramFile() {
  // A path that fills the buffer was cut: the buffer grows until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string GetAppVersion() {
  const std::wstring path = ProgramFile();
  if (path.empty()) return {};
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof *info) {
    return {};
  }
  return FileVersionText(info->dwFileVersionMS, info->dwFileVersionLS);
}

}  // namespace discovel
