#pragma once
// Base of every window of the program: registers its class, attaches `this` to
// the window at WM_NCCREATE and routes messages to a virtual handler that no
// exception can escape.
#include <windows.h>

#include <string>

namespace discovel {

class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Handle() const { return m_hwnd; }
  // The Form behind a window of ours, or null.
  static Form* FromHandle(HWND hwnd);
  // Offers a queued message to the form that owns its window (key preview,
  // dialog navigation) before it is dispatched. True: the form consumed it.
  static bool RouteMessage(MSG& msg);

 protected:
  struct WindowSpec {
    const char* className = nullptr;
    const char* caption = "";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int width = CW_USEDEFAULT;   // outer size
    int height = CW_USEDEFAULT;
    HWND owner = nullptr;
    HICON icon = nullptr;
    HBRUSH background = nullptr;  // null: the window colour
  };

  // Registers the class once and creates the window; throws AppError on failure.
  void CreateFormWindow(const WindowSpec& params);
  // Messages of this window. The default passes them on to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Sees every queued message for this window and its controls before they do.
  virtual bool PreTranslate(MSG& msg) { return false; }
  // Called at WM_NCDESTROY, after which Handle() is null.
  virtual void OnWindowDestroyed() {}
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
};

// Centres a window on the primary screen's work area.
void CenterOnScreen(HWND hwnd);

}  // namespace discovel
