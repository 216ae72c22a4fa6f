#include "check/CheckTexts.h"

#include "catalog/NumberFormat.h"

namespace discovel {

std::string_view StatusText(CheckStatus status) {
  switch (status) {
    case CheckStatus::kUnreadable: return "Unreadable";
    case CheckStatus::kMissing: return "Missing";
    case CheckStatus::kChanged: return "Changed";
    case CheckStatus::kNotInArchive: return "Not in archive";
  }
  return "";
}

namespace {

std::string ProblemCounts(const CheckCounts& counts, std::string_view separator) {
  return "Unreadable: " + FormatCount(counts.unreadable, separator) +
         "; Missing: " + FormatCount(counts.missing, separator) +
         "; Changed: " + FormatCount(counts.changed, separator) +
         "; Not in archive: " + FormatCount(counts.notInArchive, separator);
}

}  // namespace

std::string CheckSummaryText(const CheckCounts& counts, std::string_view thousandsSeparator) {
  const std::string files = FormatCount(counts.filesChecked, thousandsSeparator);
  if (counts.AllWell()) return "All " + files + " files read without error.";
  return "Files checked: " + files + "; " + ProblemCounts(counts, thousandsSeparator);
}

std::string CheckResultText(const CheckCounts& counts, std::string_view thousandsSeparator) {
  if (counts.AllWell()) return "OK";
  return ProblemCounts(counts, thousandsSeparator);
}

}  // namespace discovel
