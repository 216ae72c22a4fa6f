#pragma once
// Driving the system's save dialog from a test's second thread, as the user
// does: the file's full path typed into the file-name field, then Save, and
// the question asked before a file is overwritten answered.
#include <windows.h>

#include <chrono>
#include <string>

namespace discovel::test {

enum class OverwriteAnswer { Yes, No };

struct SaveDialogRun {
  bool shown = false;             // the dialog came and took the path
  std::string proposedName;       // the file-name field's text when it came
  std::string overwriteQuestion;  // "" when the dialog did not ask
};

// From a second thread: waits for the save dialog of `owner`, saves under
// `path` and answers the overwrite question, if it comes, as `answer` says.
// After No the dialog is cancelled, as the user closes it then.
SaveDialogRun SaveInDialog(HWND owner, const std::string& path, OverwriteAnswer answer = OverwriteAnswer::Yes,
                           std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace discovel::test
