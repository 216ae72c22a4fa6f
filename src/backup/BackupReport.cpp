#include "backup/BackupReport.h"

namespace discovel {
namespace {

// A message box taller than the screen hides its OK button.
constexpr std::size_t kListedAtMost = 15;

template <class Item, class Describe>
void AppendList(std::string& text, const char* title, const std::vector<Item>& items, Describe describe) {
  if (items.empty()) return;
  text += "\r\n\r\n";
  text += title;
  for (std::size_t i = 0; i < items.size() && i < kListedAtMost; ++i) text += "\r\n    " + describe(items[i]);
  if (items.size() > kListedAtMost) text += "\r\n    ... and " + std::to_string(items.size() - kListedAtMost) + " more";
}

}  // namespace

std::string ArchiveCount(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " archive" : " archives");
}

std::string ReportText(const BackupReport& report, const std::string& headline) {
  std::string text = headline;
  AppendList(text, "Added:", report.added, [](const std::string& name) { return name; });
  AppendList(text, "Skipped:", report.skipped,
             [](const SkippedEntry& entry) { return entry.name + ": " + entry.reason; });
  for (const std::string& note : report.notes) text += "\r\n\r\n" + note;
  return text;
}

}  // namespace discovel
