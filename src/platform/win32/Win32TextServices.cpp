#include "platform/win32/Win32TextServices.h"

#include <windows.h>

#include <climits>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  wchar_t buffer[16] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16) <= 1) return fallback;
  return Utf8(buffer);
}

// A separator the parsers compare byte by byte: its first character, which
// must be ASCII to be one byte of UTF-8.
char LocaleCharacter(LCTYPE type, char fallback) {
  const std::string text = LocaleText(type, "");
  return !text.empty() && static_cast<unsigned char>(text[0]) < 0x80 ? text[0] : fallback;
}

// Upper case of well-formed UTF-8 through its UTF-16, unit for unit.
std::string UpperOfWellFormed(std::string_view utf8) {
  std::wstring wide = Wide(utf8);
  if (!wide.empty()) CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return Utf8(wide);
}

// A byte that starts no UTF-8 sequence.
bool IsStrayByte(std::string_view text, std::size_t at) {
  const utf8::Decoded decoded = utf8::DecodeAt(text, at);
  return decoded.code == utf8::kReplacement && decoded.length == 1;
}

}  // namespace

std::string Win32TextServices::ThousandsSeparator() const { return LocaleText(LOCALE_STHOUSAND, ","); }

std::string Win32TextServices::DecimalSeparator() const { return LocaleText(LOCALE_SDECIMAL, "."); }

char Win32TextServices::DateSeparator() const { return LocaleCharacter(LOCALE_SDATE, '/'); }

char Win32TextServices::TimeSeparator() const { return LocaleCharacter(LOCALE_STIME, ':'); }

std::string Win32TextServices::ToUpper(std::string_view text) const {
  if (utf8::IsValid(text)) return UpperOfWellFormed(text);
  // Bytes that are no UTF-8 stay as they are, so nothing of the text is lost.
  std::string upper;
  upper.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size() && !IsStrayByte(text, end)) end += utf8::DecodeAt(text, end).length;
    upper += UpperOfWellFormed(text.substr(at, end - at));
    if (end < text.size()) upper += text[end++];
    at = end;
  }
  return upper;
}

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
  // The sort key orders as CompareStringEx with NORM_IGNORECASE does. Its
  // size is in bytes, though the buffer is passed as wide characters.
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  if (text.empty()) return {};
  const std::wstring wide = Wide(text);
  if (wide.size() > INT_MAX / 16) return ToUpper(text);
  const int length = static_cast<int>(wide.size());
  const auto map = [&](std::string& key) {
    return LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide.data(), length,
                         key.empty() ? nullptr : reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(key.size()),
                         nullptr, nullptr, 0);
  };
  std::string key(static_cast<std::size_t>(length) * 8 + 16, '\0');
  int written = map(key);
  if (written == 0) {
    key.clear();
    written = map(key);
    if (written <= 0) return ToUpper(text);
    key.assign(static_cast<std::size_t>(written), '\0');
    written = map(key);
    if (written <= 0) return ToUpper(text);
  }
  key.resize(static_cast<std::size_t>(written));
  // The key ends with a NUL that plain byte order does not need.
  if (!key.empty() && key.back() == '\0') key.pop_back();
  return key;
}

const PrimaryWeightTable* Win32TextServices::PrimaryWeights() const {
  // Worked out once per locale: some 16,000 keys. Only the bytes 0x01..0x7F
  // are characters by themselves in UTF-8; the others are parts of longer
  // sequences, have no weights of their own, and their entries stay empty.
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
  const auto primary = [this](std::string_view text) {
    const std::string key = CollationKey(text);
    return key.substr(0, key.find('\x01'));
  };
  cache.table = {};
  for (int c = 1; c < 0x80; ++c) {
    const char byte = static_cast<char>(c);
    cache.table[static_cast<std::size_t>(c)] = primary(std::string_view(&byte, 1));
  }
  // Every pair must collate as its two characters do one after the other: a
  // locale where two letters sort as one (Czech "ch") has no such table.
  for (int a = 1; a < 0x80; ++a) {
    for (int b = 1; b < 0x80; ++b) {
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
