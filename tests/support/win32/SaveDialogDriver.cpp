#include "support/win32/SaveDialogDriver.h"

#include <dlgs.h>

#include "support/win32/UiDriver.h"
#include "ui/WindowText.h"

namespace discovel::test {
namespace {

struct OwnedSearch {
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK FindOwnedDialog(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<OwnedSearch*>(lParam);
  if (ClassOf(hwnd) != "#32770" || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != search->owner) {
    return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

// A visible dialog box owned by `owner`, or null.
HWND OwnedDialog(HWND owner) {
  OwnedSearch search{owner};
  EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForOwnedDialog(HWND owner, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (HWND dialog = OwnedDialog(owner)) return dialog;
    if (std::chrono::steady_clock::now() > end) return nullptr;
    Sleep(10);
  }
}

// The file-name field: a combo box with an edit in the Explorer-style dialog
// of some systems, an edit in others.
HWND FileNameField(HWND dialog) {
  for (const int id : {cmb13, edt1}) {
    if (HWND field = GetDlgItem(dialog, id)) return field;
  }
  return nullptr;
}

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

SaveDialogRun SaveInDialog(HWND owner, const std::string& path, OverwriteAnswer answer,
                           std::chrono::milliseconds timeout) {
  SaveDialogRun run;
  HWND dialog = WaitForOwnedDialog(owner, timeout);
  if (!dialog) return run;
  HWND field = nullptr;
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!(field = FileNameField(dialog)) && std::chrono::steady_clock::now() < end) Sleep(10);
  if (!field) return run;
  run.proposedName = TextOf(field);
  SetTextOf(field, path);
  run.shown = true;
  Press(dialog, IDOK);
  // Either the dialog goes, or it asks first.
  HWND question = nullptr;
  while (IsWindow(dialog) && IsWindowVisible(dialog) && !(question = OwnedDialog(dialog))) {
    if (std::chrono::steady_clock::now() > end) return run;
    Sleep(10);
  }
  if (!question) return run;
  run.overwriteQuestion = MessageBoxText(question);
  Press(question, answer == OverwriteAnswer::Yes ? IDYES : IDNO);
  WaitForWindowGone(question);
  if (answer == OverwriteAnswer::No) Press(dialog, IDCANCEL);
  WaitForWindowGone(dialog);
  return run;
}

}  // namespace discovel::test
