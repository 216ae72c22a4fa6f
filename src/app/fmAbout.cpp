#include "app/fmAbout.h"

#include "app/ProgramVersion.h"
#include "app/WebAddresses.h"
#include "app/core/AboutTexts.h"
#include "app/fmAboutIds.h"
#include "platform/ProgramName.h"
#include "platform/TextServices.h"

namespace discovel {
namespace {

using namespace fmAboutIds;

TfrmAbout* frmAbout = nullptr;

constexpr int kClientWidth = 316;
constexpr int kClientHeight = 322;
constexpr COLORREF kAboutBand = RGB(255, 170, 85);
constexpr COLORREF kVersionColour = RGB(0, 95, 140);
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr RECT kVersionBounds{12, 33, 12 + 292, 33 + 43};
constexpr int kCaptionX = 14;
constexpr int kValueX = 105;
constexpr int kRowHeight = 14;

// The decorative grid: 32-pixel squares 36 pixels apart, four rows, the last
// column white and each one to its left two grey levels darker.
constexpr int kGridLeft = 4;
constexpr int kGridTop = 29;
constexpr int kGridPitch = 36;
constexpr int kGridSquare = 32;
constexpr int kGridRows = 4;

void PaintGrid(HDC dc, int clientWidth, POINT origin) {
  const int columns = (clientWidth - 4) / kGridPitch;
  for (int column = 0; column < columns; ++column) {
    const int level = (255 - 2 * (columns - 1) + 2 * column) % 256;
    GdiObject brush(CreateSolidBrush(RGB(level, level, level)));
    for (int row = 0; row < kGridRows; ++row) {
      const int left = kGridLeft + kGridPitch * column - origin.x;
      const int top = kGridTop + kGridPitch * row - origin.y;
      const RECT square{left, top, left + kGridSquare, top + kGridSquare};
      FillRect(dc, &square, static_cast<HBRUSH>(brush.get()));
    }
  }
}

}  // namespace

int TfrmAbout::Execute(AppContext& context) { return Execute(context, SystemShell()); }

int TfrmAbout::Execute(AppContext& context, ShellLauncher& shell) {
  if (frmAbout) {
    frmAbout->EndModal(kModalCancel);
    return kModalCancel;
  }
  return RunModalOnce(frmAbout, [&] { return std::make_unique<TfrmAbout>(context, shell); }, kModalCancel);
}

TfrmAbout::TfrmAbout(AppContext& context, ShellLauncher& shell) : m_context(context), m_shell(shell) {}

void TfrmAbout::Create() {
  CreateDialogWindow({kClassName, "About", kClientWidth, kClientHeight, kAboutBand});
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const RECT& v = kVersionBounds;
  m_lblVersion = CreateChild(Handle(), "STATIC", "", SS_OWNERDRAW, v.left, v.top, v.right - v.left,
                             v.bottom - v.top, kLblVersion, FontRole::Bold);
  m_lblHomePage = CreateRow(182, "Home page:", kLblHomePage);
  m_lblSupportMail = CreateRow(200, "Support e-mail:", kLblSupportMail);
  m_lblNewsletter = CreateRow(218, "Newsletter:", kLblNewsletter);
  m_lblMemory = CreateRow(244, "Memory:", kLblMemory);
  m_lblResources = CreateRow(262, "System resources:", kLblResources);
  for (HWND link : {m_lblHomePage, m_lblSupportMail, m_lblNewsletter}) {
    SetWindowLongA(link, GWL_STYLE, GetWindowLongA(link, GWL_STYLE) | SS_NOTIFY);
    SetControlFont(link, FontRole::Link);
  }
  HWND btnCancel = CreateButton(Handle(), kBtnCancel, "Close", 0, 0);
  PlaceBandButtons({btnCancel});
  m_actHomePage = Action("", "", [this] { OpenDocument(nullptr, web::kHomePage, m_shell); });
  m_actNewsletter = Action("", "", [this] { OpenDocument(nullptr, web::kNewsletterPage, m_shell); });
  m_actSupportMail = Action("", "", [this] { SendMail(nullptr, web::kSupportMail, "", "", m_shell); });
  m_actClose = Action("Close", "", [this] { EndModal(kModalCancel); });
  Commands().Add(kBtnCancel, m_actClose);
  Commands().AddKey(VK_ESCAPE, m_actClose);
}

HWND TfrmAbout::CreateRow(int y, const char* caption, int valueId) {
  // One line: the longest caption only just fits before the values.
  CreateChild(Handle(), "STATIC", caption, SS_LEFTNOWORDWRAP, kCaptionX, y, kValueX - kCaptionX, kRowHeight, 0);
  return CreateLabel(Handle(), valueId, "", kValueX, y, kClientWidth - kValueX - 8, kRowHeight);
}

void TfrmAbout::OnActivated() {
  SetWindowTextA(Handle(), kProgramName);
  SetWindowTextIfChanged(m_lblHomePage, web::kHomePage);
  SetWindowTextIfChanged(m_lblSupportMail, web::kSupportMail);
  SetWindowTextIfChanged(m_lblNewsletter, web::kNewsletterPage);
  const std::string version = std::string(kProgramName) + " " + GetAppVersion() + "\r\nCopyright (C) " +
                              YearSpan(web::kFirstCopyrightYear, m_context.services.text.Now().year) + " " +
                              web::kCopyrightOwner + "\r\n" + web::kMakerSite;
  SetWindowTextIfChanged(m_lblVersion, version);
  // The extended query: the plain one stops at 2 or 4 GB in a 32-bit program.
  MEMORYSTATUSEX memory{sizeof memory};
  GlobalMemoryStatusEx(&memory);
  SetWindowTextIfChanged(m_lblMemory, MemoryText(memory.ullTotalPhys, m_context.services.text.ThousandsSeparator()));
  SetWindowTextIfChanged(m_lblResources, MemoryLoadText(memory.dwMemoryLoad));
}

bool TfrmAbout::IsLink(HWND control) const {
  return control && (control == m_lblHomePage || control == m_lblSupportMail || control == m_lblNewsletter);
}

void TfrmAbout::OnCommand(int id, int code) {
  // A double click on a link is one click, not a second page.
  if (code != STN_CLICKED) return;
  Action* link = id == kLblHomePage     ? &m_actHomePage
                 : id == kLblNewsletter ? &m_actNewsletter
                 : id == kLblSupportMail ? &m_actSupportMail
                                         : nullptr;
  if (link) link->Execute();
}

void TfrmAbout::OnPaintBody(HDC dc) { PaintGrid(dc, kClientWidth, POINT{0, 0}); }

void TfrmAbout::DrawVersion(const DRAWITEMSTRUCT& item) {
  // The grid shows through around the text.
  FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PaintGrid(item.hDC, kClientWidth, POINT{kVersionBounds.left, kVersionBounds.top});
  const std::string text = WindowText(item.hwndItem);
  RECT area = item.rcItem;
  HGDIOBJ oldFont = SelectObject(item.hDC, ProgramFont(FontRole::Bold, Dpi()));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, kVersionColour);
  DrawTextA(item.hDC, text.c_str(), -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(item.hDC, oldFont);
}

LRESULT TfrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.hwndItem != m_lblVersion) break;
      DrawVersion(item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      const LRESULT brush = Dialog::HandleMessage(message, wParam, lParam);
      if (IsLink(reinterpret_cast<HWND>(lParam))) SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColour);
      return brush;
    }
    case WM_SETCURSOR:
      if (IsLink(reinterpret_cast<HWND>(wParam))) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

bool TfrmAbout::PreTranslate(MSG& msg) {
  // Enter closes on its press, wherever the focus is.
  if (msg.wParam == VK_RETURN && (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)) {
    if (msg.message == WM_KEYDOWN) m_actClose.Execute();
    return true;
  }
  return Dialog::PreTranslate(msg);
}

}  // namespace discovel
