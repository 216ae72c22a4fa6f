#include "support/TestDrive.h"

#include <cstdlib>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include "support/win32/ExactFiles.h"
#else
#include <algorithm>
#include <filesystem>
#include <fstream>
#endif

namespace discovel::test {
namespace {

std::string DriveFolder() {
  const char* dir = std::getenv("DISCOVEL_TEST_DRIVE_DIR");
  return dir ? dir : "";
}

#ifndef _WIN32
namespace fs = std::filesystem;

fs::path Native(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return fs::path(std::u8string(native.begin(), native.end()));
}
#endif

}  // namespace

TestDrive::TestDrive() {
  if (!Available()) throw std::runtime_error("no test CD-ROM drive: run under tests/wine/wine-run");
  m_discFolder = DriveFolder() + "\\disc";
  Eject();
}

TestDrive::~TestDrive() {
  try {
    Eject();
  } catch (...) {
  }
}

bool TestDrive::Available() { return !DriveFolder().empty(); }

std::string TestDrive::BehindTheDrive(std::string_view relative) const {
  return relative.empty() ? m_discFolder : m_discFolder + "\\" + std::string(relative);
}

// The names on the test disc are exact: "a.", "b " and "con.txt" are made as
// they stand, and a path may be longer than 260 characters.
#ifdef _WIN32
void TestDrive::InsertEmptyDisc() {
  Eject();
  CreateFoldersExactly(m_discFolder);
}

void TestDrive::AddFile(std::string_view relative, std::string_view bytes) {
  WriteFileExactly(BehindTheDrive(relative), bytes);
}

void TestDrive::AddFolder(std::string_view relative) { CreateFoldersExactly(BehindTheDrive(relative)); }

void TestDrive::RemoveFile(std::string_view relative) {
  if (!RemoveFileExactly(BehindTheDrive(relative))) throw std::runtime_error("no such file on the test disc");
}

void TestDrive::ReplaceKeepingTime(std::string_view relative, std::string_view bytes) {
  const std::wstring path = ExactPath(BehindTheDrive(relative));
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    throw std::runtime_error("no such file on the test disc");
  }
  AddFile(relative, bytes);
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  const bool set = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &data.ftLastWriteTime);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!set) throw std::runtime_error("cannot set the time of a file on the test disc");
}

void TestDrive::Eject() { RemoveTreeExactly(m_discFolder); }
#else
void TestDrive::InsertEmptyDisc() {
  Eject();
  fs::create_directories(Native(m_discFolder));
}

void TestDrive::AddFile(std::string_view relative, std::string_view bytes) {
  const fs::path file = Native(BehindTheDrive(relative));
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write to the test disc");
}

void TestDrive::AddFolder(std::string_view relative) { fs::create_directories(Native(BehindTheDrive(relative))); }

void TestDrive::RemoveFile(std::string_view relative) {
  if (!fs::remove(Native(BehindTheDrive(relative)))) throw std::runtime_error("no such file on the test disc");
}

void TestDrive::ReplaceKeepingTime(std::string_view relative, std::string_view bytes) {
  const fs::file_time_type time = fs::last_write_time(Native(BehindTheDrive(relative)));
  AddFile(relative, bytes);
  fs::last_write_time(Native(BehindTheDrive(relative)), time);
}

void TestDrive::Eject() { fs::remove_all(Native(m_discFolder)); }
#endif

}  // namespace discovel::test
