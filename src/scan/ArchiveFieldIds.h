#pragma once
// The control ids of an archive's mark, location and note fields, as the
// add-disc and edit dialogs show them (ArchiveFields); their tests use them.
namespace discovel::archiveFieldIds {

inline constexpr int kEdtMark = 20;
inline constexpr int kEdtLocation = 21;
inline constexpr int kEdtNote = 22;

}  // namespace discovel::archiveFieldIds
