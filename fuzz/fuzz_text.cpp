// UTF-8 and UTF-16 against each other, and case folding against its rules:
// names pass through both forms on every listing, so no input may change on
// the way or read past its end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/posix/PosixTextServices.h"
#include "text/CaseFold.h"
#include "text/Utf8.h"

namespace discovel::fuzz {
namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::size_t CodePoints(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += utf8::DecodeAt(text, i).length) ++count;
  return count;
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // As UTF-8: valid text survives the round trip; any text gives UTF-16 that
  // comes back unchanged.
  const std::u16string units = utf8::ToUtf16(bytes);
  if (utf8::IsValid(bytes)) fuzz::Check(utf8::FromUtf16(units) == bytes);
  fuzz::Check(utf8::ToUtf16(utf8::FromUtf16(units)) == units);

  // As UTF-16 units: every sequence of units, lone surrogates too, survives.
  std::u16string raw(size / 2, u'\0');
  for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  const std::string utf8 = utf8::FromUtf16(raw);
  fuzz::Check(utf8::IsValid(utf8));
  fuzz::Check(utf8::ToUtf16(utf8) == raw);

  // Folding is idempotent, keeps valid text valid, and keeps the number of
  // code points.
  const std::string folded = casefold::Fold(utf8);
  fuzz::Check(casefold::Fold(folded) == folded);
  fuzz::Check(utf8::IsValid(folded));
  fuzz::Check(fuzz::CodePoints(folded) == fuzz::CodePoints(utf8));

  // The code page: whatever converts exactly reads back as the same text.
  const PosixTextServices text;
  if (const auto ansi = text.ToCodePageExactly(bytes)) fuzz::Check(text.FromCodePage(*ansi) == bytes);
  fuzz::Check(text.FromCodePage(bytes).size() >= bytes.size());
  return 0;
}
