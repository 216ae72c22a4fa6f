#include "ui/Controls.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace discovel {
namespace {

HFONT MakeFont(int pixelHeight, int weight) {
  return CreateFontA(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

}  // namespace

HFONT NormalFont() {
  static HFONT font = MakeFont(11, FW_NORMAL);
  return font;
}

HFONT TitleFont() {
  static HFONT font = MakeFont(16, FW_NORMAL);
  return font;
}

HFONT MessageFont() {
  static HFONT font = MakeFont(16, FW_BOLD);
  return font;
}

namespace {

constexpr UINT_PTR kToolButtonSubclass = 0x7B;
// Marks a tool button; a property rather than a subclass query, which not
// every comctl32 import library offers.
constexpr char kToolButtonProperty[] = "DiscovelToolButton";

LRESULT CALLBACK ToolButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_SETFOCUS) {
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    auto previous = reinterpret_cast<HWND>(wParam);
    if (previous && IsWindow(previous) && IsChild(GetParent(button), previous)) SetFocus(previous);
    return result;
  }
  if (message == WM_NCDESTROY) {
    RemovePropA(button, kToolButtonProperty);
    RemoveWindowSubclass(button, &ToolButtonProc, kToolButtonSubclass);
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

HWND CreateToolButton(HWND parent, int id, int x, int y, int size) {
  HWND button = CreateChild(parent, "BUTTON", "", BS_PUSHBUTTON | BS_BITMAP | BS_FLAT, x, y, size, size, id);
  // Visual styles draw every push button raised and ignore BS_FLAT; without
  // them the tool button keeps its flat face.
  SetWindowTheme(button, L"", L"");
  SetWindowSubclass(button, &ToolButtonProc, kToolButtonSubclass, 0);
  SetPropA(button, kToolButtonProperty, reinterpret_cast<HANDLE>(1));
  return button;
}

bool IsToolButton(HWND control) {
  return control && GetPropA(control, kToolButtonProperty) != nullptr;
}

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                 int height, int id, HFONT font, DWORD exStyle) {
  HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : NormalFont()), FALSE);
  return child;
}

HWND CreateButton(HWND parent, int id, const char* text, int x, int y, int width, int height) {
  return CreateChild(parent, "BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, x, y, width, height, id);
}

HWND CreateEdit(HWND parent, int id, int x, int y, int width, int height, int maxLength) {
  HWND edit = CreateChild(parent, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, x, y, width, height, id, nullptr,
                          WS_EX_CLIENTEDGE);
  SendMessageA(edit, EM_LIMITTEXT, maxLength, 0);
  return edit;
}

HWND CreateLabel(HWND parent, int id, const char* text, int x, int y, int width, int height) {
  return CreateChild(parent, "STATIC", text, SS_LEFT, x, y, width, height, id);
}

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), length + 1)));
  return text;
}

void SetWindowTextIfChanged(HWND hwnd, const std::string& text) {
  if (WindowText(hwnd) != text) SetWindowTextA(hwnd, text.c_str());
}

void Hints::Attach(HWND owner) {
  m_owner = owner;
  m_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  // Hints come at once when moving between controls and stay three seconds.
  SendMessageA(m_tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, 10);
  SendMessageA(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 3000);
}

void Hints::Set(HWND control, const std::string& text) {
  if (!m_tooltip) return;
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = m_owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  TOOLINFOA existing = info;
  const bool known = SendMessageA(m_tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&existing)) != 0;
  info.lpszText = const_cast<char*>(text.c_str());
  SendMessageA(m_tooltip, known ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace discovel
