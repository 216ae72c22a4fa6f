#include "support/win32/FileTimes.h"

#include "platform/win32/WideText.h"
#include "support/win32/ExactFiles.h"

namespace discovel::test {

bool SetUtcWriteTime(const std::string& path, const SYSTEMTIME& utc) {
  FILETIME stamp;
  if (!SystemTimeToFileTime(&utc, &stamp)) return false;
  // An absolute path by its exact name; a relative one as it stands.
  const bool absolute = path.size() > 2 && (path[1] == ':' || path.rfind("\\\\", 0) == 0);
  const std::wstring name = absolute ? ExactPath(path) : Wide(path);
  HANDLE file = CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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
