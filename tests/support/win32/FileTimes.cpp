#include "support/win32/FileTimes.h"

namespace discovel::test {

bool SetUtcWriteTime(const std::string& path, const SYSTEMTIME& utc) {
  FILETIME stamp;
  if (!SystemTimeToFileTime(&utc, &stamp)) return false;
  std::wstring wide(path.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  if (length <= 0 && !path.empty()) return false;
  wide.resize(static_cast<std::size_t>(length));
  HANDLE file = CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool set = SetFileTime(file, nullptr, nullptr, &stamp) != 0;
  CloseHandle(file);
  return set;
}

bool SetLocalWriteTime(const std::string& path, const SYSTEMTIME& local) {
  SYSTEMTIME utc;
  // The offset of the time's own date, not today's (LocalFileTimeToFileTime's).
  return TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) && SetUtcWriteTime(path, utc);
}

}  // namespace discovel::test
