#include "export/CsvWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include "export/CsvFields.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Csv(const std::vector<std::string>& captions, const Rows& rows) {
  return CsvFileBytes(captions, rows.size(),
                      [&](std::size_t row, std::vector<std::string>& fields) { fields = rows[row]; });
}

// The bytes after the byte-order mark.
std::string Body(const std::string& bytes) {
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  return bytes.substr(3);
}

TEST(CsvWriter, StartsWithTheMarkThenTheCaptionsAndEndsEveryLineWithCrLf) {
  const std::string bytes = Csv({"Name", "Size"}, {{"a.txt", "12"}, {"b.txt", "3"}});
  EXPECT_EQ(bytes, "\xEF\xBB\xBFName,Size\r\na.txt,12\r\nb.txt,3\r\n");
  EXPECT_EQ(Csv({"Name"}, {}), "\xEF\xBB\xBFName\r\n");
}

TEST(CsvWriter, QuotesOnlyFieldsThatNeedItAndDoublesQuotes) {
  const std::string body = Body(Csv({"F"}, {{"plain text"},
                                            {""},
                                            {"a,b"},
                                            {"say \"hi\""},
                                            {"line\rbreak"},
                                            {"line\nbreak"},
                                            {" leading"},
                                            {"trailing "},
                                            {"\""}}));
  EXPECT_EQ(body,
            "F\r\n"
            "plain text\r\n"
            "\r\n"
            "\"a,b\"\r\n"
            "\"say \"\"hi\"\"\"\r\n"
            "\"line\rbreak\"\r\n"
            "\"line\nbreak\"\r\n"
            "\" leading\"\r\n"
            "\"trailing \"\r\n"
            "\"\"\"\"\r\n");
}

TEST(CsvWriter, CaptionsAreQuotedLikeFields) {
  EXPECT_EQ(Body(Csv({"Size, bytes", "Name"}, {})), "\"Size, bytes\",Name\r\n");
}

TEST(CsvWriter, WritesTextOfEveryScriptExactly) {
  const std::string body =
      Body(Csv({"Name", "Größe"}, {{"東京の写真.jpg", "Ελληνικά, και 🎵"}, {"Привет €", " 😀 "}}));
  EXPECT_EQ(body,
            "Name,Größe\r\n"
            "東京の写真.jpg,\"Ελληνικά, και 🎵\"\r\n"
            "Привет €,\" 😀 \"\r\n");
}

TEST(CsvWriter, WritesRowsInTheGivenOrderAndUnknownUntouched) {
  const std::string body = Body(Csv({"Disc", "Date"}, {{"b", "Unknown"}, {"a", CsvDateTime({2025, 1, 2, 3, 4, 5})}}));
  EXPECT_EQ(body, "Disc,Date\r\nb,Unknown\r\na,2025-01-02 03:04:05\r\n");
}

TEST(CsvFields, NumbersArePlainDigits) {
  EXPECT_EQ(CsvNumber(0), "0");
  EXPECT_EQ(CsvNumber(999), "999");
  EXPECT_EQ(CsvNumber(1234567), "1234567");
  EXPECT_EQ(CsvNumber(5000000000LL), "5000000000");
  EXPECT_EQ(CsvNumber(-1234), "-1234");
  EXPECT_EQ(CsvNumber(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(CsvNumber(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(CsvFields, DatesAlwaysCarryTheTime) {
  EXPECT_EQ(CsvDateTime({2024, 2, 29, 23, 59, 58, 999}), "2024-02-29 23:59:58");
  EXPECT_EQ(CsvDateTime({1999, 12, 1, 0, 0, 0}), "1999-12-01 00:00:00");
  EXPECT_EQ(CsvDateTime({2026, 3, 7, 9, 5, 4}), "2026-03-07 09:05:04");
}

// A list of many rows with fields to quote and characters beyond ASCII,
// about `bytes` long as a file.
struct LongList {
  explicit LongList(std::size_t bytes) : rows(bytes / 60) {}
  std::size_t rows;
  std::vector<std::string> captions{"Name", "Size, bytes", "Note"};
  CsvRowSource fill = [](std::size_t row, std::vector<std::string>& fields) {
    fields[0] = "file " + std::to_string(row) + ".txt";
    fields[1] = std::to_string(row * 1237);
    fields[2] = row % 3 == 0 ? "a note, with \"quotes\" and ä" : "€ plain 東京";
  };
};

std::vector<std::string> FolderNames(const test::TempFolder& folder) {
  std::vector<std::string> names;
  SystemFileSystem().ListFolder(folder.Path(), "*", [&](const DirEntry& entry) {
    names.push_back(entry.name);
    return true;
  });
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CsvPieces, TheBytesAreTheSameInWhateverPiecesTheyAreMade) {
  const LongList list(100000);
  std::string whole;
  ProduceCsvPieces(list.captions, list.rows, list.fill, [&](std::string_view piece) { whole += piece; },
                   std::size_t{1} << 30);
  std::string inPieces;
  int pieces = 0;
  ProduceCsvPieces(
      list.captions, list.rows, list.fill,
      [&](std::string_view piece) {
        ++pieces;
        inPieces += piece;
      },
      1);
  EXPECT_EQ(inPieces, whole);
  EXPECT_GT(pieces, 1000);  // a line at a time
  EXPECT_EQ(whole.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(whole.find("\xEF\xBB\xBF", 3), std::string::npos);
  EXPECT_NE(whole.find("\"a note, with \"\"quotes\"\" and ä\"\r\n"), std::string::npos);
  EXPECT_NE(whole.find(",€ plain 東京\r\n"), std::string::npos);
}

// A file system that notes the size of every piece written.
class PieceCounter final : public test::ForwardingFileSystem {
 public:
  std::unique_ptr<ReplacingWriter> OpenReplacing(const std::string& path) override {
    class Counted final : public ReplacingWriter {
     public:
      Counted(std::unique_ptr<ReplacingWriter> inner, std::vector<std::size_t>& pieces)
          : m_inner(std::move(inner)), m_pieces(pieces) {}
      void Write(std::string_view bytes) override {
        m_pieces.push_back(bytes.size());
        m_inner->Write(bytes);
      }
      void Commit() override { m_inner->Commit(); }

     private:
      std::unique_ptr<ReplacingWriter> m_inner;
      std::vector<std::size_t>& m_pieces;
    };
    return std::make_unique<Counted>(m_fs.OpenReplacing(path), pieces);
  }
  std::vector<std::size_t> pieces;
};

TEST(CsvFile, ALongListIsWrittenInPiecesOfBoundedSize) {
  test::TempFolder folder;
  folder.WriteFile("list.csv", "old");
  const LongList list(4 * kCsvPieceBytes);
  PieceCounter fs;
  WriteCsvFile(fs, folder / "list.csv", list.captions, list.rows, list.fill);
  EXPECT_EQ(folder.ReadFile("list.csv"), CsvFileBytes(list.captions, list.rows, list.fill));
  EXPECT_GE(fs.pieces.size(), 3u);
  // A piece's text and its conversion, never the whole list.
  for (const std::size_t piece : fs.pieces) EXPECT_LE(piece, 2 * kCsvPieceBytes);
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"list.csv"}));
}

TEST(CsvFile, AFailureWhileWritingKeepsTheEarlierFileWholeAndLeavesNoTemporary) {
  test::TempFolder folder;
  folder.WriteFile("list.csv", "earlier,file\r\n");
  const LongList list(3 * kCsvPieceBytes);
  // The list gives out (memory, say) after some pieces are written.
  const CsvRowSource failing = [&](std::size_t row, std::vector<std::string>& fields) {
    if (row == list.rows - 1) throw std::bad_alloc();
    list.fill(row, fields);
  };
  EXPECT_THROW(WriteCsvFile(SystemFileSystem(), folder / "list.csv", list.captions, list.rows, failing),
               std::bad_alloc);
  EXPECT_EQ(folder.ReadFile("list.csv"), "earlier,file\r\n");
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"list.csv"}));
}

TEST(CsvFile, AFileThatCannotBeReplacedIsNamedWithTheReasonAndNoTemporaryStays) {
  test::TempFolder folder;
  // A folder with a file in it where the list should go: it cannot be replaced.
  folder.MakeFolder("list.csv");
  folder.WriteFile("list.csv\\inside.txt", "kept");
  const LongList list(1000);
  try {
    WriteCsvFile(SystemFileSystem(), folder / "list.csv", list.captions, list.rows, list.fill);
    FAIL() << "the write did not fail";
  } catch (const FileError& error) {
    EXPECT_THAT(error.what(), testing::StartsWith("Cannot write file \"" + folder / "list.csv" + "\". "));
  }
  EXPECT_EQ(folder.ReadFile("list.csv\\inside.txt"), "kept");
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"list.csv"}));
}

TEST(CsvFile, AFileOfTheUsersNamedLikeATemporaryIsLeftAlone) {
  test::TempFolder folder;
  folder.WriteFile("list.csv.tmp", "mine");
  const LongList list(1000);
  WriteCsvFile(SystemFileSystem(), folder / "list.csv", list.captions, list.rows, list.fill);
  EXPECT_EQ(folder.ReadFile("list.csv"), CsvFileBytes(list.captions, list.rows, list.fill));
  EXPECT_EQ(folder.ReadFile("list.csv.tmp"), "mine");
  EXPECT_EQ(FolderNames(folder).size(), 2u);  // the list and the user's file
}

}  // namespace
}  // namespace discovel
