#pragma once
// The rules of editing and removing archives from the catalogue window that
// need no window: rewriting an archive's mark, location and note, the edit
// dialog's OK, and the texts and selection of a removal.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/CatalogList.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// Sets AMark, then ALocation, then ANote in the archive's key block (a value
// replaces the key's line or is appended after the last key line; an empty
// value deletes the line) and replaces the file in one step. The file entries
// stay as they are, also one named like a key. False when the file could not
// be read or written.
bool ChangeValuesInArchive(FileSystem& fs, const TextServices& text, const std::string& path, std::string_view mark,
                           std::string_view location, std::string_view note);

// The edit dialog's OK is on exactly when the mark is more than blanks.
bool EditOkEnabled(std::string_view mark);

enum class EditVerdict { Close, MarkTaken };

// OK with `typed` in the mark field, which held `remembered` when the dialog
// came up: a change in letter case only is no new mark; any other mark must
// not be another archive's (`markExists`).
EditVerdict JudgeEditedMark(std::string_view typed, std::string_view remembered, const TextServices& text,
                            const std::function<bool(std::string_view mark)>& markExists);

// The question before removing `selected` rows, the first carrying `firstMark`.
std::string RemovalQuestion(std::size_t selected, std::string_view firstMark);

struct RemovalOutcome {
  // The archives left alone because a file could not be deleted, that one first.
  std::vector<std::string> kept;
  std::string failedMark;  // the mark of that archive; empty when all went
};

// Removes the archives whose files are `files` (the ones the user confirmed),
// one at a time: deletes the file (`deleteFile`), then takes out its row and
// its counts wherever the row stands by then, and calls `afterEach` (where the
// window pumps messages, so a sort may move the rows in between). An archive
// that has no row any more is left alone. Stops at the first file that cannot
// be deleted.
RemovalOutcome RemoveArchives(CatalogList& rows, const std::vector<std::string>& files,
                              const std::function<bool(const std::string& path)>& deleteFile,
                              const std::function<void()>& afterEach);

// The row to select after a removal: the one now at the position of the first
// removed row, or the last row when that is past the end; -1 with no rows.
int RowToSelectAfterRemoval(int firstRemovedPosition, int rowsLeft);

}  // namespace discovel
