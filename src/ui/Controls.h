#pragma once
// Child controls of our windows, in the program's fonts. Positions and sizes
// are design units (pixels at 96 DPI), scaled for the window's DPI. Texts
// are UTF-8; the controls are Unicode windows.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/WindowText.h"
#include "ui/core/DesignLayout.h"

namespace discovel {

// The program's texts are in the system's message font face (Segoe UI on
// current Windows) at these design heights.
enum class FontRole {
  Normal,   // body text, 11 pixels
  Bold,     // bold body text
  Link,     // underlined body text
  Title,    // 16-pixel band titles
  Message,  // bold 16-pixel status messages
};

// The font of `role` at `dpi`; made once per DPI, alive for the whole run.
HFONT ProgramFont(FontRole role, UINT dpi);
// The font of `role` at the DPI `window` is laid out at.
HFONT ProgramFont(FontRole role, HWND window);
// Gives `control` the font of `role` at its window's DPI; its form keeps the
// role, so that a change of DPI gives it the new size.
void SetControlFont(HWND control, FontRole role);

// A child control at `rect` (design units) of `parent`. In a form the form
// keeps the rectangle and anchors and places the control by them whenever
// its size or DPI changes; elsewhere it is scaled once.
// `text` is UTF-8.
HWND CreateChild(HWND parent, const wchar_t* className, const char* text, DWORD style, const DesignRect& rect,
                 int id, FontRole font = FontRole::Normal, DWORD exStyle = 0, unsigned anchors = kAnchorTopLeft);
inline HWND CreateChild(HWND parent, const wchar_t* className, const char* text, DWORD style, int x, int y,
                        int width, int height, int id, FontRole font = FontRole::Normal, DWORD exStyle = 0) {
  return CreateChild(parent, className, text, style, DesignRect{x, y, width, height}, id, font, exStyle);
}
// Places `control` at `rect` (design units) with `anchors` in its parent.
void PlaceControl(HWND control, const DesignRect& rect, unsigned anchors = kAnchorTopLeft);

// A flat picture button of a tool band: no tab stop, and a click leaves the
// keyboard focus where it was (on the list the button works on).
HWND CreateToolButton(HWND parent, int id, int x, int y, int size, unsigned anchors = kAnchorTopLeft);
bool IsToolButton(HWND control);

// Tool tips ("hints") for the controls of one window.
class Hints {
 public:
  void Attach(HWND owner);
  bool Attached() const { return m_tooltip != nullptr; }
  void Set(HWND control, const std::string& text);

 private:
  HWND m_owner = nullptr;
  HWND m_tooltip = nullptr;
};

}  // namespace discovel
