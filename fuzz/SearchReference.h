#pragma once
// What a search must find, worked out the slow way: each archive read whole
// with the catalogue's reader, each entry's match text built as a string and
// upper-cased whole, the term looked for with std::string::find.
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "search/SearchCriteria.h"

namespace discovel::fuzz {

struct SearchSetup {
  std::string typed;
  bool advancedMode = false;
  AdvancedCriteria advanced;
  std::string restriction;
};

struct ExpectedSearch {
  std::vector<std::string> rows;  // "mark|folder|name", in the order found
  int failures = 0;  // archives that could not be read to their end; the search goes on
};

// `archives` in the order the search visits them.
ExpectedSearch ExpectedSearchOf(FileSystem& fs, const TextServices& text,
                                const SearchSetup& setup,
                                const std::vector<std::string>& archives);

}  // namespace discovel::fuzz
