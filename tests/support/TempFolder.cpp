#include "support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace discovel::test {
namespace {

// Core paths always use backslashes; on POSIX the seams map them back.
std::string ToCorePath(const fs::path& p) {
  std::string s = p.string();
  for (char& c : s) {
    if (c == '/') c = '\\';
  }
  return s;
}


#ifdef _WIN32
// Windows drops a blank or a dot that ends a path, so names that end so are
// made, and removed, through the "\\?\" prefix, which takes a path as it stands.
std::string Exact(const std::string& corePath) { return "\\\\?\\" + corePath; }

bool EndsOddly(std::string_view relative) {
  for (std::size_t end = relative.find('\\'); ; end = relative.find('\\', end + 1)) {
    const std::size_t last = (end == std::string_view::npos ? relative.size() : end);
    if (last > 0 && (relative[last - 1] == ' ' || relative[last - 1] == '.')) return true;
    if (end == std::string_view::npos) return false;
  }
}

void WriteExactly(const std::string& root, std::string_view relative, std::string_view bytes) {
  for (std::size_t end = relative.find('\\'); end != std::string_view::npos; end = relative.find('\\', end + 1)) {
    CreateDirectoryA(Exact(root + std::string(relative.substr(0, end))).c_str(), nullptr);
  }
  const std::string path = Exact(root + std::string(relative));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) throw std::runtime_error("cannot write test file " + path);
}

void RemoveExactly(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(Exact(folder + "*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveExactly(folder + name + "\\");
      } else {
        SetFileAttributesA(Exact(folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(Exact(folder + name).c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(Exact(folder.substr(0, folder.size() - 1)).c_str());
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
  return fs::path(s);
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
  RemoveExactly(m_path);
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
  if (EndsOddly(relative)) return WriteExactly(m_path, relative, bytes);
#endif
  const fs::path file = NativePath(*this / relative);
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file " + file.string());
}

std::string TempFolder::ReadFile(std::string_view relative) const {
  std::ifstream in(NativePath(*this / relative), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test file " + std::string(relative));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TempFolder::MakeFolder(std::string_view relative) const {
  fs::create_directories(NativePath(*this / relative));
}

}  // namespace discovel::test
