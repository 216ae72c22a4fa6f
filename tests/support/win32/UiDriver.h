#pragma once
// Driving modal windows from a test: a second thread polls for the window (never
// a fixed sleep), reads what it shows and answers it, while the test's own
// thread sits in the window's modal loop.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace discovel::test {

// Polls `condition` while pumping this thread's messages; false on timeout.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Texts are UTF-8, class names and captions too.

// Finds a top-level window of this process by class and caption (null: any).
HWND FindProcessWindow(const char* className, const char* caption);

// A visible top-level window of another process by class; null when it has none.
HWND FindWindowOfProcess(DWORD processId, const char* className);

// The text of a message box (its static control).
std::string MessageBoxText(HWND box);

// From a second thread: the first visible window of this process (or of any
// process) with this class, polled for until `timeout`; null when none came.
HWND WaitForWindow(const char* className, bool anyProcess = false,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Polls until the window is gone.
bool WaitForWindowGone(HWND hwnd, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// From a second thread: runs `open` (posting what opens a pop-up menu) and
// returns the menu's window once it has stayed up; null when none came. Under
// Wine an activation change still on its way (after a message box) may
// dismiss a menu just shown, having chosen nothing: it is opened again then.
// `owner` is the window whose thread shows the menu.
HWND OpenPopUpMenu(HWND owner, const std::function<void()>& open);
std::string ControlText(HWND dialog, int id);
// Gives a dialog's control the text, as WM_SETTEXT does.
void SetControlText(HWND dialog, int id, std::string_view text);
// A window's caption.
std::string WindowCaption(HWND window);
// A window's class name.
std::string ClassOf(HWND window);
// The caption of a menu's item at `position`; "" for none.
std::string MenuCaption(HMENU menu, int position);
// The items of a combo box, in its order.
std::vector<std::string> ComboItems(HWND combo);
// Polls until the control's text starts with `prefix`; returns the text seen last.
std::string WaitForControlText(HWND dialog, int id, const std::string& prefix,
                               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Clicks a button of a dialog the way the user does.
void Click(HWND dialog, int id);
// The mouse pressed and let go on a control (twice: a double click), posted.
// On a tool button the focus, and the command with it, stay where they were.
void ClickWithMouse(HWND control, bool twice = false);
// Posts a key's press and release to `window`, as the keyboard delivers them
// to the window with the focus.
void PressKey(HWND window, UINT virtualKey);
// A key going down or up through the system's input queue, to whichever
// window has the keyboard focus then (SendInput).
void SendKeyInput(UINT virtualKey, bool down);
// Types `text` through the system's input queue into the control with the
// keyboard focus, as an input method does: characters, not keys
// (SendInput with KEYEVENTF_UNICODE), so any script comes through.
void TypeText(std::string_view text);
// What the system sends `window` when a volume comes into the drives of
// `unitMask` (bit 0: A:); DBTF_MEDIA in `flags` for a disc.
void SendVolumeArrival(HWND window, DWORD unitMask, WORD flags);
// From a second thread: waits for a message box of this process, presses its
// button `buttonId` (IDOK, IDYES, ...) and returns the box's text once it is
// gone; "" when none came.
std::string AnswerMessageBox(int buttonId, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// The control with the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);

// Runs a script on a second thread while the test's thread sits in a modal
// loop; joined when it goes out of scope.
class Script {
 public:
  explicit Script(std::function<void()> body) : m_thread(std::move(body)) {}
  ~Script() { Join(); }
  void Join() {
    if (m_thread.joinable()) m_thread.join();
  }
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

 private:
  std::thread m_thread;
};

}  // namespace discovel::test
