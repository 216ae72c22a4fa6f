#include "platform/win32/Win32TextServices.h"

#include <windows.h>

namespace discovel {
namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  char buffer[16] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) <= 1) return fallback;
  return buffer;
}

}  // namespace

std::string Win32TextServices::ThousandsSeparator() const { return LocaleText(LOCALE_STHOUSAND, ","); }

char Win32TextServices::DateSeparator() const { return LocaleText(LOCALE_SDATE, "/")[0]; }

char Win32TextServices::TimeSeparator() const { return LocaleText(LOCALE_STIME, ":")[0]; }

std::string Win32TextServices::ToUpper(std::string_view text) const {
  std::string upper(text);
  if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

bool Win32TextServices::IsSingleByteCodePage() const {
  CPINFO info{};
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

UpperTable Win32TextServices::BuildUpperTable() const {
  UpperTable table{};
  char bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  // Byte 0 would end the text for CharUpperBuff's callers; it maps to itself anyway.
  CharUpperBuffA(bytes + 1, 255);
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(bytes[i]);
  return table;
}

LocalTime Win32TextServices::Now() const {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace discovel
