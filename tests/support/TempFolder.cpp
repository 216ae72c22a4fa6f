#include "support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

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
  std::error_code ec;
  fs::remove_all(NativePath(m_path), ec);
}

std::string TempFolder::operator/(std::string_view relative) const {
  return m_path + std::string(relative);
}

void TempFolder::WriteFile(std::string_view relative, std::string_view bytes) const {
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
