#pragma once
// "Other copies" of the files a check lists: the files of the same name (any
// letter case) and size that the other archives hold, with the folder and the
// name each archive gives them, as that is where they are. A check lists
// few files, so the catalogue is read once, plainly, and each entry is looked
// up by the hash of the duplicate search's key among just those files'.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/CheckRow.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "catalog/CatalogQueries.h"

namespace discovel {

struct CopyWanted {
  std::string name;
  std::int64_t size = 0;
};

// Per wanted file, its copies in the archives under `catalogFolder` other than
// `checkedArchive`: ordered by mark ("Unknown" for an archive without one) in
// byte order, then by archive, then as the archive lists them. An archive that
// cannot be read or is damaged is passed over. Pumps after every archive
// (`pacing`); false when it stopped early.
bool FindOtherCopies(FileSystem& fs, const TextServices& text, const WalkPacing& pacing, std::string_view catalogFolder,
                     const std::string& checkedArchive, const std::vector<CopyWanted>& wanted,
                     std::vector<std::vector<ArchivedCopy>>& copies);

// The same for the rows of a check, into their otherCopies.
bool FillOtherCopies(FileSystem& fs, const TextServices& text, const WalkPacing& pacing, std::string_view catalogFolder,
                     const std::string& checkedArchive, std::vector<CheckRow>& rows);

}  // namespace discovel
