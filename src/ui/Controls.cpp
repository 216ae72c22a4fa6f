#include "ui/Controls.h"

#include <commctrl.h>

#include <map>
#include <utility>

#include "platform/win32/WideText.h"
#include "ui/Dpi.h"
#include "ui/Form.h"

namespace discovel {
namespace {

// The face of the system's message font; Tahoma where it cannot be read.
const std::wstring& MessageFace() {
  static const std::wstring face = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    bool read = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
    if (!read) {
      // Windows before Vista knows the structure without its last field.
      metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
      read = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
    }
    return std::wstring(read && metrics.lfMessageFont.lfFaceName[0] ? metrics.lfMessageFont.lfFaceName : L"Tahoma");
  }();
  return face;
}

HFONT MakeFont(FontRole role, UINT dpi) {
  const bool large = role == FontRole::Title || role == FontRole::Message;
  const bool bold = role == FontRole::Bold || role == FontRole::Message;
  const int height = ScaleToDpi(large ? 16 : 11, dpi);
  return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, role == FontRole::Link, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, MessageFace().c_str());
}

}  // namespace

HFONT ProgramFont(FontRole role, UINT dpi) {
  // A handful of fonts per DPI the program was shown at, kept for the run:
  // controls hold them without owning them.
  static std::map<std::pair<FontRole, UINT>, HFONT> fonts;
  HFONT& font = fonts[{role, dpi}];
  if (!font) font = MakeFont(role, dpi);
  return font;
}

HFONT ProgramFont(FontRole role, HWND window) { return ProgramFont(role, WindowDpi(window)); }

void SetControlFont(HWND control, FontRole role) {
  if (Form* form = Form::FromHandle(GetAncestor(control, GA_ROOT))) form->KeepFontRole(control, role);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ProgramFont(role, control)), FALSE);
}

namespace {

constexpr UINT_PTR kToolButtonSubclass = 0x7B;
// Marks a tool button; a property rather than a subclass query, which not
// every comctl32 import library offers.
constexpr wchar_t kToolButtonProperty[] = L"DiscovelToolButton";

LRESULT CALLBACK ToolButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_SETFOCUS) {
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    auto previous = reinterpret_cast<HWND>(wParam);
    if (previous && IsWindow(previous) && IsChild(GetParent(button), previous)) SetFocus(previous);
    return result;
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(button, kToolButtonProperty);
    RemoveWindowSubclass(button, &ToolButtonProc, kToolButtonSubclass);
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

HWND CreateToolButton(HWND parent, int id, int x, int y, int size, unsigned anchors) {
  // Owner-drawn: visual styles draw every push button raised, and a
  // disabled bitmap button shows an embossed blank instead of a greyed
  // picture (DrawToolButton paints it).
  HWND button = CreateChild(parent, WC_BUTTONW, "", BS_OWNERDRAW, DesignRect{x, y, size, size}, id, FontRole::Normal,
                            0, anchors);
  SetWindowSubclass(button, &ToolButtonProc, kToolButtonSubclass, 0);
  SetPropW(button, kToolButtonProperty, reinterpret_cast<HANDLE>(1));
  return button;
}

bool IsToolButton(HWND control) {
  return control && GetPropW(control, kToolButtonProperty) != nullptr;
}

HWND CreateChild(HWND parent, const wchar_t* className, const char* text, DWORD style, const DesignRect& rect,
                 int id, FontRole font, DWORD exStyle, unsigned anchors) {
  const PixelRect at = ScaleRect(rect, WindowDpi(parent));
  HWND child = CreateWindowExW(exStyle, className, Wide(text ? text : "").c_str(),
                               WS_CHILD | WS_VISIBLE | style, at.x, at.y, at.width, at.height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!child) return nullptr;
  SetControlFont(child, font);
  if (Form* form = Form::FromHandle(parent); form && !(anchors & kPlacedByOwner)) form->Place(child, rect, anchors);
  return child;
}

void PlaceControl(HWND control, const DesignRect& rect, unsigned anchors) {
  const HWND parent = GetParent(control);
  if (Form* form = Form::FromHandle(parent)) {
    form->Place(control, rect, anchors);
    return;
  }
  const PixelRect at = ScaleRect(rect, WindowDpi(parent));
  SetWindowPos(control, nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Hints::Attach(HWND owner) {
  m_owner = owner;
  m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  // Hints come at once when moving between controls and stay three seconds.
  SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, 10);
  SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 3000);
}

void Hints::Set(HWND control, const std::string& text) {
  if (!m_tooltip) return;
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V1_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = m_owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  TOOLINFOW existing = info;
  const bool known = SendMessageW(m_tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing)) != 0;
  std::wstring wide = Wide(text);
  info.lpszText = wide.data();
  SendMessageW(m_tooltip, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace discovel
