#include "backup/win32/ZipFileDialogs.h"

#include <commdlg.h>

#include "platform/ScopeExit.h"
#include "ui/FileDialog.h"

namespace discovel {
namespace {

constexpr wchar_t kFilter[] = L"Zip files (*.zip)\0*.zip\0";

std::wstring CurrentFolder() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(size, L'\0');
  const DWORD length = size == 0 ? 0 : GetCurrentDirectoryW(size, folder.data());
  folder.resize(length < size ? length : 0);
  return folder;
}

std::optional<std::string> Ask(HWND owner, std::string name, DWORD flags, bool save) {
  // The open dialog makes the folder it shows current whatever OFN_NOCHANGEDIR
  // says, and Windows keeps the current folder open: a zip chosen inside the
  // catalogue folder would keep a restore from renaming it. So it goes back.
  const std::wstring currentFolder = CurrentFolder();
  const ScopeExit restoreFolder([&] {
    if (!currentFolder.empty()) SetCurrentDirectoryW(currentFolder.c_str());
  });
  // The program finds its files through its own location, never the current folder.
  return AskForFile({.owner = owner,
                     .filter = kFilter,
                     .defaultExtension = L"zip",
                     .proposedName = std::move(name),
                     .flags = flags | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR,
                     .save = save});
}

}  // namespace

std::optional<std::string> AskZipToSave(HWND owner, const std::string& proposedName) {
  return Ask(owner, proposedName, OFN_OVERWRITEPROMPT, true);
}

std::optional<std::string> AskZipToOpen(HWND owner) { return Ask(owner, "", OFN_FILEMUSTEXIST, false); }

}  // namespace discovel
