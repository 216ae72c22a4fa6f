#include "check/CheckRecord.h"

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/DosTime.h"
#include "check/CheckTexts.h"
#include "platform/AppError.h"

namespace discovel {

void RecordCheck(FileSystem& fs, const TextServices& text, const std::string& archivePath, const LocalTime& when,
                 const CheckCounts& counts) {
  try {
    ArchiveLines archive = ArchiveLines::Load(fs, archivePath, text);
    archive.SetKey(kALastCheck, std::to_string(PackDosDateTime(when)));
    archive.SetKey(kACheckResult, CheckResultText(counts, text.ThousandsSeparator()));
    archive.Save(fs, archivePath, text);
  } catch (const AppError& e) {
    throw AppError("The check could not be remembered in archive \"" + archivePath + "\". " + e.what());
  }
}

}  // namespace discovel
