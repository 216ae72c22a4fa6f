#pragma once
// The system's Open and Save dialogs and its folder picker, with UTF-8 paths on the program's side
// and no limit of 260 characters on the path chosen.
#include <windows.h>

#include <optional>
#include <string>

namespace discovel {

struct FileDialogArgs {
  HWND owner = nullptr;
  // Pairs of a description and a pattern, each ended by a NUL; the
  // literal's own NUL ends the list with the double NUL the dialog wants.
  const wchar_t* filter = nullptr;
  const wchar_t* defaultExtension = nullptr;
  std::string proposedName;  // the file name the dialog opens with
  DWORD flags = 0;           // OFN_... besides OFN_EXPLORER
  bool save = false;         // the Save dialog, else the Open dialog
};

// The path the user chose; nullopt when the dialog was cancelled. Throws
// AppError, with the dialog's error code, when it could not work.
std::optional<std::string> AskForFile(const FileDialogArgs& args);

// The shell's folder picker: a folder of the file system (a drive's root or a
// share's too), as the system names it ("E:\Photos", "E:\"); nullopt when it
// was cancelled. The thread has COM as a single-threaded apartment. Throws
// AppError when the picker could not work.
std::optional<std::string> AskForFolder(HWND owner, const std::string& title);

}  // namespace discovel
