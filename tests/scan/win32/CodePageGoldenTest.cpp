// The archives the program writes for discs read through the real file system
// under a code page, held against the files kept in tests/golden/: an archive
// that a user's catalogue holds must come out the same to the byte, or his
// next adding of that disc would not see it as archived.
//
// To record them again (only ever from a build known to write what users'
// catalogues hold): DISCOVEL_RECORD_GOLDEN=1 with the code page's run.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/AppContext.h"
#include "platform/Platform.h"
#include "scan/AddDiscSession.h"
#include "support/MemorySettings.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"
#include "support/TestDrive.h"
#include "support/TestText.h"
#include "support/win32/CodePageRun.h"
#include "support/win32/FileTimes.h"

namespace discovel {
namespace {

namespace fs = std::filesystem;

struct DiscFile {
  const char* path;  // UTF-8, below the disc's root
  const char* bytes;
  SYSTEMTIME written;  // local
};

constexpr SYSTEMTIME kSpring{2024, 3, 0, 10, 12, 30, 14, 0};
constexpr SYSTEMTIME kWinter{2023, 12, 0, 24, 18, 5, 2, 0};

struct GoldenCase {
  const char* name;  // its folder in tests/golden
  unsigned codePage;
  std::vector<DiscFile> files;
  const char* mark;  // typed, UTF-8
  const char* location;
  const char* note;
};

const std::vector<GoldenCase>& Cases() {
  static const std::vector<GoldenCase> cases = {
      {"fits-cp1252",
       1252,
       {{"readme.txt", "read me\r\n", kSpring},
        {"Café.txt", "caf\xc3\xa9", kSpring},
        {"notes.txt ", "a trailing blank", kWinter},
        {"a.", "a trailing dot", kWinter},
        {"Straße\\Übung.doc", "\x01\x02\x03", kWinter},
        {"Straße\\Größe €.txt", "12345", kSpring},
        {"niño\\Ärger\\Ça va.mp3", "ID3", kWinter}},
       "CD No: 7 Sommer à Zürich",
       "Regal Ü",
       "Größe: 5 €"},
      {"fits-cp1251",
       1251,
       {{"readme.txt", "read me\r\n", kSpring},
        {"Привет.txt", "privet", kSpring},
        {"Ёлка.txt", "yolka", kWinter},
        {"Папка\\Документ.doc", "\x01\x02", kWinter},
        {"Папка\\Музыка\\Песня №1.mp3", "ID3", kSpring}},
       "Диск 3",
       "Полка",
       "Заметка"},
      // What the program wrote for names outside the code page before it kept
      // them exactly: look-alikes, question marks, and a folder it could not
      // list. Catalogues hold such archives; the disc must still be known.
      {"lossy-cp1252",
       1252,
       {{"plain.txt", "plain", kSpring},
        {"日本.txt", "nihon", kSpring},
        {"😀 song.mp3", "ID3", kWinter},
        {"Ā.txt", "a macron", kSpring},
        {"Ω.txt", "omega", kWinter},
        {"Привет.txt", "privet", kSpring},
        {"b ", "a trailing blank", kWinter},
        {"東京\\inside.txt", "inside", kSpring},
        {"Straße\\x.txt", "x", kSpring}},
       "CD No: 9",
       "Shelf",
       "Lossy"},
  };
  return cases;
}

std::string GoldenFolder(const GoldenCase& golden) {
  std::string folder = std::string("Z:") + DISCOVEL_TESTS_UNIX_DIR + "/golden/" + golden.name;
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return folder;
}

// Text as the add-disc dialog hands it to its session.
std::string Typed(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  std::string ansi(wide.size() * 2 + 1, '\0');
  ansi.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                                           ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                                           nullptr)));
  return ansi;
}

class QuietView final : public AddDiscView {
 public:
  void SetProgress(int) override {}
  void ShowMessage(std::string_view text) override { message = text; }
  void SetCancelCaption(std::string_view) override {}
  void ShowEditPanel(bool) override {}
  void ShowProgressPanel(bool) override {}
  void ClearFields() override {}
  void SetMark(std::string_view) override {}
  void FocusMark() override {}
  void EnableOk(bool) override {}
  void Alert(std::string_view text) override { alerts.emplace_back(text); }
  void CloseDialog(int) override {}

  std::string message;
  std::vector<std::string> alerts;
};

// The archive's file name and bytes.
struct SavedArchive {
  std::string name;
  std::string bytes;
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class CodePageGoldenTest : public test::CodePageRun {
 protected:
  // Puts the disc in the drive and adds it to an empty catalogue.
  SavedArchive AddDisc(const GoldenCase& golden) {
    test::TempFolder catalog;
    drive.InsertEmptyDisc();
    for (const DiscFile& file : golden.files) {
      drive.AddFile(file.path, file.bytes);
      EXPECT_TRUE(test::SetLocalWriteTime(drive.BehindTheDrive(file.path), file.written)) << file.path;
    }
    test::MemorySettings settings;
    test::TestText text;
    text.now = LocalTime{2025, 6, 1, 9, 15, 0, 0};
    test::ScriptedPump pump;
    QuietView view;
    AppContext context{{SystemFileSystem(), settings, text}, {catalog.Path(), test::TestDrive::kLetter}};
    AddDiscSession session(context, pump, view, [](char) { return false; }, [](char) {});
    session.Open();
    EXPECT_EQ(session.State(), AddDiscState::Editing) << view.message;
    EXPECT_TRUE(session.Ok(Typed(golden.mark), Typed(golden.location), Typed(golden.note)));
    EXPECT_TRUE(view.alerts.empty());
    const std::string& path = session.SavedArchive();
    return {path.substr(path.find_last_of('\\') + 1), ReadBytes(path)};
  }

  test::TestDrive drive;
};

TEST_F(CodePageGoldenTest, ArchivesOfTheRunsCodePageAreTheRecordedOnes) {
  const bool record = std::getenv("DISCOVEL_RECORD_GOLDEN") != nullptr;
  int compared = 0;
  for (const GoldenCase& golden : Cases()) {
    if (golden.codePage != GetACP()) continue;
    SCOPED_TRACE(golden.name);
    const SavedArchive saved = AddDisc(golden);
    const fs::path folder = GoldenFolder(golden);
    if (record) {
      fs::remove_all(folder);
      fs::create_directories(folder);
      std::ofstream(folder / saved.name, std::ios::binary) << saved.bytes;
      continue;
    }
    std::vector<fs::path> recorded;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) recorded.push_back(entry.path());
    ASSERT_EQ(recorded.size(), 1u) << "one archive is kept in " << folder.string();
    EXPECT_EQ(saved.name, recorded.front().filename().string());
    EXPECT_EQ(saved.bytes, ReadBytes(recorded.front()));
    ++compared;
  }
  if (record) {
    GTEST_SKIP() << "recorded, not compared";
  }
  if (GetACP() == 1252 || GetACP() == 1251) {
    EXPECT_GT(compared, 0);
  }
}

}  // namespace
}  // namespace discovel
