#pragma once
// Setting a file's last-write time as a local time of its own date (with that
// date's daylight-saving offset), the way the file system seam lists it.
#include <windows.h>

#include <string>

namespace discovel::test {

// Paths are UTF-8. False when the time could not be converted or set.
bool SetLocalWriteTime(const std::string& path, const SYSTEMTIME& local);
// The same from a time in UTC.
bool SetUtcWriteTime(const std::string& path, const SYSTEMTIME& utc);

}  // namespace discovel::test
