#include "browser/ArchiveEditing.h"

#include <algorithm>

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {

bool ChangeValuesInArchive(FileSystem& fs, const TextServices& text, const std::string& path, std::string_view mark,
                           std::string_view location, std::string_view note) {
  try {
    ArchiveLines archive = ArchiveLines::Load(fs, path, text);
    archive.SetKey(kAMark, mark);
    archive.SetKey(kALocation, location);
    archive.SetKey(kANote, note);
    archive.Save(fs, path, text);
    return true;
  } catch (const AppError&) {
    return false;
  }
}

bool EditOkEnabled(std::string_view mark) { return !TrimBlanksAndControls(mark).empty(); }

EditVerdict JudgeEditedMark(std::string_view typed, std::string_view remembered, const TextServices& text,
                            const std::function<bool(std::string_view mark)>& markExists) {
  if (text.ToUpper(typed) == text.ToUpper(remembered)) return EditVerdict::Close;
  return markExists(typed) ? EditVerdict::MarkTaken : EditVerdict::Close;
}

std::string RemovalQuestion(std::size_t selected, std::string_view firstMark) {
  if (selected == 1) return "Are you sure you want to remove: " + std::string(firstMark) + " ?";
  return "You will remove more than one archive!\nAre you sure you want to continue?";
}

RemovalOutcome RemoveArchives(CatalogList& rows, const std::vector<std::string>& files,
                              const std::function<bool(const std::string& path)>& deleteFile,
                              const std::function<void()>& afterEach) {
  RemovalOutcome outcome;
  for (auto file = files.begin(); file != files.end(); ++file) {
    const auto position = rows.PositionOf(*file);
    if (!position) continue;
    if (!deleteFile(*file)) {
      outcome.kept.assign(file, files.end());
      outcome.failedMark = rows.Row(*position).mark;
      break;
    }
    rows.RemoveAt(*position);
    afterEach();
  }
  return outcome;
}

int RowToSelectAfterRemoval(int firstRemovedPosition, int rowsLeft) {
  if (rowsLeft <= 0) return -1;
  return std::min(firstRemovedPosition, rowsLeft - 1);
}

}  // namespace discovel
