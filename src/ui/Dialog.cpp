#include "ui/Dialog.h"

#include <optional>
#include <vector>

#include "platform/AppError.h"
#include "platform/ProgramName.h"
#include "ui/ErrorBox.h"

namespace discovel {
namespace {

constexpr int kButtonWidth = 59;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 6;
constexpr int kBandMargin = 8;

}  // namespace

void Dialog::CreateDialogWindow(const Look& look) {
  m_title = look.title;
  m_bandColour = look.bandColour;
  m_bodyBrush.reset(CreateSolidBrush(look.bodyColour));
  m_bandBrush.reset(CreateSolidBrush(look.bandColour));
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  WindowSpec params;
  params.className = look.className;
  params.caption = kProgramName;
  params.style = style;
  params.exStyle = exStyle;
  params.client = look.client;
  params.owner = Owner() ? Owner() : GetActiveWindow();
  CreateFormWindow(params);
  CenterOnScreen(Handle());
}

void Dialog::PlaceBandButtons(const std::vector<HWND>& buttons) {
  const DesignSize client = DesignClient();
  int x = client.width - kBandMargin - static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) + kButtonGap;
  const int y = client.height - kBandHeight + (kBandHeight - kButtonHeight) / 2;
  for (HWND button : buttons) {
    Place(button, {x, y, kButtonWidth, kButtonHeight}, kAnchorBottomRight);
    x += kButtonWidth + kButtonGap;
  }
}

void Dialog::CreateBandButtons(std::initializer_list<BandButton> buttons) {
  std::vector<HWND> handles;
  for (const BandButton& band : buttons) {
    const int id = static_cast<int>(Commands().IdOf(band.action));
    band.button.Create({.form = this, .id = id, .text = band.action.Caption().c_str()});
    BindButton(band.button.Handle(), band.action);
    handles.push_back(band.button.Handle());
  }
  PlaceBandButtons(handles);
}

HWND Dialog::CreateMessageLabel(int id, const DesignRect& bounds) {
  return CreateChild(Handle(), WC_STATICW, "", SS_OWNERDRAW, bounds.x, bounds.y, bounds.width, bounds.height, id,
                     FontRole::Message);
}

DesignRect Dialog::Body() const {
  const DesignSize client = DesignClient();
  return {0, kBandHeight, client.width, client.height - 2 * kBandHeight};
}

LRESULT Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(BodyBrush());
    }
    case WM_DRAWITEM:
      DrawMessageLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    default:
      break;
  }
  return ModalForm::HandleMessage(message, wParam, lParam);
}

void Dialog::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, BodyBrush());
  const int band = ScaleToDpi(kBandHeight, Dpi());
  RECT top{0, 0, client.right, band};
  FillRect(dc, &top, static_cast<HBRUSH>(m_bandBrush.get()));
  RECT bottom{0, client.bottom - band, client.right, client.bottom};
  FillRect(dc, &bottom, static_cast<HBRUSH>(m_bandBrush.get()));
  OnPaintBody(dc);
  const int margin = ScaleToDpi(8, Dpi());
  DrawBandTitle(dc, m_title.c_str(), {margin, 0, client.right - margin, band}, Dpi());
  EndPaint(Handle(), &ps);
}

void DrawBandTitle(HDC dc, const char* title, RECT area, UINT dpi) {
  HGDIOBJ oldFont = SelectObject(dc, ProgramFont(FontRole::Title, dpi));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTitleColour);
  DrawTextIn(dc, title, area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

void Dialog::DrawMessageLabel(const DRAWITEMSTRUCT& item) {
  const std::string text = TextOf(item.hwndItem);
  RECT area = item.rcItem;
  const int inset = ScaleToDpi(5, Dpi());
  InflateRect(&area, -inset, -inset);
  FillRect(item.hDC, &item.rcItem, BodyBrush());
  HGDIOBJ oldFont = SelectObject(item.hDC, ProgramFont(FontRole::Message, Dpi()));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, RGB(0, 0, 0));
  RECT measure = area;
  DrawTextIn(item.hDC, text, measure, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  const int height = measure.bottom - measure.top;
  area.top += ((area.bottom - area.top) - height) / 2;
  DrawTextIn(item.hDC, text, area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(item.hDC, oldFont);
}

}  // namespace discovel
