#pragma once
// Locale and clock services of the portable core: what Windows answers from the
// user's regional settings and the system code page. Text is UTF-8 unless a
// name says "Ansi" or "CodePage": those work on the code page's bytes, for
// archives of earlier versions.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace discovel {

using UpperTable = std::array<unsigned char, 256>;
// The leading part of each byte's collation key: its primary weights. In
// UTF-8 only the bytes 0x01..0x7F are characters by themselves; the entries
// of the others are empty and never used.
using PrimaryWeightTable = std::array<std::string, 256>;

class TextServices {
 public:
  virtual ~TextServices() = default;
  // The locale's digit grouping, as UTF-8 (a non-breaking space in some).
  virtual std::string ThousandsSeparator() const = 0;
  // The locale's decimal mark, as UTF-8.
  virtual std::string DecimalSeparator() const { return "."; }
  // One ASCII character each.
  virtual char DateSeparator() const = 0;
  virtual char TimeSeparator() const = 0;
  // Upper case of UTF-8 text, each character for one of its own (no "SS" for
  // a sharp s). Bytes that are no UTF-8 stay as they are.
  virtual std::string ToUpper(std::string_view text) const = 0;
  // Upper case of text in the ANSI code page (its bytes), for the search's
  // byte path through ANSI archives.
  virtual std::string AnsiToUpper(std::string_view ansi) const = 0;
  // The code page's byte-wise upper-case table, for the byte path too; valid
  // for single-byte code pages only.
  virtual bool IsSingleByteCodePage() const = 0;
  virtual UpperTable BuildUpperTable() const = 0;
  // Bytes whose plain byte order is the locale's collation of the UTF-8
  // `text`, letter case ignored. Computed once per text, it spares a sort the
  // platform's comparison in every step. Without locale rules: the
  // upper-cased bytes.
  virtual std::string CollationKey(std::string_view text) const { return ToUpper(text); }
  // When the collation key of ASCII text starts with the primary weights of
  // its characters one after another (no letter pairs that collate as one),
  // those weights per byte 0x01..0x7F: a sort can order ASCII texts by them
  // cheaply and ask for whole keys only where they tie, and must take the
  // whole key of any text with a byte 0x80 or above. nullptr otherwise.
  virtual const PrimaryWeightTable* PrimaryWeights() const { return nullptr; }
  // Appends `ansi` (text of the system code page) to `out` as UTF-8.
  virtual void AppendAsUtf8(std::string_view ansi, std::string& out) const = 0;

  // The ANSI code page, which archives of earlier versions are written in.
  // Its text as UTF-8.
  std::string FromCodePage(std::string_view ansi) const {
    std::string utf8;
    AppendAsUtf8(ansi, utf8);
    return utf8;
  }
  // The code page's bytes for UTF-8 text when every character has its own
  // there (no look-alike, no default character) and they read back as the
  // same text; nullopt otherwise.
  virtual std::optional<std::string> ToCodePageExactly(std::string_view utf8) const = 0;
  // The bytes the system's ANSI functions (FindFirstFileA) give for a name:
  // the code page's look-alike where it has one, its default character for
  // the rest.
  virtual std::string ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const = 0;
  virtual LocalTime Now() const = 0;
};

}  // namespace discovel
