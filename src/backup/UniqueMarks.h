#pragma once
// The marks a catalogue already carries, compared as the mark test of the
// add-disc dialog compares them (upper case by the locale, blanks counting,
// a blank mark never matching), and free marks for archives that bring a
// mark already taken.
#include <set>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

class UniqueMarks {
 public:
  explicit UniqueMarks(const TextServices& text) : m_text(text) {}
  // Every mark of the archives under `folder`.
  void AddCatalog(FileSystem& fs, const std::string& folder);
  void Add(std::string_view mark);
  bool Taken(std::string_view mark) const;
  // `mark` itself when it is free, otherwise the trimmed mark followed by
  // " (2)", " (3)" and so on, the first one free. Does not take it.
  std::string FreeMarkFor(std::string_view mark) const;

 private:
  const TextServices& m_text;
  std::set<std::string> m_upper;
};

}  // namespace discovel
