#include "export/win32/CsvExport.h"

#include <commdlg.h>

#include <new>
#include <optional>
#include <string>

#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "ui/FileDialog.h"
#include "ui/MessageBoxes.h"
#include "ui/ToolWindow.h"

namespace discovel {
namespace {

constexpr wchar_t kCsvFilter[] = L"CSV files (*.csv)\0*.csv\0";

struct BusyCursor {
  BusyCursor() { ShowBusyCursor(true); }
  ~BusyCursor() { ShowBusyCursor(false); }
};

}  // namespace

bool ExportListToCsv(HWND owner, AppContext& context, std::string_view listWord,
                     const std::vector<ExportColumn>& columns, std::size_t rowCount,
                     const ShownCellText& shown) {
  const TextServices& text = context.services.text;
  // The folder the user browses to does not become the process's current one.
  const std::optional<std::string> path =
      AskForFile({.owner = owner,
                  .filter = kCsvFilter,
                  .defaultExtension = L"csv",
                  .proposedName = ProposedCsvName(listWord, text.Now()),
                  .flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY,
                  .save = true});
  if (!path) return false;
  try {
    BusyCursor busy;
    WriteListCsv(context.services.files, *path, columns, rowCount, shown, text);
  } catch (const FileError& error) {
    ShowAlert(owner, CsvWriteFailureText(error.what()));
    return false;
  } catch (const std::bad_alloc&) {
    // The file is written in pieces, so this is rare; the earlier file stays.
    ShowAlert(owner, "Not enough memory to export the list. The file was not written.");
    return false;
  }
  return true;
}

}  // namespace discovel
