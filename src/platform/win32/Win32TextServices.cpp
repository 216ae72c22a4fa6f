#include "platform/win32/Win32TextServices.h"

#include <windows.h>

#include <climits>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"
#include "text/Utf8.h"

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

std::string Win32TextServices::ToUpper(std::string_view text) const { return AnsiToUpper(text); }

std::string Win32TextServices::AnsiToUpper(std::string_view ansi) const {
  std::string upper(ansi);
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

std::string Win32TextServices::CollationKey(std::string_view text) const {
  // The sort key orders as CompareStringA with NORM_IGNORECASE does.
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  std::string key(static_cast<std::size_t>(length) * 4 + 16, '\0');
  int written = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, reinterpret_cast<LPSTR>(key.data()),
                             static_cast<int>(key.size()));
  if (written == 0) {
    written = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, nullptr, 0);
    if (written <= 0) return ToUpper(text);
    key.assign(static_cast<std::size_t>(written), '\0');
    written = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, reinterpret_cast<LPSTR>(key.data()),
                           written);
    if (written <= 0) return ToUpper(text);
  }
  key.resize(static_cast<std::size_t>(written));
  // The key ends with a NUL that plain byte order does not need.
  if (!key.empty() && key.back() == '\0') key.pop_back();
  return key;
}

const PrimaryWeightTable* Win32TextServices::PrimaryWeights() const {
  // Worked out once per locale: some 65,000 keys.
  struct Cache {
    LCID locale = 0;
    bool usable = false;
    PrimaryWeightTable table;
  };
  static Cache cache;
  const LCID locale = GetUserDefaultLCID();
  if (cache.locale == locale) return cache.usable ? &cache.table : nullptr;
  cache.locale = locale;
  cache.usable = false;
  if (!IsSingleByteCodePage()) return nullptr;
  const auto primary = [this](std::string_view text) {
    const std::string key = CollationKey(text);
    return key.substr(0, key.find('\x01'));
  };
  for (int c = 1; c < 256; ++c) {
    const char byte = static_cast<char>(c);
    cache.table[static_cast<std::size_t>(c)] = primary(std::string_view(&byte, 1));
  }
  // Every pair of bytes must collate as its two bytes do one after the other.
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; ++b) {
      const char pair[2] = {static_cast<char>(a), static_cast<char>(b)};
      if (primary(std::string_view(pair, 2)) !=
          cache.table[static_cast<std::size_t>(a)] + cache.table[static_cast<std::size_t>(b)]) {
        return nullptr;
      }
    }
  }
  cache.usable = true;
  return &cache.table;
}

void Win32TextServices::AppendAsUtf8(std::string_view ansi, std::string& out) const {
  // Through UTF-16 in pieces that end after a line feed: a line feed is never
  // the trail byte of a double-byte character, and the sizes stay within int.
  constexpr std::size_t kPiece = 16u << 20;
  std::wstring wide;
  while (!ansi.empty()) {
    std::size_t length = ansi.size();
    if (length > kPiece) {
      const std::size_t feed = ansi.rfind('\n', kPiece - 1);
      length = feed == std::string_view::npos ? ansi.size() : feed + 1;
    }
    if (length > INT_MAX / 4) throw AppError("The text is too long to convert to UTF-8.");
    const int count = static_cast<int>(length);
    // With an explicit length neither call reads or writes a terminating NUL.
    wide.resize(static_cast<std::size_t>(count));
    const int wideCount = MultiByteToWideChar(CP_ACP, 0, ansi.data(), count, wide.data(), count);
    if (wideCount <= 0) throw AppError("The text cannot be converted to UTF-8.");
    out += Utf8(std::wstring_view(wide.data(), static_cast<std::size_t>(wideCount)));
    ansi.remove_prefix(length);
  }
}

namespace {

// WideCharToMultiByte into the ANSI code page: `exactly` without look-alikes
// and nullopt where the default character was used. Where the code page is
// UTF-8 neither may be asked for; the caller's round trip tells instead.
std::optional<std::string> ToAnsi(const std::wstring& wide, bool exactly) {
  if (wide.empty()) return std::string();
  if (wide.size() > INT_MAX / 4) return std::nullopt;
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = exactly && !utf8 ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL usedDefault = FALSE;
  BOOL* const used = exactly && !utf8 ? &usedDefault : nullptr;
  const int count = static_cast<int>(wide.size());
  const int needed = WideCharToMultiByte(CP_ACP, flags, wide.data(), count, nullptr, 0, nullptr, used);
  if (needed <= 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(CP_ACP, flags, wide.data(), count, bytes.data(), needed, nullptr, used);
  if (written <= 0 || usedDefault) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(written));
  return bytes;
}

}  // namespace

std::optional<std::string> Win32TextServices::ToCodePageExactly(std::string_view utf8) const {
  if (!utf8::IsValid(utf8)) return std::nullopt;
  const std::wstring wide = Wide(utf8);
  std::optional<std::string> bytes = ToAnsi(wide, true);
  if (!bytes) return std::nullopt;
  // Some characters convert without a default yet read back as others.
  std::wstring back(bytes->size(), L'\0');
  const int backCount = bytes->empty() ? 0
                                       : MultiByteToWideChar(CP_ACP, 0, bytes->data(), static_cast<int>(bytes->size()),
                                                             back.data(), static_cast<int>(back.size()));
  back.resize(static_cast<std::size_t>(backCount > 0 ? backCount : 0));
  if (back != wide) return std::nullopt;
  return bytes;
}

std::string Win32TextServices::ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const {
  return ToAnsi(Wide(utf8), false).value_or(std::string());
}

LocalTime Win32TextServices::Now() const {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace discovel
