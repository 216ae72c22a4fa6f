// The engine's building blocks, each against a plain reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "search/LineLocator.h"
#include "search/ReadAhead.h"
#include "search/SearchResults.h"
#include "search/SharedReadPass.h"
#include "search/WholeFileBuffer.h"
#include "search/TextSearcher.h"

namespace discovel {
namespace {

std::size_t NaiveFind(std::string_view text, std::size_t from, std::size_t to,
                      std::string_view term, const UpperTable& fold) {
  for (std::size_t p = from; p + term.size() <= to; ++p) {
    std::size_t k = 0;
    while (k < term.size() && fold[static_cast<unsigned char>(text[p + k])] ==
                                  static_cast<unsigned char>(term[k])) {
      ++k;
    }
    if (k == term.size()) return p;
  }
  return to;
}

TEST(TextSearcher, AgreesWithANaiveSearch) {
  const UpperTable upper = SystemTextServices().BuildUpperTable();
  // Three bytes folding to one: too many for the block compare.
  UpperTable crowded = IdentityTable();
  crowded['a'] = crowded['b'] = 'A';
  // Two bytes folding to one that differ in more than one bit (0x80 and 'B',
  // 0x9F and 0xFF): the block compare tests both.
  UpperTable paired = IdentityTable();
  paired[0x80] = 'B';
  paired[0x9F] = 0xFF;
  const UpperTable* folds[] = {&IdentityTable(), &upper, &crowded, &paired};
  std::mt19937 random(7);
  const std::string alphabet = "aAbB.\xE9\xC9\xFF\x9F\x80";
  const auto randomText = [&](std::size_t length) {
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 6000; ++round) {
    const std::string text = randomText(random() % 90);
    std::string term = randomText(1 + random() % 5);
    const UpperTable& fold = *folds[round % 4];
    if (round % 4 != 0) {  // now and then a term that cannot match at all
      for (char& c : term) c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
    }
    const TextSearcher searcher(term, fold);
    const std::size_t from = text.empty() ? 0 : random() % text.size();
    const std::size_t to = from + random() % (text.size() - from + 1);
    EXPECT_EQ(searcher.Find(text.data(), from, to), NaiveFind(text, from, to, term, fold))
        << "text " << text << " term " << term << " from " << from << " to " << to;
  }
}

std::size_t NaiveLineEnds(std::string_view bytes, std::size_t from, std::size_t to);

// Counting line ends on the way changes no hit, and counts as a plain loop.
TEST(TextSearcher, CountsLineEndsUpToTheHit) {
  const UpperTable upper = SystemTextServices().BuildUpperTable();
  UpperTable paired = IdentityTable();
  paired[0x80] = 'B';
  const UpperTable* folds[] = {&IdentityTable(), &upper, &paired};
  std::mt19937 random(17);
  const std::string alphabet = "aAbB\r\n\r\n..\x80";
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    const std::size_t length = random() % (round % 8 == 0 ? 3000 : 200);
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    // Rare terms too, so that the blocks run long before a hit.
    std::string term = round % 3 == 0 ? "BAB.B" : "";
    for (std::size_t k = 1 + random() % 4; term.empty() && k > 0; --k) {
      term += alphabet[random() % 4];
    }
    const UpperTable& fold = *folds[round % 3];
    for (char& c : term) c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
    const TextSearcher searcher(term, fold);
    const std::size_t from = text.empty() || round % 4 == 0 ? 0 : random() % text.size();
    const std::size_t to = from + random() % (text.size() - from + 1);
    std::size_t lineEnds = 12345;
    const std::size_t hit = searcher.FindCountingLines(text.data(), from, to, lineEnds);
    ASSERT_EQ(hit, NaiveFind(text, from, to, term, fold)) << round;
    ASSERT_EQ(lineEnds, NaiveLineEnds(text, from, hit)) << round;
  }
}

TEST(TextSearcher, StaysInsideTheRange) {
  const TextSearcher searcher("ABC", IdentityTable());
  const std::string text = "xxABCxxABC";
  EXPECT_EQ(searcher.Find(text.data(), 0, 10), 2u);
  EXPECT_EQ(searcher.Find(text.data(), 3, 10), 7u);
  EXPECT_EQ(searcher.Find(text.data(), 3, 9), 9u);  // the hit would end past `to`
  EXPECT_EQ(searcher.Find(text.data(), 0, 1), 1u);
  EXPECT_EQ(TextSearcher("", IdentityTable()).Find(text.data(), 4, 10), 4u);
}

std::string_view Text(std::string_view bytes, const LineLocator::Span& span) {
  return bytes.substr(span.begin, span.end - span.begin);
}

std::size_t NaiveLineEnds(std::string_view bytes, std::size_t from, std::size_t to) {
  std::size_t count = 0;
  for (std::size_t i = from; i < to; ++i) {
    count += bytes[i] == '\r' || (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'));
  }
  return count;
}

// Line starts as the archive reader splits the bytes.
std::vector<std::size_t> ReferenceBegins(const ArchiveText& text) {
  std::vector<std::size_t> begins;
  for (std::size_t i = 0; i < text.LineCount(); ++i) {
    begins.push_back(static_cast<std::size_t>(text.Line(i).data() - text.Line(0).data()));
  }
  return begins;
}

std::string RandomLines(std::mt19937& random, int pieces) {
  static const std::string kPieces[] = {"\r", "\n", "\r\n", "\n\r", "a", "bc", "=",
                                        "a rather longer line of text"};
  std::string bytes;
  for (int i = 0; i < pieces; ++i) bytes += kPieces[random() % 8];
  return bytes;
}

// Asked in the search's order (forward, now and then back a little), the
// locator answers as the archive reader splits the lines.
TEST(LineLocator, AgreesWithTheArchiveReader) {
  std::mt19937 random(11);
  LineLocator lines;  // reused, as for the archives of a search
  for (int round = 0; round < 1500; ++round) {
    // Long enough now and then for the sixteen-byte blocks and the far skips.
    const std::string bytes = RandomLines(random, static_cast<int>(random() % (round % 10 == 0 ? 3000 : 40)));
    const ArchiveText text(bytes);
    const std::vector<std::size_t> begins = ReferenceBegins(text);
    lines.Reset(bytes);
    std::size_t line = 0;
    for (int step = 0; step < 40; ++step) {
      const auto pick = random();
      if (pick % 4 == 0) {
        line += random() % (round % 10 == 0 ? 200 : 4);
        ASSERT_EQ(lines.Has(line), line < begins.size()) << round;
        if (line < begins.size()) {
          ASSERT_EQ(lines.Begin(line), begins[line]) << round;
        }
      } else if (pick % 4 == 1 && !bytes.empty()) {
        const std::size_t offset = random() % bytes.size();
        if (bytes[offset] == '\r' || bytes[offset] == '\n') continue;
        const std::size_t expected =
            std::upper_bound(begins.begin(), begins.end(), offset) - begins.begin() - 1;
        ASSERT_EQ(lines.LineAt(offset), expected) << round << " " << offset;
      } else if (pick % 4 == 2) {
        // An entry's lines, or past the end: a damaged archive.
        LineLocator::Span spans[4];
        ASSERT_EQ(lines.Lines(line, 4, spans), line + 4 <= begins.size()) << round;
        for (std::size_t k = 0; k < 4 && line + 4 <= begins.size(); ++k) {
          ASSERT_EQ(spans[k].begin, begins[line + k]) << round;
          ASSERT_EQ(Text(bytes, spans[k]), text.Line(line + k)) << round;
        }
      } else {
        line -= std::min<std::size_t>(line, random() % 3);
      }
    }
    ASSERT_EQ(lines.Count(), begins.size()) << round;
    ASSERT_FALSE(lines.Has(std::uint64_t{1} << 40));
  }
}

TEST(LineLocator, FarLinesEitherWay) {
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += "line " + std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  bytes += "last, unended";
  LineLocator lines;
  lines.Reset(bytes);
  EXPECT_TRUE(lines.Has(20000));
  EXPECT_FALSE(lines.Has(20001));
  EXPECT_EQ(lines.Begin(20000), bytes.find("last"));
  // Back to the start, then a hit far on, counted from the nearest line known.
  EXPECT_EQ(lines.Begin(1), bytes.find("line 1\n"));
  EXPECT_EQ(lines.LineAt(bytes.find("line 15000")), 15000u);
  EXPECT_EQ(lines.LineAt(bytes.find("ine 12")), 12u);
  EXPECT_EQ(lines.Begin(14999), bytes.find("line 14999"));
  EXPECT_EQ(lines.Count(), 20001u);
  LineLocator::Span last[2];
  EXPECT_TRUE(lines.Lines(19999, 2, last));
  EXPECT_EQ(Text(bytes, last[1]), "last, unended");
  // Asked past the end first, it still knows how far the lines go.
  lines.Reset(bytes);
  EXPECT_FALSE(lines.Lines(30000, 4, last));
  EXPECT_FALSE(lines.Has(25000));
  EXPECT_EQ(lines.Count(), 20001u);
  lines.Reset(bytes);
  EXPECT_FALSE(lines.Lines(19999, 4, last));
  EXPECT_TRUE(lines.Has(20000));
  EXPECT_FALSE(lines.Has(20001));
  lines.Reset("");
  EXPECT_FALSE(lines.Has(0));
  EXPECT_EQ(lines.Count(), 0u);
}

TEST(LineLocator, CountsLineEndsLikeAPlainLoop) {
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    const std::string bytes = RandomLines(random, static_cast<int>(random() % 120));
    const std::size_t from = bytes.empty() ? 0 : random() % bytes.size();
    const std::size_t to = from + random() % (bytes.size() - from + 1);
    ASSERT_EQ(CountLineEnds(bytes.data(), from, to), NaiveLineEnds(bytes, from, to)) << round;
  }
  // An LF right after a CR ends no line of its own, even across a range's start.
  const std::string crLf = "ab\r\ncd";
  EXPECT_EQ(CountLineEnds(crLf.data(), 3, 6), 0u);
  EXPECT_EQ(CountLineEnds(crLf.data(), 2, 6), 1u);
}

std::optional<std::string_view> KeyFromTheEnd(std::string_view bytes, std::string_view key) {
  std::vector<std::string_view> lastFirst;
  FindKeyBlockLines(bytes, lastFirst);
  for (auto line = lastFirst.rbegin(); line != lastFirst.rend(); ++line) {
    if (auto value = keyblock::ValueIfKey(*line, key)) return value;
  }
  return std::nullopt;
}

TEST(LineLocator, KeyBlockFromTheEndAsTheReaderFindsIt) {
  EXPECT_EQ(KeyFromTheEnd("x\r\nAFiles=2\r\nAFiles=3\r\n\r\n\r\n", "afiles"), "2");
  EXPECT_EQ(KeyFromTheEnd("AMark=a=b\nAFiles=1", "AMark"), "a=b");  // all keys, no last line end
  EXPECT_EQ(KeyFromTheEnd("AMark=x\r\n10\r\nAFiles=1\r", "AMark"), std::nullopt);
  EXPECT_EQ(KeyFromTheEnd("", "AMark"), std::nullopt);
  EXPECT_EQ(KeyFromTheEnd("\r\n\n\r", "AMark"), std::nullopt);
  std::mt19937 random(3);
  for (int round = 0; round < 3000; ++round) {
    const std::string bytes = RandomLines(random, static_cast<int>(random() % 30)) +
                              (round % 2 ? "AFiles=7\r\nAMark= m \r\n" : "") +
                              RandomLines(random, static_cast<int>(random() % 6));
    const ArchiveText text(bytes);
    for (const std::string_view key : {kAFiles, kAMark, std::string_view("a")}) {
      ASSERT_EQ(KeyFromTheEnd(bytes, key), text.FindKey(key)) << round;
    }
  }
}

// A file handed out in chunks of a chosen size; it can fail, wait for the test,
// and tells which thread read it and when it is closed.
struct TestFile {
  std::string bytes;
  std::size_t chunk = 4093;
  bool failRead = false;
  bool badAlloc = false;
  std::atomic<bool> hold{false};  // Read waits while set
  std::atomic<bool> reading{false};
  std::atomic<bool> closed{false};
  std::atomic<int> reads{0};  // that handed out bytes
  std::thread::id reader;
};

class TestReader final : public BlockReader {
 public:
  explicit TestReader(TestFile& file) : m_file(file) {}
  ~TestReader() override { m_file.closed = true; }
  std::size_t Read(char* buffer, std::size_t size) override {
    m_file.reader = std::this_thread::get_id();
    m_file.reading = true;
    while (m_file.hold) std::this_thread::yield();
    if (m_file.failRead) throw FileError("Cannot read file \"test\".");
    if (m_file.badAlloc) throw std::bad_alloc();
    const std::size_t count = std::min({size, m_file.chunk, m_file.bytes.size() - m_done});
    m_file.bytes.copy(buffer, count, m_done);
    m_done += count;
    if (count > 0) ++m_file.reads;
    return count;
  }

 private:
  TestFile& m_file;
  std::size_t m_done = 0;
};

template <class Condition>
bool Eventually(const Condition& condition) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST(ReadAhead, HandsBackEveryFileWholeAndInOrder) {
  std::mt19937 random(9);
  std::vector<std::unique_ptr<TestFile>> files;
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{(1 << 20) + 17},
                                 std::size_t{300}, std::size_t{3 << 20}, std::size_t{70000}}) {
    auto file = std::make_unique<TestFile>();
    for (std::size_t i = 0; i < size; ++i) file->bytes += static_cast<char>(random());
    file->chunk = 1 + random() % 100000;
    files.push_back(std::move(file));
  }
  ReadAhead readAhead;
  readAhead.Add(std::make_unique<TestReader>(*files[0]));
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string_view bytes = readAhead.Take();
    if (i + 1 < files.size()) readAhead.Add(std::make_unique<TestReader>(*files[i + 1]));
    ASSERT_EQ(bytes, files[i]->bytes) << i;
    EXPECT_TRUE(files[i]->closed) << i;
  }
}

TEST(ReadAhead, ReadsTheNextFileOnItsThreadWhileOneIsSearched) {
  TestFile first, second;
  first.bytes = "first";
  second.bytes = "second";
  second.hold = true;
  ReadAhead readAhead;
  readAhead.Add(std::make_unique<TestReader>(first));
  EXPECT_EQ(readAhead.Take(), "first");
  EXPECT_EQ(first.reader, std::this_thread::get_id());  // nothing else could yet
  readAhead.Add(std::make_unique<TestReader>(second));
  ASSERT_TRUE(Eventually([&] { return second.reading.load(); }));
  EXPECT_NE(second.reader, std::this_thread::get_id());
  second.hold = false;
  EXPECT_EQ(readAhead.Take(), "second");
  EXPECT_EQ(readAhead.ReadOnThread(), 1);
}

TEST(ReadAhead, FailuresComeBackInTheirTurn) {
  TestFile ok, failing, tooLarge, last;
  ok.bytes = "ok";
  failing.failRead = true;
  tooLarge.badAlloc = true;
  last.bytes = "last";
  ReadAhead readAhead;
  readAhead.Add(std::make_unique<TestReader>(ok));
  EXPECT_EQ(readAhead.Take(), "ok");
  readAhead.AddFailure(std::make_exception_ptr(FileError("Cannot open file \"1.dat\".")));
  try {
    readAhead.Take();
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file \"1.dat\".");
  }
  readAhead.Add(std::make_unique<TestReader>(failing));
  EXPECT_THROW(readAhead.Take(), FileError);
  readAhead.Add(std::make_unique<TestReader>(tooLarge));
  EXPECT_THROW(readAhead.Take(), std::bad_alloc);
  readAhead.Add(std::make_unique<TestReader>(last));
  EXPECT_EQ(readAhead.Take(), "last");
  EXPECT_TRUE(failing.closed && tooLarge.closed);
}

TEST(ReadAhead, AFileNotTakenIsDroppedAndOnlyTwoWait) {
  TestFile first, second, third;
  first.bytes = second.bytes = third.bytes = "x";
  {
    ReadAhead readAhead;
    EXPECT_THROW(readAhead.Take(), std::logic_error);
    readAhead.Add(std::make_unique<TestReader>(first));
    readAhead.Take();
    readAhead.Add(std::make_unique<TestReader>(second));
    // The one taken and the one queued fill both places.
    EXPECT_THROW(readAhead.Add(std::make_unique<TestReader>(third)), std::logic_error);
  }
  EXPECT_TRUE(second.closed);
}

// Each file finished in order with its bytes or its own error, whichever side
// read it: failures to open, to read, to fit in memory and to digest.
TEST(SharedReadPass, FinishesEveryFileInOrderWithItsBytesOrItsError) {
  std::mt19937 random(4);
  std::vector<std::unique_ptr<TestFile>> files;
  for (int i = 0; i < 40; ++i) {
    auto file = std::make_unique<TestFile>();
    const std::size_t size = i % 7 == 3 ? (1 << 20) + 5 : random() % 5000;
    for (std::size_t k = 0; k < size; ++k) file->bytes += static_cast<char>('a' + random() % 26);
    file->chunk = 1 + random() % 70000;
    file->failRead = i == 5;
    file->badAlloc = i == 17;
    files.push_back(std::move(file));
  }
  std::vector<std::string> finished;
  SharedReadPass<std::string> pass;
  pass.Run(
      files.size(),
      [&](std::size_t file) -> std::unique_ptr<BlockReader> {
        if (file == 9) throw FileError("Cannot open file \"9.dat\".");
        return std::make_unique<TestReader>(*files[file]);
      },
      [&](std::size_t file, std::string_view bytes, std::string& result, int) {
        if (file == 30) throw AppError("damaged");
        result.assign(bytes);
      },
      [&](std::size_t file, std::string& result, std::exception_ptr error) {
        EXPECT_EQ(file, finished.size());
        if (!error) {
          EXPECT_EQ(result, files[file]->bytes) << file;
          finished.push_back("ok");
          return;
        }
        try {
          std::rethrow_exception(error);
        } catch (const std::bad_alloc&) {
          finished.push_back("too large");
        } catch (const std::exception& e) {
          finished.push_back(e.what());
        }
      },
      [] {});
  ASSERT_EQ(finished.size(), files.size());
  EXPECT_EQ(finished[5], "Cannot read file \"test\".");
  EXPECT_EQ(finished[9], "Cannot open file \"9.dat\".");
  EXPECT_EQ(finished[17], "too large");
  EXPECT_EQ(finished[30], "damaged");
  EXPECT_EQ(std::count(finished.begin(), finished.end(), "ok"), 36);
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_TRUE(i == 9 || files[i]->closed) << i;
}

TEST(SharedReadPass, BothHelpersDigestAtOnceAndAStopFromFinishEndsThePass) {
  std::vector<std::unique_ptr<TestFile>> files;
  for (int i = 0; i < 12; ++i) {
    files.push_back(std::make_unique<TestFile>());
    files.back()->bytes = std::to_string(i);
  }
  // The first file read waits until the second is being read too: only two
  // threads get there, neither of them the caller's.
  files[0]->hold = true;
  bool bothRead = false;
  std::thread release([&] {
    bothRead = Eventually([&] { return files[1]->reading.load(); });
    files[0]->hold = false;
  });
  std::vector<bool> opened(files.size(), false);
  std::vector<std::size_t> finished;
  {
    SharedReadPass<int> pass;
    EXPECT_THROW(pass.Run(
                     files.size(),
                     [&](std::size_t file) {
                       opened[file] = true;
                       return std::make_unique<TestReader>(*files[file]);
                     },
                     [](std::size_t, std::string_view, int&, int) {},
                     [&](std::size_t file, int&, std::exception_ptr) {
                       finished.push_back(file);
                       if (file == 2) throw std::runtime_error("stop");
                     },
                     [] {}),
                 std::runtime_error);
  }
  release.join();
  EXPECT_TRUE(bothRead);
  EXPECT_NE(files[0]->reader, files[1]->reader);
  EXPECT_NE(files[0]->reader, std::this_thread::get_id());
  EXPECT_NE(files[1]->reader, std::this_thread::get_id());
  EXPECT_EQ(finished, (std::vector<std::size_t>{0, 1, 2}));
  // A few files are opened ahead, no more; all are closed with the pass.
  EXPECT_FALSE(opened[11]);
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(files[i]->closed.load(), opened[i]) << i;
}

// A file of `size` bytes, a run of letters that a block out of place would
// break (its length shares no factor with a MiB), handed out a MiB at a time.
std::unique_ptr<TestFile> FileOfSize(std::size_t size) {
  std::string run;
  for (int i = 0; i < 1021; ++i) run += static_cast<char>('a' + i % 23);
  auto file = std::make_unique<TestFile>();
  file->bytes.reserve(size + run.size());
  while (file->bytes.size() < size) file->bytes += run;
  file->bytes.resize(size);
  file->chunk = 1 << 20;
  return file;
}

constexpr std::size_t kMiB = std::size_t{1} << 20;

TEST(WholeFileBuffer, TakesAFileAtItsSizeAndLetsALargeOneGoOnceItIsDoneWith) {
  WholeFileBuffer buffer;
  const auto middle = FileOfSize(5 * kMiB + 1);
  middle->chunk = 70000;
  const auto small = FileOfSize(100);
  const auto large = FileOfSize(20 * kMiB);
  {
    TestReader reader(*middle);
    ASSERT_TRUE(buffer.ReadWhole(reader));
  }
  EXPECT_EQ(buffer.Bytes(), middle->bytes);
  EXPECT_EQ(buffer.CapacityBytes(), 6 * kMiB);  // whole blocks, not twice the file
  // A buffer most archives fit in stays for the next file.
  buffer.Release();
  {
    TestReader reader(*small);
    ASSERT_TRUE(buffer.ReadWhole(reader));
  }
  EXPECT_EQ(buffer.Bytes(), small->bytes);
  EXPECT_EQ(buffer.CapacityBytes(), 6 * kMiB);
  buffer.Release();
  {
    TestReader reader(*large);
    ASSERT_TRUE(buffer.ReadWhole(reader));
  }
  EXPECT_EQ(buffer.Bytes(), large->bytes);
  EXPECT_EQ(buffer.CapacityBytes(), 20 * kMiB);
  // Once done with, a large archive takes its buffer along.
  buffer.Release();
  {
    TestReader reader(*small);
    ASSERT_TRUE(buffer.ReadWhole(reader));
  }
  EXPECT_EQ(buffer.Bytes(), small->bytes);
  EXPECT_EQ(buffer.CapacityBytes(), kMiB);
}

TEST(SharedReadPass, ALargeFileLeavesNoLargeBufferBehind) {
  std::vector<std::unique_ptr<TestFile>> files;
  files.push_back(FileOfSize(24 * kMiB));
  for (int i = 0; i < 10; ++i) files.push_back(FileOfSize(100));
  std::size_t digested = 0;
  SharedReadPass<std::size_t> pass;
  pass.Run(
      files.size(), [&](std::size_t file) { return std::make_unique<TestReader>(*files[file]); },
      [](std::size_t, std::string_view bytes, std::size_t& result, int) { result = bytes.size(); },
      [&](std::size_t file, std::size_t& result, std::exception_ptr error) {
        EXPECT_FALSE(error);
        EXPECT_EQ(result, files[file]->bytes.size());
        ++digested;
      },
      [] {});
  EXPECT_EQ(digested, files.size());
  EXPECT_LE(pass.BufferBytes(), 4 * WholeFileBuffer::kBlockBytes);
}

TEST(ReadAhead, ALargeFileLeavesNoLargeBufferBehind) {
  const auto large = FileOfSize(24 * kMiB);
  const auto small = FileOfSize(100);
  ReadAhead readAhead;
  readAhead.Add(std::make_unique<TestReader>(*large));
  EXPECT_EQ(readAhead.Take().size(), large->bytes.size());
  readAhead.Add(std::make_unique<TestReader>(*small));
  EXPECT_EQ(readAhead.Take(), small->bytes);
  EXPECT_LE(readAhead.BufferBytes(), WholeFileBuffer::kBlockBytes);
}

// The window's thread reads no file itself: while a helper waits on a slow
// one, the caller pauses (pumps messages) and takes the others' results.
TEST(SharedReadPass, TheCallerPausesWhileAHelperWaitsOnASlowFile) {
  std::vector<std::unique_ptr<TestFile>> files;
  for (int i = 0; i < 6; ++i) files.push_back(FileOfSize(10 + i));
  files[0]->hold = true;
  // Should the pass never pause, the file is let go all the same.
  std::atomic<bool> passOver{false};
  std::thread watchdog([&] {
    Eventually([&] { return passOver.load(); });
    files[0]->hold = false;
  });
  int pauses = 0;
  int finished = 0;
  SharedReadPass<int> pass;
  pass.Run(
      files.size(), [&](std::size_t file) { return std::make_unique<TestReader>(*files[file]); },
      [](std::size_t, std::string_view, int&, int side) { EXPECT_NE(side, 0); },
      [&](std::size_t, int&, std::exception_ptr error) {
        EXPECT_FALSE(error);
        ++finished;
      },
      [&] {
        if (++pauses == 3) files[0]->hold = false;
      });
  passOver = true;
  watchdog.join();
  EXPECT_EQ(finished, 6);
  EXPECT_GE(pauses, 3);
  for (const auto& file : files) EXPECT_NE(file->reader, std::this_thread::get_id());
}

// A Cancel seen while pausing ends the pass once the slow file's block is in:
// the rest of the file is not read.
TEST(SharedReadPass, AStopFromAPauseEndsThePassWithoutReadingTheSlowFileOn) {
  std::vector<std::unique_ptr<TestFile>> files;
  files.push_back(FileOfSize(8 * kMiB));
  files.push_back(FileOfSize(10));
  files[0]->hold = true;
  std::atomic<bool> paused{false};
  std::thread release([&] {
    Eventually([&] { return paused.load(); });
    // Time for the pass to unwind to the end of its helpers.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    files[0]->hold = false;
  });
  SharedReadPass<int> pass;
  EXPECT_THROW(pass.Run(
                   files.size(), [&](std::size_t file) { return std::make_unique<TestReader>(*files[file]); },
                   [](std::size_t, std::string_view, int&, int) {}, [](std::size_t, int&, std::exception_ptr) {},
                   [&] {
                     paused = true;
                     throw std::runtime_error("cancelled");
                   }),
               std::runtime_error);
  release.join();
  EXPECT_EQ(files[0]->reads.load(), 1);
  EXPECT_TRUE(files[0]->closed);
}

TEST(SearchResults, KeepsRowsAndPartRowsAcrossChunks) {
  SearchResults results;
  const std::string longCell(3 << 20, 'L');  // larger than a chunk
  for (int i = 0; i < 40000; ++i) {
    results.BeginRow("CD " + std::to_string(i));
    results.AppendCell("Music\\Rock\\Folder number " + std::to_string(i));
    results.AppendCell(i == 20000 ? longCell : "track.mp3");
    if (i % 7 == 0) continue;  // left incomplete
    results.AppendCell("mp3");
    results.AppendCell("15/03/2006 14:30:20");
    results.AppendCell(std::to_string(i));
  }
  ASSERT_EQ(results.RowCount(), 40000u);
  for (int i : {0, 1, 6999, 19999, 20000, 20001, 39999}) {
    const auto row = static_cast<std::size_t>(i);
    EXPECT_EQ(results.Cell(row, FoundColumn::kArchive), "CD " + std::to_string(i));
    EXPECT_EQ(results.Cell(row, FoundColumn::kDirectory),
              "Music\\Rock\\Folder number " + std::to_string(i));
    EXPECT_EQ(results.Cell(row, FoundColumn::kFile), i == 20000 ? longCell : "track.mp3");
    if (i % 7 == 0) {
      EXPECT_EQ(results.FilledColumns(row), 3);
      EXPECT_EQ(results.Cell(row, FoundColumn::kType), "");
      EXPECT_EQ(results.Cell(row, FoundColumn::kSize), "");
    } else {
      EXPECT_EQ(results.FilledColumns(row), 6);
      EXPECT_EQ(results.Cell(row, FoundColumn::kSize), std::to_string(i));
    }
  }
  results.Clear();
  EXPECT_TRUE(results.Empty());
  results.BeginRow("");
  EXPECT_EQ(results.Cell(0, FoundColumn::kArchive), "");
  EXPECT_EQ(results.Cell(0, FoundColumn::kDirectory), "");
}

TEST(SearchResults, ARowPastTheBudgetIsDroppedWhole) {
  SearchResults results(4 << 20);
  results.BeginRow("CD 1");
  results.AppendCell("kept");
  // The cell needs a chunk of its own that the budget has no room for.
  results.BeginRow("CD 2");
  EXPECT_THROW(results.AppendCell(std::string(5 << 20, 'x')), ResultsFull);
  ASSERT_EQ(results.RowCount(), 1u);
  EXPECT_EQ(results.Cell(0, FoundColumn::kDirectory), "kept");
  // What was freed serves the next row.
  results.BeginRow("CD 3");
  results.AppendCell("next");
  EXPECT_EQ(results.RowCount(), 2u);
  EXPECT_EQ(results.Cell(1, FoundColumn::kArchive), "CD 3");
  EXPECT_EQ(results.Cell(1, FoundColumn::kDirectory), "next");
  EXPECT_LE(results.MemoryBytes(), std::size_t{4} << 20);

  // Room for one block of row records and no second: the row that would need
  // the second block is refused, and every row before it stays.
  SearchResults probe;
  probe.BeginRow("x");
  SearchResults oneBlock(probe.MemoryBytes() + 64);
  std::size_t begun = 0;
  try {
    for (;; ++begun) oneBlock.BeginRow("row " + std::to_string(begun));
  } catch (const ResultsFull&) {
  }
  ASSERT_GT(begun, 1000u);
  EXPECT_EQ(oneBlock.RowCount(), begun);
  EXPECT_EQ(oneBlock.Cell(begun - 1, FoundColumn::kArchive), "row " + std::to_string(begun - 1));
}

}  // namespace
}  // namespace discovel
