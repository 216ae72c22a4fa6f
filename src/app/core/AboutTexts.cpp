#include "app/core/AboutTexts.h"

#include "catalog/NumberFormat.h"

namespace discovel {

// Both texts are built by appending: GCC 12 reports a false -Wrestrict on a
// string literal added before a std::string ("v" + text) once it is inlined.
std::string YearSpan(int firstYear, int currentYear) {
  std::string span = std::to_string(firstYear);
  if (currentYear > firstYear) {
    span += '-';
    span += std::to_string(currentYear);
  }
  return span;
}

std::string FileVersionText(std::uint32_t versionMs, std::uint32_t versionLs) {
  std::string text = "v";
  for (const std::uint32_t part : {versionMs >> 16, versionMs & 0xFFFF, versionLs >> 16, versionLs & 0xFFFF}) {
    if (text.size() > 1) text += '.';
    text += std::to_string(part);
  }
  return text;
}

std::string MemoryText(std::uint64_t totalBytes, std::string_view thousandsSeparator) {
  return FormatCount(static_cast<std::int64_t>(totalBytes / 1024), thousandsSeparator) + " KB";
}

std::string MemoryLoadText(unsigned percent) { return std::to_string(percent) + " %"; }

}  // namespace discovel
