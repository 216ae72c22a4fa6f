#pragma once
// The control ids of an archive's mark, location and note fields, as the
// add-disc and edit dialogs show them (ArchiveFields); their tests use them.
namespace discovel::archiveFieldIds {

enum : int { kEdtMark = 20, kEdtLocation, kEdtNote };

}  // namespace discovel::archiveFieldIds
