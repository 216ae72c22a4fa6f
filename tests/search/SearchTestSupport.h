#pragma once
// Building blocks for the search tests: archives written into a temporary
// catalogue, criteria the test sets directly, and a scriptable message pump.
#include <functional>
#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "platform/Platform.h"
#include "platform/UiPump.h"
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

inline std::string DosTimeText(int year, int month, int day, int hour, int minute, int second) {
  return std::to_string(PackDosDateTime({year, month, day, hour, minute, second, 0}));
}

class TestCriteria final : public SearchCriteriaSource {
 public:
  std::string SearchText() const override { return text; }
  bool AdvancedMode() const override { return advancedMode; }
  AdvancedCriteria Advanced() const override { return advanced; }
  std::string Restriction() const override { return restriction; }

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

  int archives = 0;
  std::vector<std::string> reports;
  std::function<void()> onArchive;
};

// Counts the pumps and runs `onPump` with the count (from 1) at each.
class TestPump final : public UiPump {
 public:
  void Pump() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  bool Terminated() const override { return terminated; }

  int pumps = 0;
  bool terminated = false;
  std::function<void(int)> onPump;
};

// The system's text services with other separators.
class SeparatorText final : public TextServices {
 public:
  SeparatorText(std::string thousands, char date, char time)
      : m_thousands(std::move(thousands)), m_date(date), m_time(time) {}
  std::string ThousandsSeparator() const override { return m_thousands; }
  char DateSeparator() const override { return m_date; }
  char TimeSeparator() const override { return m_time; }
  std::string ToUpper(std::string_view text) const override {
    return SystemTextServices().ToUpper(text);
  }
  bool IsSingleByteCodePage() const override { return true; }
  UpperTable BuildUpperTable() const override { return SystemTextServices().BuildUpperTable(); }
  LocalTime Now() const override { return SystemTextServices().Now(); }

 private:
  std::string m_thousands;
  char m_date;
  char m_time;
};

// A multi-byte code page: no byte table may be used, only ToUpper.
class MultiByteText final : public TextServices {
 public:
  std::string ThousandsSeparator() const override { return ","; }
  char DateSeparator() const override { return '/'; }
  char TimeSeparator() const override { return ':'; }
  std::string ToUpper(std::string_view text) const override {
    ++upperCalls;
    return SystemTextServices().ToUpper(text);
  }
  bool IsSingleByteCodePage() const override { return false; }
  UpperTable BuildUpperTable() const override {
    UpperTable wrong;
    wrong.fill('X');  // matches everything if ever used
    return wrong;
  }
  LocalTime Now() const override { return SystemTextServices().Now(); }

  mutable int upperCalls = 0;
};

}  // namespace discovel::test
