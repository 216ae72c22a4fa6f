#pragma once
// Child controls of our windows, in the program's fonts.
#include <windows.h>

#include <string>

namespace discovel {

// The fonts every window shares; created once, alive for the whole run.
HFONT NormalFont();     // body text
HFONT TitleFont();      // 16-pixel band titles
HFONT MessageFont();    // bold 16-pixel status messages

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, HFONT font = nullptr, DWORD exStyle = 0);
HWND CreateButton(HWND parent, int id, const char* text, int x, int y, int width = 59, int height = 22);
HWND CreateEdit(HWND parent, int id, int x, int y, int width, int height = 21, int maxLength = 255);
// A flat picture button of a tool band: no tab stop, and a click leaves the
// keyboard focus where it was (on the list the button works on).
HWND CreateToolButton(HWND parent, int id, int x, int y, int size);
bool IsToolButton(HWND control);
HWND CreateLabel(HWND parent, int id, const char* text, int x, int y, int width, int height);

std::string WindowText(HWND hwnd);
void SetWindowTextIfChanged(HWND hwnd, const std::string& text);

// Tool tips ("hints") for the controls of one window.
class Hints {
 public:
  void Attach(HWND owner);
  void Set(HWND control, const std::string& text);

 private:
  HWND m_owner = nullptr;
  HWND m_tooltip = nullptr;
};

}  // namespace discovel
