#include "support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/SystemPath.h"
#include "support/win32/ExactFiles.h"
#endif

namespace fs = std::filesystem;

namespace discovel::test {
namespace {

// Core paths are UTF-8 and always use backslashes; on POSIX the seams map
// them back.
std::string ToCorePath(const fs::path& p) {
  const std::u8string utf8 = p.u8string();
  std::string s(utf8.begin(), utf8.end());
  for (char& c : s) {
    if (c == '/') c = '\\';
  }
  return s;
}

#ifdef _WIN32
// Read through the W functions and the extended form of the path, as the
// program itself goes: a name ending in a blank or a dot, "con.txt", a name
// of any script and a path past 260 characters are read as they are named.
std::string ReadExactly(const std::string& path) {
  HANDLE file = CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read test file " + path);
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

#endif

}  // namespace

fs::path NativePath(std::string_view corePath) {
  std::string s(corePath);
#ifndef _WIN32
  for (char& c : s) {
    if (c == '\\') c = '/';
  }
#endif
  return fs::path(std::u8string(s.begin(), s.end()));
}

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path dir = fs::temp_directory_path() /
                 ("discovel-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(dir);
  m_path = ToCorePath(dir);
  if (m_path.empty() || m_path.back() != '\\') m_path += '\\';
}

TempFolder::~TempFolder() {
#ifdef _WIN32
  RemoveTreeExactly(m_path);
#else
  std::error_code ec;
  fs::remove_all(NativePath(m_path), ec);
#endif
}

std::string TempFolder::operator/(std::string_view relative) const {
  return m_path + std::string(relative);
}

void TempFolder::WriteFile(std::string_view relative, std::string_view bytes) const {
#ifdef _WIN32
  WriteFileExactly(m_path + std::string(relative), bytes);
#else
  const fs::path file = NativePath(*this / relative);
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file " + std::string(relative));
#endif
}

std::string TempFolder::ReadFile(std::string_view relative) const {
#ifdef _WIN32
  return ReadExactly(*this / relative);
#else
  std::ifstream in(NativePath(*this / relative), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test file " + std::string(relative));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
#endif
}

void TempFolder::MakeFolder(std::string_view relative) const {
#ifdef _WIN32
  CreateFoldersExactly(m_path + std::string(relative));
#else
  fs::create_directories(NativePath(*this / relative));
#endif
}

}  // namespace discovel::test
