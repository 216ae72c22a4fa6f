// The archives the program writes for discs read through the real file system
// under a code page, held against the files kept in tests/golden/, which the
// versions that kept all text in the code page wrote for the same discs: an
// archive that a user's catalogue holds must come out the same to the byte,
// or his next adding of that disc would not see it as archived; and a disc
// whose names those versions could not keep must still be known by theirs.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/AppContext.h"
#include "platform/Platform.h"
#include "scan/AddDiscSession.h"
#include "support/MemorySettings.h"
#include "support/QuietAddDiscView.h"
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
  // An archive of names that do not fit the code page, as earlier versions
  // wrote it: not written so again, but known.
  bool lossy;
  std::vector<DiscFile> files;
  const char* mark;  // typed, UTF-8
  const char* location;
  const char* note;
};

const std::vector<GoldenCase>& Cases() {
  static const std::vector<GoldenCase> cases = {
      {"fits-cp1252",
       1252,
       false,
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
       false,
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
       true,
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
  void PutDiscInTheDrive(const GoldenCase& golden) {
    drive.InsertEmptyDisc();
    for (const DiscFile& file : golden.files) {
      drive.AddFile(file.path, file.bytes);
      EXPECT_TRUE(test::SetLocalWriteTime(drive.BehindTheDrive(file.path), file.written)) << file.path;
    }
  }
  std::unique_ptr<AddDiscSession> Session() {
    return std::make_unique<AddDiscSession>(context, pump, view, [](char) { return false; }, [](char) {});
  }
  std::vector<fs::path> Recorded(const GoldenCase& golden) {
    std::vector<fs::path> recorded;
    for (const fs::directory_entry& entry : fs::directory_iterator(GoldenFolder(golden))) {
      recorded.push_back(entry.path());
    }
    EXPECT_EQ(recorded.size(), 1u) << "one archive is kept in " << GoldenFolder(golden);
    return recorded;
  }

  test::TestDrive drive;
  test::TempFolder catalog;
  test::MemorySettings settings;
  test::TestText text = [] {
    test::TestText fixed;
    fixed.now = LocalTime{2025, 6, 1, 9, 15, 0, 0};
    return fixed;
  }();
  test::ScriptedPump pump;
  test::QuietAddDiscView view;
  AppContext context{{SystemFileSystem(), settings, text}, {catalog.Path(), test::TestDrive::kLetter}};
};

TEST_F(CodePageGoldenTest, DiscsWhoseNamesFitTheCodePageGetTheArchivesEarlierVersionsWrote) {
  int compared = 0;
  for (const GoldenCase& golden : Cases()) {
    if (golden.codePage != GetACP() || golden.lossy) continue;
    SCOPED_TRACE(golden.name);
    PutDiscInTheDrive(golden);
    test::TempFolder fresh;
    context.run.catalogFolder = fresh.Path();
    auto session = Session();
    session->Open();
    ASSERT_EQ(session->State(), AddDiscState::Editing) << view.message;
    ASSERT_TRUE(session->Ok(golden.mark, golden.location, golden.note));
    const std::vector<fs::path> recorded = Recorded(golden);
    ASSERT_FALSE(recorded.empty());
    const std::string& path = session->SavedArchive();
    EXPECT_EQ(path.substr(path.find_last_of('\\') + 1), recorded.front().filename().string());
    EXPECT_EQ(ReadBytes(path), ReadBytes(recorded.front()));
    ++compared;
  }
  if (GetACP() == 1252 || GetACP() == 1251) {
    EXPECT_GT(compared, 0);
  }
}

TEST_F(CodePageGoldenTest, ADiscArchivedWithLostNamesIsKnownAndItsArchiveRewrittenExactly) {
  for (const GoldenCase& golden : Cases()) {
    if (golden.codePage != GetACP() || !golden.lossy) continue;
    SCOPED_TRACE(golden.name);
    PutDiscInTheDrive(golden);
    const std::vector<fs::path> recorded = Recorded(golden);
    ASSERT_FALSE(recorded.empty());
    const std::string name = recorded.front().filename().string();
    fs::copy_file(recorded.front(), test::NativePath(catalog / name));
    view.confirm = true;
    auto session = Session();
    session->Open();
    EXPECT_EQ(session->State(), AddDiscState::AlreadyArchived);
    EXPECT_EQ(view.questions, std::vector<std::string>{std::string(kMsgOfferRewrite)});
    EXPECT_EQ(session->SavedArchive(), catalog / name);
    const std::string rewritten = ReadBytes(test::NativePath(catalog / name));
    for (const DiscFile& file : golden.files) {
      const std::string_view path = file.path;
      const std::size_t cut = path.find_last_of('\\');
      const std::string entry = cut == std::string_view::npos
                                    ? "\\\r\n" + std::string(path) + "\r\n"
                                    : std::string(path.substr(0, cut)) + "\r\n" + std::string(path.substr(cut + 1)) + "\r\n";
      EXPECT_NE(rewritten.find(entry), std::string::npos) << file.path;
    }
    EXPECT_NE(rewritten.find("\r\nAMark=" + std::string(golden.mark) + "\r\n"), std::string::npos);
    EXPECT_TRUE(rewritten.ends_with("AEnd=EndTag\r\nAEncoding=UTF-8\r\n"));
  }
}

}  // namespace
}  // namespace discovel
