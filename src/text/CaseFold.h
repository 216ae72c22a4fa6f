#pragma once
// Letter case aside, the Unicode way: simple case folding maps each code point
// to one code point ("Ä" to "ä", "Σ" and "ς" to "σ", "Ж" to "ж"), the same for
// every language, so that text compares the same on every machine.
#include <string>
#include <string_view>

namespace discovel::casefold {

char32_t Fold(char32_t code);
// UTF-8 in, UTF-8 out; bytes that are no UTF-8 are kept as they are.
std::string Fold(std::string_view utf8);
// Appends the folded text to `out`.
void AppendFolded(std::string_view utf8, std::string& out);
bool EqualFolded(std::string_view a, std::string_view b);

}  // namespace discovel::casefold
