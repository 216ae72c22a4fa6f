#include "support/TestDrive.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace discovel::test {
namespace {

std::string DriveFolder() {
  const char* dir = std::getenv("DISCOVEL_TEST_DRIVE_DIR");
  return dir ? dir : "";
}

// Names on the test disc are UTF-8, so that they may hold any character.
fs::path Native(const std::string& folder, std::string_view relative) {
  std::string path = folder + "\\" + std::string(relative);
#ifndef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return fs::path(std::u8string(path.begin(), path.end()));
}

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

void TestDrive::InsertEmptyDisc() {
  Eject();
  fs::create_directories(Native(m_discFolder, ""));
}

void TestDrive::AddFile(std::string_view relative, std::string_view bytes) {
  const fs::path file = Native(m_discFolder, relative);
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write to the test disc");
}

void TestDrive::AddFolder(std::string_view relative) { fs::create_directories(Native(m_discFolder, relative)); }

void TestDrive::RemoveFile(std::string_view relative) {
  if (!fs::remove(Native(m_discFolder, relative))) throw std::runtime_error("no such file on the test disc");
}

void TestDrive::ReplaceKeepingTime(std::string_view relative, std::string_view bytes) {
  const fs::file_time_type time = fs::last_write_time(Native(m_discFolder, relative));
  AddFile(relative, bytes);
  fs::last_write_time(Native(m_discFolder, relative), time);
}

std::string TestDrive::BehindTheDrive(std::string_view relative) const {
  return m_discFolder + "\\" + std::string(relative);
}

void TestDrive::Eject() { fs::remove_all(Native(m_discFolder, "")); }

}  // namespace discovel::test
