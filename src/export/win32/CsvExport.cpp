#include "export/win32/CsvExport.h"

#include <commdlg.h>

#include <cstdio>
#include <new>
#include <string>

#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "ui/MessageBoxes.h"
#include "ui/ToolWindow.h"

namespace discovel {
namespace {

// Pairs of a description and a pattern; the literal's own NUL ends the list
// with the double NUL the dialog looks for.
constexpr char kCsvFilter[] = "CSV files (*.csv)\0*.csv\0";

// The path the user chose, or "" when the dialog was cancelled.
std::string AskForCsvPath(HWND owner, const std::string& proposedName) {
  char path[MAX_PATH] = {};
  proposedName.copy(path, MAX_PATH - 1);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kCsvFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = "csv";
  // The folder the user browses to does not become the process's current one.
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (GetSaveFileNameA(&dialog)) return path;
  // Zero is the user's cancel; anything else the dialog could not work.
  if (const DWORD error = CommDlgExtendedError()) {
    char code[16];
    std::snprintf(code, sizeof code, "%04lX", static_cast<unsigned long>(error));
    throw AppError(std::string("Cannot show the save dialog (error ") + code + ").");
  }
  return {};
}

struct BusyCursor {
  BusyCursor() { ShowBusyCursor(true); }
  ~BusyCursor() { ShowBusyCursor(false); }
};

}  // namespace

bool ExportListToCsv(HWND owner, AppContext& context, std::string_view listWord,
                     const std::vector<ExportColumn>& columns, std::size_t rowCount,
                     const ShownCellText& shown) {
  const TextServices& text = context.services.text;
  const std::string path = AskForCsvPath(owner, ProposedCsvName(listWord, text.Now()));
  if (path.empty()) return false;
  try {
    BusyCursor busy;
    WriteListCsv(context.services.files, path, columns, rowCount, shown, text);
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
