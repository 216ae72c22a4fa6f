#include "support/win32/ExactFiles.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"

namespace discovel::test {

std::wstring ExactPath(std::string_view path) { return SystemPath(path); }

void CreateFoldersExactly(std::string_view folder) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  const std::wstring path = ExactPath(folder);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  const std::size_t cut = folder.find_last_of('\\');
  // "C:" (or "Z:") itself is never made.
  if (cut != std::string_view::npos && cut > 2) CreateFoldersExactly(folder.substr(0, cut));
  if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    throw std::runtime_error("cannot make the test folder " + std::string(folder));
  }
}

void WriteFileExactly(std::string_view path, std::string_view bytes) {
  const std::size_t cut = path.find_last_of('\\');
  if (cut != std::string_view::npos) CreateFoldersExactly(path.substr(0, cut));
  HANDLE file = CreateFileW(ExactPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  DWORD written = 0;
  const bool ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) throw std::runtime_error("cannot write the test file " + std::string(path));
}

bool RemoveFileExactly(std::string_view path) {
  const std::wstring exact = ExactPath(path);
  SetFileAttributesW(exact.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileW(exact.c_str()) != 0;
}

void RemoveTreeExactly(std::string_view folder) {
  std::string prefix(folder);
  if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((ExactPath(prefix) + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::string path = prefix + Utf8(name);
      // A link is removed itself, never what it leads to.
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTreeExactly(path);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(ExactPath(path).c_str());
      } else {
        RemoveFileExactly(path);
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  prefix.pop_back();
  RemoveDirectoryW(ExactPath(prefix).c_str());
}

}  // namespace discovel::test
