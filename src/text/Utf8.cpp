#include "text/Utf8.h"

namespace discovel::utf8 {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

void Append(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

Decoded DecodeAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length;
  char32_t code;
  char32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return {kReplacement, 1};
  }
  if (text.size() - at < length) return {kReplacement, 1};
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i))) return {kReplacement, 1};
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF) return {kReplacement, 1};
  return {code, length};
}

std::string FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit < 0x80) {
      out += static_cast<char>(unit);
      continue;
    }
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      Append(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00), out);
      ++i;
    } else {
      Append(unit, out);  // a lone surrogate too
    }
  }
  return out;
}

std::u16string ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      ++i;
      continue;
    }
    const Decoded decoded = DecodeAt(text, i);
    if (decoded.code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((decoded.code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((decoded.code - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(decoded.code);
    }
    i += decoded.length;
  }
  return out;
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool IsValid(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const Decoded decoded = DecodeAt(text, i);
    if (decoded.code == kReplacement && decoded.length == 1) return false;
    i += decoded.length;
  }
  return true;
}

}  // namespace discovel::utf8
