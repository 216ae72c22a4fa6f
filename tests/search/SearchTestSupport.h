#pragma once
// Building blocks for the search tests: archives written into a temporary
// catalogue, criteria the test sets directly, and a scriptable message pump.
#include <functional>
#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "platform/Platform.h"
#include "support/ScriptedPump.h"
#include "support/TestText.h"
#include "search/SearchEngine.h"

namespace discovel::test {

struct TestEntry {
  std::string folder;
  std::string name;
  std::string size = "100";
  std::string time = "879719370";  // 15/03/2006 14:30:20
};

// The entries' four lines each, then "AMark=" mark, "AFiles=" count and `extraKeys`
// (whole lines with their line ends).
inline std::string ArchiveOf(const std::vector<TestEntry>& entries, const std::string& mark,
                             const std::string& extraKeys = "") {
  std::string text;
  for (const auto& e : entries) {
    text += e.folder + "\r\n" + e.name + "\r\n" + e.size + "\r\n" + e.time + "\r\n";
  }
  text += "ADate=908218368\r\nAMark=" + mark + "\r\nAFiles=" + std::to_string(entries.size()) +
          "\r\n" + extraKeys + "AEnd=EndTag\r\n";
  return text;
}

// The same, marked as UTF-8 the way the program marks it: a key line after AEnd.
inline std::string Utf8ArchiveOf(const std::vector<TestEntry>& entries, const std::string& mark,
                                 const std::string& extraKeys = "") {
  return ArchiveOf(entries, mark, extraKeys) + "AEncoding=UTF-8\r\n";
}

inline std::string DosTimeText(int year, int month, int day, int hour, int minute, int second) {
  return std::to_string(PackDosDateTime({year, month, day, hour, minute, second, 0}));
}

// The criteria a test sets; the text and the mode are read live, as the
// window's are.
class TestCriteria {
 public:
  SearchRequest Request() const { return {[this] { return text; }, advanced, restriction}; }
  AdvancedModeQuestion Mode() const {
    return [this] { return advancedMode; };
  }

  std::string text;
  bool advancedMode = false;
  AdvancedCriteria advanced;
  std::string restriction;
};

class TestObserver final : public SearchObserver {
 public:
  void ArchiveSearched() override {
    ++archives;
    if (onArchive) onArchive();
  }
  void RowIncomplete(const std::string& message) override { reports.push_back(message); }
  void ArchiveFailed(const std::string& message) override { failures.push_back(message); }

  int archives = 0;
  std::vector<std::string> reports;
  std::vector<std::string> failures;
  std::function<void()> onArchive;
};

}  // namespace discovel::test
