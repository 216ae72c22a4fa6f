#include "ui/FileDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"

namespace discovel {
namespace {

// Room for the longest path the system takes (32,767 characters and its NUL).
constexpr std::size_t kPathRoom = 32768;

}  // namespace

std::optional<std::string> AskForFile(const FileDialogArgs& args) {
  std::wstring path = Wide(args.proposedName);
  path.resize(std::max(path.size() + 1, kPathRoom), L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = args.owner;
  dialog.lpstrFilter = args.filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = args.defaultExtension;
  dialog.Flags = args.flags | OFN_EXPLORER;
  const BOOL chosen = args.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (chosen) {
    path.resize(path.find(L'\0'));
    return Utf8(path);
  }
  // Zero is the user's cancel; anything else the dialog could not work.
  if (const DWORD error = CommDlgExtendedError()) {
    char code[16];
    std::snprintf(code, sizeof code, "%04lX", static_cast<unsigned long>(error));
    const std::string which = args.save ? "save" : "open";
    throw AppError("Cannot show the " + which + " dialog (error " + code + ").");
  }
  return std::nullopt;
}

}  // namespace discovel
