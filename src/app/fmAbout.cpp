#include "app/fmAbout.h"

#include "app/ProgramVersion.h"
#include "app/WebAddresses.h"
#include "app/core/AboutTexts.h"
#include "app/fmAboutIds.h"
#include "platform/ProgramName.h"
#include "platform/TextServices.h"
#include "ui/Cursors.h"

namespace discovel {
namespace {

using namespace fmAboutIds;

TfrmAbout* frmAbout = nullptr;

// Wider than the texts need at 96 DPI: at other scales fonts do not grow
// exactly with the scale, and the longest address must still fit.
constexpr DesignSize kClient{350, 322};
constexpr COLORREF kAboutBand = RGB(255, 170, 85);
constexpr COLORREF kVersionColour = RGB(0, 95, 140);
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr DesignRect kVersionBounds{12, 33, 292, 43};
constexpr int kCaptionX = 14;
constexpr int kValueX = 114;
constexpr int kRowHeight = 14;

// The decorative grid: 32-pixel squares 36 pixels apart, four rows, the last
// column white and each one to its left two grey levels darker.
constexpr int kGridLeft = 4;
constexpr int kGridTop = 29;
constexpr int kGridPitch = 36;
constexpr int kGridSquare = 32;
constexpr int kGridRows = 4;

// The grid at `dpi`, seen from `origin` (design units) of the client area.
void PaintGrid(HDC dc, UINT dpi, POINT origin) {
  const int columns = (kClient.width - 4) / kGridPitch;
  for (int column = 0; column < columns; ++column) {
    const int level = (255 - 2 * (columns - 1) + 2 * column) % 256;
    GdiObject brush(CreateSolidBrush(RGB(level, level, level)));
    for (int row = 0; row < kGridRows; ++row) {
      const int left = ScaleToDpi(kGridLeft + kGridPitch * column - origin.x, dpi);
      const int top = ScaleToDpi(kGridTop + kGridPitch * row - origin.y, dpi);
      const int side = ScaleToDpi(kGridSquare, dpi);
      const RECT square{left, top, left + side, top + side};
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
  CreateDialogWindow({.className = kClassName,
                      .title = "About",
                      .client = kClient,
                      .bandColour = kAboutBand});
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_lblVersion.Create(
      {.form = this, .id = kLblVersion, .bounds = kVersionBounds, .style = SS_OWNERDRAW, .font = FontRole::Bold});
  CreateRow(m_lblHomePage, 182, "Home page:", kLblHomePage);
  CreateRow(m_lblSupportMail, 200, "Support e-mail:", kLblSupportMail);
  CreateRow(m_lblNewsletter, 218, "Newsletter:", kLblNewsletter);
  CreateRow(m_lblMemory, 244, "Memory:", kLblMemory);
  CreateRow(m_lblResources, 262, "System resources:", kLblResources);
  m_lblHomePage.onClick = [this] { OpenDocument(nullptr, web::kHomePage, m_shell); };
  m_lblSupportMail.onClick = [this] { SendMail(nullptr, web::kSupportMail, "", "", m_shell); };
  m_lblNewsletter.onClick = [this] { OpenDocument(nullptr, web::kNewsletterPage, m_shell); };
  Action& close = Commands().Add(
      {.id = kBtnCancel, .caption = "Close", .keys = {VK_ESCAPE}, .run = [this] { EndModal(kModalCancel); }});
  CreateBandButtons({{m_btnCancel, close}});
}

void TfrmAbout::CreateRow(Label& value, int y, const char* caption, int valueId) {
  // One line: the longest caption only just fits before the values.
  CreateChild(Handle(), WC_STATICW, caption, SS_LEFTNOWORDWRAP, kCaptionX, y, kValueX - kCaptionX, kRowHeight, 0);
  const bool link = valueId == kLblHomePage || valueId == kLblSupportMail || valueId == kLblNewsletter;
  value.Create({.form = this,
                .id = valueId,
                .bounds = {kValueX, y, kClient.width - kValueX - 8, kRowHeight},
                .font = link ? FontRole::Link : FontRole::Normal,
                .clickable = link});
}

void TfrmAbout::OnActivated() {
  SetTextOf(Handle(), kProgramName);
  m_lblHomePage.SetText(web::kHomePage);
  m_lblSupportMail.SetText(web::kSupportMail);
  m_lblNewsletter.SetText(web::kNewsletterPage);
  const std::string version = std::string(kProgramName) + " " + GetAppVersion() + "\r\nCopyright (C) " +
                              YearSpan(web::kFirstCopyrightYear, m_context.services.text.Now().year) + " " +
                              web::kCopyrightOwner + "\r\n" + web::kMakerSite;
  m_lblVersion.SetText(version);
  // The extended query: the plain one stops at 2 or 4 GB in a 32-bit program.
  MEMORYSTATUSEX memory{sizeof memory};
  GlobalMemoryStatusEx(&memory);
  m_lblMemory.SetText(MemoryText(memory.ullTotalPhys, m_context.services.text.ThousandsSeparator()));
  m_lblResources.SetText(MemoryLoadText(memory.dwMemoryLoad));
}

bool TfrmAbout::IsLink(HWND control) const {
  return control && (control == m_lblHomePage.Handle() || control == m_lblSupportMail.Handle() ||
                     control == m_lblNewsletter.Handle());
}

void TfrmAbout::OnPaintBody(HDC dc) { PaintGrid(dc, Dpi(), POINT{0, 0}); }

void TfrmAbout::DrawVersion(const DRAWITEMSTRUCT& item) {
  // The grid shows through around the text.
  FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PaintGrid(item.hDC, Dpi(), POINT{kVersionBounds.x, kVersionBounds.y});
  const std::string text = TextOf(item.hwndItem);
  RECT area = item.rcItem;
  HGDIOBJ oldFont = SelectObject(item.hDC, ProgramFont(FontRole::Bold, Dpi()));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, kVersionColour);
  DrawTextIn(item.hDC, text, area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(item.hDC, oldFont);
}

LRESULT TfrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.hwndItem != m_lblVersion.Handle()) break;
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
        SetCursor(SystemCursor(IDC_HAND));
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
    if (msg.message == WM_KEYDOWN) Commands().ForCommand(kBtnCancel)->Execute();
    return true;
  }
  return Dialog::PreTranslate(msg);
}

}  // namespace discovel
