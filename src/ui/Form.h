#pragma once
// Base of every window of the program: registers its class, attaches `this` to
// the window at WM_NCCREATE and routes messages to a virtual handler that no
// exception can escape. Commands (WM_COMMAND and released keys) go through the
// form's command table to its actions; notifications of its controls
// (WM_NOTIFY) go to the control wrappers that asked for them.
#include <windows.h>

#include <bitset>
#include <map>
#include <memory>
#include <string>

#include "ui/CommandTable.h"
#include "platform/win32/Handles.h"
#include "ui/ButtonPictures.h"
#include "ui/Controls.h"
#include "ui/PlacementKeeper.h"
#include "ui/core/DesignLayout.h"

namespace discovel {

// A control wrapper that takes its control's notifications.
class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // True when handled; `result` is then what the window procedure returns.
  virtual bool OnNotify(const NMHDR& header, LRESULT& result) = 0;
};

// A control wrapper that takes its control's WM_COMMAND notifications
// (an edit's change, a check box's click).
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // True when handled; otherwise the command goes to the form's command
  // table (a check box bound to an action).
  virtual bool OnCommandCode(WORD code) = 0;
};

class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Handle() const { return m_hwnd; }
  // The Form behind a window of ours, or null.
  static Form* FromHandle(HWND hwnd);
  // Offers a queued message to the form that owns its window (released keys,
  // key preview, dialog navigation) before it is dispatched. True: consumed.
  static bool RouteMessage(MSG& msg);

  // Decides which of the form's commands are enabled (and checked) by the
  // rules of its command table, from the state they read. Runs after every
  // command, when a menu opens and after a modal dialog that the form
  // opened has closed.
  virtual void KeyState() { m_commands.ApplyRules(); }

  // Sends the notifications of `control` (a child of this form) to `target`;
  // null ends that.
  void RouteNotifications(HWND control, NotifyTarget* target);
  // Sends the WM_COMMAND notifications of `control` to `target`; null ends that.
  void RouteCommands(HWND control, CommandTarget* target);

  // The DPI the window is laid out at: the one it was made at, then the one
  // of each WM_DPICHANGED.
  UINT Dpi() const { return m_dpi; }
  // The size of the client area in design units, as the window was designed.
  DesignSize DesignClient() const { return m_designClient; }
  // Lays `control` (a child of this window) out at `rect` with `anchors`, now
  // and whenever the window's size or DPI changes.
  void Place(HWND control, const DesignRect& rect, unsigned anchors);
  // `control` (anywhere below this window) has the font of `role`; a change
  // of DPI gives it that role's font at the new DPI.
  void KeepFontRole(HWND control, FontRole role);

  // What a window and the pieces it is made of (a list with its commands)
  // add their commands to and bind their buttons with.
  CommandTable& Commands() { return m_commands; }
  // Runs the command `id` as its button would, then decides again what the
  // form allows. False when it did not run (disabled, or no such command).
  bool RunCommand(UINT id);
  // Binds `button` to `action`'s command: the button follows the action's
  // enabled and checked states, shows its hint as a tool tip, and shows the
  // command's picture if it has one.
  void BindButton(HWND button, Action& action);
  // The same for the command the button sends (its control id).
  void BindButton(HWND button);
  // Shows `picture` on `button`, drawn at the window's DPI and drawn again
  // when that changes. The form owns the pictures. A picture button shows
  // it alone; a button with a caption at least 48 design units tall shows a
  // 32-unit picture above its caption, a lower one a 16-unit picture left of it.
  void ShowPicture(HWND button, ButtonPicture picture);

 protected:
  struct WindowSpec {
    const char* className = nullptr;
    const char* caption = "";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    // The client area's design size (96 DPI); the window is made this size
    // at its DPI, with room for a one-line menu bar when it has a menu.
    DesignSize client;
    bool hasMenu = false;
    HWND owner = nullptr;
    HICON icon = nullptr;
    HBRUSH background = nullptr;  // null: the window colour
  };

  // Registers the class once and creates the window; throws AppError on failure.
  void CreateFormWindow(const WindowSpec& params);
  // Messages of this window. The default passes them on to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Sees every queued message for this window and its controls before they do,
  // once the command table has passed on it.
  virtual bool PreTranslate(MSG& msg) { return false; }
  // Called at WM_NCDESTROY, after which Handle() is null.
  virtual void OnWindowDestroyed() {}
  // The window's DPI changed (it moved to another screen, or the scale was
  // changed): the form makes again what it drew at the old DPI (pictures,
  // image lists). Fonts and laid-out controls follow by themselves; the
  // window takes its new size after this.
  virtual void OnDpiChanged() {}
  // The outer size of the window for a client area of `client` design units.
  SIZE OuterSizeAtDpi(DesignSize client) const;
  // Destroys the window without a word to this form. A form whose controls
  // hold what it owns (a list's image lists) calls it first in its destructor,
  // so that no control outlives what it draws with.
  void DestroyDetached();
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // The tool tips of the window's controls.
  Hints& ControlHints();
  // Opens the pop-up `menu` at `at` (screen coordinates) once KeyState has
  // decided what it allows; its choice comes back as a command.
  void PopUpMenu(HMENU menu, POINT at);

  // The control that takes the keyboard focus when the window opens (an
  // edit gets its whole text selected, so typing replaces it). Later
  // activations give the focus back to the control that had it when the
  // window was left.
  void SetOpeningFocus(HWND control);
  // The control that waited for the focus, hidden when the window was
  // activated, takes it now it is shown, if the window is still active.
  void FocusShownControl();

  // Restores the window's stored placement (call before it is first shown)
  // and stores it again whenever the user moves, sizes, maximizes or
  // restores it.
  void KeepPlacement(Settings& settings, std::string formName);
  // The restored placement asked for a maximized window.
  bool OpensMaximized() const { return m_placement && m_placement->OpensMaximized(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool Preview(MSG& msg);
  bool DispatchCommand(UINT id, WORD code, HWND control);
  bool DispatchNotify(const NMHDR& header, LRESULT& result);
  void ApplyLayout();
  struct LaidOut;
  void LayOut(HWND control, const LaidOut& laidOut, const RECT& client) const;
  void TakeDpi(UINT dpi, const RECT& suggested);
  void DrawPictures();
  void ReleasePictures();
  void RememberFocus();
  void RestoreFocus();

  HWND m_hwnd = nullptr;
  CommandTable m_commands;
  std::map<HWND, NotifyTarget*> m_notifyTargets;
  // Keys whose press this form saw: only their release may act.
  std::bitset<256> m_pressed;
  HWND m_lastFocus = nullptr;  // the control that had the focus when the window was left
  bool m_opening = false;      // m_lastFocus is the opening focus, not yet given
  std::unique_ptr<PlacementKeeper> m_placement;
  UINT m_dpi = 96;
  DesignSize m_designClient;
  bool m_hasMenu = false;
  DWORD m_style = 0;
  DWORD m_exStyle = 0;
  struct LaidOut {
    DesignRect rect;
    unsigned anchors;
  };
  std::map<HWND, LaidOut> m_layout;
  std::map<HWND, FontRole> m_fontRoles;
  std::map<HWND, CommandTarget*> m_commandTargets;
  Hints m_hints;
  // The buttons' pictures, made at the window's DPI.
  ImageListHandle m_pictures;
  std::map<ButtonPicture, int> m_pictureIndex;
  std::map<HWND, ButtonPicture> m_shownPictures;
  // The pictures of buttons with captions, one list per button.
  std::map<HWND, ImageListHandle> m_captionPictures;
  void ShowCaptionPicture(HWND button, ButtonPicture picture);
};

// False for a disabled or hidden control: its commands are ignored. True for none.
bool ControlTakesCommands(HWND control);

// Centres a window on the primary screen's work area.
void CenterOnScreen(HWND hwnd);

// A minimize command of any window of the program minimizes the whole
// program: the window at the root of its visible owners gets the command (the
// main window decides how it minimizes), which hides the others.
void MinimizeApplication(HWND window);

}  // namespace discovel
