#include "ui/FileDialog.h"

#include <commdlg.h>
#include <shobjidl.h>

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

namespace {

// The shell's Open dialog object (its CLSID, written here so that no import
// library of GUIDs is needed).
constexpr CLSID kFileOpenDialog = {0xDC1C5A9C, 0xE88A, 0x4DDE, {0xA5, 0xA1, 0x60, 0xF8, 0x2A, 0x20, 0xAE, 0xF7}};

// Releases a COM interface when it goes.
template <class Interface>
struct Released {
  Interface* pointer = nullptr;
  ~Released() {
    if (pointer) pointer->Release();
  }
};

[[noreturn]] void ThrowFolderPickerError(HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(result));
  throw AppError(std::string("Cannot show the folder dialog (error ") + code + ").");
}

}  // namespace

std::optional<std::string> AskForFolder(HWND owner, const std::string& title) {
  Released<IFileOpenDialog> dialog;
  HRESULT result = CoCreateInstance(kFileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.pointer));
  if (FAILED(result)) ThrowFolderPickerError(result);
  // The options the dialog has by default are kept; these are added to them.
  FILEOPENDIALOGOPTIONS options = 0;
  if (FAILED(result = dialog.pointer->GetOptions(&options))) ThrowFolderPickerError(result);
  if (FAILED(result = dialog.pointer->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM))) {
    ThrowFolderPickerError(result);
  }
  dialog.pointer->SetTitle(Wide(title).c_str());
  result = dialog.pointer->Show(owner);
  if (result == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return std::nullopt;
  if (FAILED(result)) ThrowFolderPickerError(result);
  Released<IShellItem> item;
  if (FAILED(result = dialog.pointer->GetResult(&item.pointer))) ThrowFolderPickerError(result);
  PWSTR path = nullptr;
  if (FAILED(result = item.pointer->GetDisplayName(SIGDN_FILESYSPATH, &path))) ThrowFolderPickerError(result);
  std::string chosen = Utf8(path);
  CoTaskMemFree(path);
  return chosen;
}

}  // namespace discovel
