#pragma once
// What a search must find, worked out the slow way: each archive read whole
// and split into its lines here, each entry's match text built as a string and
// folded whole (upper-cased by the code page in an ANSI archive, case-folded
// in a UTF-8 one), the term looked for with std::string::find.
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "search/SearchCriteria.h"

namespace discovel::fuzz {

struct SearchSetup {
  std::string typed;  // UTF-8, as the window gives it
  bool advancedMode = false;
  AdvancedCriteria advanced;
  std::string restriction;
};

struct ExpectedSearch {
  std::vector<std::string> rows;  // "mark|folder|name" as UTF-8, in the order found
  int failures = 0;  // archives that could not be read to their end; the search goes on
};

// `archives` in the order the search visits them.
ExpectedSearch ExpectedSearchOf(FileSystem& fs, const TextServices& text,
                                const SearchSetup& setup,
                                const std::vector<std::string>& archives);

}  // namespace discovel::fuzz
