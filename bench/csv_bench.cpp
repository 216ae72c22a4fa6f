// The CSV export of one million rows of seven fields: the file's bytes built
// and written in pieces, as the program does.
//   csv_bench [folder]   the file goes to the folder given, else the current one
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "export/CsvFields.h"
#include "export/CsvWriter.h"
#include "platform/Platform.h"

using namespace discovel;

int main(int argc, char** argv) {
  constexpr std::size_t kRows = 1000000;
  const std::vector<std::string> captions = {"Name", "Size", "Date", "Disc", "Folder", "Files", "Description"};
  const auto fillRow = [](std::size_t row, std::vector<std::string>& fields) {
    fields[0] = "report_" + std::to_string(row) + ".txt";
    fields[1] = CsvNumber(static_cast<std::int64_t>(row) * 1237);
    fields[2] = CsvDateTime({2020 + static_cast<int>(row % 7), 1 + static_cast<int>(row % 12),
                             1 + static_cast<int>(row % 28), static_cast<int>(row % 24), 30, 15});
    fields[3] = row % 50 == 0 ? "Unknown" : "Disc ä" + std::to_string(row / 1000);
    fields[4] = "\\Projects\\Year " + std::to_string(row % 30) + "\\Notes";
    fields[5] = CsvNumber(static_cast<std::int64_t>(row % 400));
    fields[6] = row % 10 == 0 ? "A note, with a comma and \"quotes\"" : "Plain words €";
  };
  std::string path = argc > 1 ? std::string(argv[1]) + "\\csv_bench.csv" : "csv_bench.csv";
  // What the rows' own texts cost, apart from the writer: the list's share.
  const double fill = bench::BestSeconds(
      [&] {
        std::vector<std::string> fields(captions.size());
        for (std::size_t row = 0; row < kRows; ++row) fillRow(row, fields);
      },
      3);
  // The export as the program makes it: built and written in pieces.
  const double exported = bench::BestSeconds(
      [&] { WriteCsvFile(SystemFileSystem(), path, captions, kRows, fillRow); }, 3);
  SystemFileSystem().RemoveFile(path);
  // The same bytes built in memory alone, for what the writing adds.
  std::string bytes;
  const double build = bench::BestSeconds(
      [&] { bytes = CsvFileBytes(captions, kRows, fillRow); }, 3);
  std::printf("CSV export of %zu rows x %zu fields (%.1f MB): written in pieces %.3f s (of which the rows' texts "
              "%.3f s; the bytes alone, built in memory, %.3f s)\n",
              kRows, captions.size(), static_cast<double>(bytes.size()) / 1e6, exported, fill, build);
  return 0;
}
