#pragma once
// A window of the program shown modally: its loop runs until a result is
// set, every other window of the program waits meanwhile, and the form sees
// its keys first (dialog navigation, Escape closing on its release). The
// dialogs and the list windows are such forms.
#include <memory>
#include <set>
#include <vector>

#include "platform/ModalResult.h"
#include "platform/ScopeExit.h"
#include "ui/Form.h"
#include "ui/MessagePump.h"

namespace discovel {

class ModalForm : public Form {
 public:
  // Shows the window and runs its modal loop until a result is set.
  int ShowModal();
  void EndModal(int result);
  int ModalResult() const { return m_modalResult; }
  // The window that owns it. Without one it is the active window, which is
  // none while the program is in the background: a window that an event
  // opens names its owner.
  void SetOwner(HWND owner) { m_owner = owner; }

 protected:
  HWND Owner() const { return m_owner; }
  // Enter moves to the next control (Shift+Enter to the previous) in this edit.
  void UseEditKeyFilter(HWND edit) { m_filteredEdits.insert(edit); }

  // Runs once, after the window exists and before it is first shown.
  virtual void OnShowing() {}
  // The window became the active window.
  virtual void OnActivated() {}

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;

 private:
  int m_modalResult = 0;
  HWND m_owner = nullptr;
  std::set<HWND> m_filteredEdits;
};

// While it lives, every other shown window of the program's thread is
// disabled, as they are behind a modal window.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND keep);
  ~OtherWindowsDisabled();
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

 private:
  std::vector<HWND> m_disabled;
};

// After a modal window closed: the form that opened it decides again what it
// allows (its KeyState).
void ModalDialogReturned(HWND owner);

// The opener convention of every modal window: at most one open at a time (a
// second call returns `alreadyOpen` at once), created and shown modally, then
// destroyed (also when an error ends the modal loop) before pending messages
// are processed, so that nothing reaches a window that has ended.
template <class T, class Make>
int RunModalOnce(T*& current, Make make, int alreadyOpen = 0) {
  if (current) return alreadyOpen;
  int result = 0;
  HWND owner = nullptr;
  {
    std::unique_ptr<T> form = make();
    ScopeExit forget([&current] { current = nullptr; });
    current = form.get();
    form->Create();
    owner = GetWindow(form->Handle(), GW_OWNER);
    result = form->ShowModal();
  }
  PumpMessages();
  ModalDialogReturned(owner);
  return result;
}

}  // namespace discovel
