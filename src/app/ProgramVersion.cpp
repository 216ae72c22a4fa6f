#include "app/ProgramVersion.h"

#include <windows.h>

#include <vector>

#include "app/core/AboutTexts.h"

namespace discovel {

std::string GetAppVersion() {
  char path[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, path, MAX_PATH)) return {};
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof *info) {
    return {};
  }
  return FileVersionText(info->dwFileVersionMS, info->dwFileVersionLS);
}

}  // namespace discovel
