#include "app/core/AboutTexts.h"

#include "catalog/NumberFormat.h"

namespace discovel {

std::string YearSpan(int firstYear, int currentYear) {
  std::string span = std::to_string(firstYear);
  if (currentYear > firstYear) span += "-" + std::to_string(currentYear);
  return span;
}

std::string FileVersionText(std::uint32_t versionMs, std::uint32_t versionLs) {
  return "v" + std::to_string(versionMs >> 16) + "." + std::to_string(versionMs & 0xFFFF) + "." +
         std::to_string(versionLs >> 16) + "." + std::to_string(versionLs & 0xFFFF);
}

std::string MemoryText(std::uint64_t totalBytes, std::string_view thousandsSeparator) {
  return FormatCount(static_cast<std::int64_t>(totalBytes / 1024), thousandsSeparator) + " KB";
}

std::string MemoryLoadText(unsigned percent) { return std::to_string(percent) + " %"; }

}  // namespace discovel
