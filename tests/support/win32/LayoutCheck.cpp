#include "support/win32/LayoutCheck.h"

#include <commctrl.h>

#include <cstdlib>

#include "platform/win32/WideText.h"
#include "support/win32/UiDriver.h"
#include "ui/WindowText.h"

namespace discovel::test {
namespace {

struct Control {
  HWND hwnd;
  RECT rect;  // in the window's client coordinates
  std::string name;
};

std::string NameOf(HWND hwnd) {
  return ClassOf(hwnd) + " #" + std::to_string(GetDlgCtrlID(hwnd)) + " \"" + TextOf(hwnd) + "\"";
}

std::string Describe(const RECT& r) {
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a chain of
  // pluses that starts with a literal.
  std::string text = "(";
  text.append(std::to_string(r.left)).append(",").append(std::to_string(r.top)).append(")-(");
  text.append(std::to_string(r.right)).append(",").append(std::to_string(r.bottom)).append(")");
  return text;
}

// The extent of `text` in the control's font, wrapped at `width` when `wrap`.
SIZE TextExtent(HWND control, const std::string& text, bool wrap, int width, UINT prefix) {
  HDC dc = CreateCompatibleDC(nullptr);
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  RECT area{0, 0, wrap ? width : 0, 0};
  DrawTextIn(dc, text, area, DT_CALCRECT | prefix | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  DeleteDC(dc);
  return SIZE{area.right - area.left, area.bottom - area.top};
}

// Why the caption of `control` does not fit it; empty when it does.
std::string CaptionFault(HWND control) {
  const std::string text = TextOf(control);
  if (text.empty()) return {};
  const std::string className = ClassOf(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  RECT client{};
  GetClientRect(control, &client);
  if (lstrcmpiW(Wide(className).c_str(), WC_BUTTONW) == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW || type == BS_GROUPBOX || (style & (BS_BITMAP | BS_ICON))) return {};
    // What the button needs for its caption (and picture), as it measures it.
    SIZE ideal{};
    SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    const SIZE textSize = TextExtent(control, text, false, 0, 0);
    if (ideal.cx > client.right) {
      return "needs " + std::to_string(ideal.cx) + " pixels across, has " + std::to_string(client.right);
    }
    if (textSize.cy > client.bottom) {
      return "its text is " + std::to_string(textSize.cy) + " pixels high, it " + std::to_string(client.bottom);
    }
    return {};
  }
  if (lstrcmpiW(Wide(className).c_str(), WC_STATICW) == 0) {
    const LONG type = style & SS_TYPEMASK;
    const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
    if (!wraps && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) return {};  // pictures, owner-drawn
    const SIZE need = TextExtent(control, text, wraps, client.right, (style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    if (need.cx > client.right || need.cy > client.bottom) {
      return "its text needs " + std::to_string(need.cx) + " x " + std::to_string(need.cy) + ", it has " +
             std::to_string(client.right) + " x " + std::to_string(client.bottom);
    }
  }
  return {};
}

}  // namespace

UINT SweepDpi() {
  const char* dpi = std::getenv("DISCOVEL_EXPECT_DPI");
  return dpi ? static_cast<UINT>(std::atoi(dpi)) : 96;
}

int FontHeight(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  if (!font || !GetObjectW(font, sizeof logFont, &logFont)) return 0;
  return std::abs(logFont.lfHeight);
}

std::vector<std::string> LayoutFaults(HWND window) {
  std::vector<std::string> faults;
  RECT client{};
  GetClientRect(window, &client);
  std::vector<Control> controls;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    Control control{child, {}, NameOf(child)};
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&control.rect), 2);
    controls.push_back(control);
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& a = controls[i];
    if (a.rect.left < 0 || a.rect.top < 0 || a.rect.right > client.right || a.rect.bottom > client.bottom) {
      faults.push_back(a.name + " at " + Describe(a.rect) + " reaches out of the client area " + Describe(client));
    }
    if (const std::string fault = CaptionFault(a.hwnd); !fault.empty()) {
      faults.push_back(a.name + ": the caption does not fit: " + fault);
    }
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      RECT both{};
      if (IntersectRect(&both, &a.rect, &controls[j].rect)) {
        faults.push_back(a.name + " at " + Describe(a.rect) + " lies on " + controls[j].name + " at " +
                         Describe(controls[j].rect));
      }
    }
  }
  return faults;
}

RECT ChangeDpi(HWND window, UINT from, UINT dpi) {
  RECT now{};
  GetWindowRect(window, &now);
  const auto grown = [&](LONG length) { return MulDiv(length, static_cast<int>(dpi), static_cast<int>(from)); };
  RECT suggested{now.left, now.top, now.left + grown(now.right - now.left), now.top + grown(now.bottom - now.top)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return suggested;
}

}  // namespace discovel::test
