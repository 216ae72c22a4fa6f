#include "backup/win32/ZipFileDialogs.h"

#include <commdlg.h>

namespace discovel {
namespace {

constexpr char kFilter[] = "Zip files (*.zip)\0*.zip\0";

std::string CurrentFolder() {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  std::string folder(size, '\0');
  const DWORD length = size == 0 ? 0 : GetCurrentDirectoryA(size, folder.data());
  folder.resize(length < size ? length : 0);
  return folder;
}

std::optional<std::string> Ask(HWND owner, std::string name, DWORD flags, bool save) {
  name.resize(MAX_PATH * 4, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrDefExt = "zip";
  // The program finds its files through its own location, never the current folder.
  dialog.Flags = flags | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  // The open dialog makes the folder it shows current whatever OFN_NOCHANGEDIR
  // says, and Windows keeps the current folder open: a zip chosen inside the
  // catalogue folder would keep a restore from renaming it. So it goes back.
  const std::string currentFolder = CurrentFolder();
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!currentFolder.empty()) SetCurrentDirectoryA(currentFolder.c_str());
  if (!chosen) return std::nullopt;
  name.resize(name.find('\0'));
  return name;
}

}  // namespace

std::optional<std::string> AskZipToSave(HWND owner, const std::string& proposedName) {
  return Ask(owner, proposedName, OFN_OVERWRITEPROMPT, true);
}

std::optional<std::string> AskZipToOpen(HWND owner) { return Ask(owner, "", OFN_FILEMUSTEXIST, false); }

}  // namespace discovel
