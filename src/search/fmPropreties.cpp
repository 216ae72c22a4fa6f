#include "search/fmPropreties.h"

#include <algorithm>

#include "platform/ModalResult.h"
#include "search/fmPropretiesIds.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

using namespace fmPropretiesIds;

TfrmPropreties* frmPropreties = nullptr;

constexpr int kClientWidth = 336;
constexpr int kClientHeight = 378;
constexpr int kCaptionX = 16;
constexpr int kValueX = 112;
constexpr int kLineX = 8;
constexpr int kLineWidth = 320;
constexpr int kLineGap = 15;  // the lines stop this short of the content's right edge

// A label as wide as its text.
HWND CreateFittingLabel(HWND parent, int id, const std::string& text, int x, int y) {
  HDC dc = GetDC(parent);
  HGDIOBJ old = SelectObject(dc, ProgramFont(FontRole::Normal, parent));
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(parent, dc);
  // The measure is in pixels at the window's DPI; a pixel more covers rounding.
  return CreateChild(parent, "STATIC", text.c_str(), SS_NOPREFIX, x, y,
                     ScaleFromDpi(extent.cx, WindowDpi(parent)) + 3, 16, id);
}

}  // namespace

int TfrmPropreties::Execute(const PropretiesValues& values) {
  return RunModalOnce(frmPropreties, [&] { return std::make_unique<TfrmPropreties>(values); }, kModalCancel);
}

TfrmPropreties::TfrmPropreties(PropretiesValues values) : m_values(std::move(values)) {}

void TfrmPropreties::Create() {
  CreateDialogWindow({kClassName, "File propreties", kClientWidth, kClientHeight});
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  HWND btnCancel = CreateButton(Handle(), kBtnCancel, "Close", 0, 0);
  PlaceBandButtons({btnCancel});
  m_actClose = Action("Close", "", [this] { EndModal(kModalCancel); });
  Commands().Add(kBtnCancel, m_actClose);
  Commands().Add(IDOK, m_actClose);  // Enter
  Commands().AddKey(VK_ESCAPE, m_actClose);

  // Built at full size first, so the resize that follows sees every label.
  m_scrollBox1.Create(Handle(), kScrollBox1, {0, kBandHeight, kClientWidth, kClientHeight - 2 * kBandHeight},
                      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const HWND box = m_scrollBox1.Handle();
  struct Pair {
    const char* caption;
    int id;
    std::string value;
    int y;
  };
  const Pair pairs[] = {{"CD/DVD mark:", kLblMark, m_values.mark, 32},
                        {"Directory path:", kLblDir, m_values.directory + "      ", 93},
                        {"File name:", kLblFile, m_values.file, 133},
                        {"Type:", kLblType, m_values.type, 167},
                        {"Date modified:", kLblDate, m_values.date, 220},
                        {"Size:", kLblSize, m_values.size + " bytes", 244}};
  for (const Pair& pair : pairs) {
    CreateLabel(box, 0, pair.caption, kCaptionX, pair.y, kValueX - kCaptionX - 4, 16);
    CreateFittingLabel(box, pair.id, pair.value, kValueX, pair.y);
  }
  const int lineIds[] = {kL1, kL2, kL3};
  const int lineTops[] = {77, 199, 277};
  for (int i = 0; i < 3; ++i) {
    m_lines[i] = CreateChild(box, "STATIC", "", SS_ETCHEDHORZ, kLineX, lineTops[i], kLineWidth, 2, lineIds[i]);
  }
  m_scrollBox1.onResize = [this] { ScrollBox1Resize(); };
  ScrollBox1Resize();
  m_scrollBox1.UpdateRange();
}

void TfrmPropreties::ScrollBox1Resize() {
  // The range counts the lines at their design width, so resizing again
  // gives them the same width instead of shrinking them each time.
  for (HWND line : m_lines) {
    if (line) ShowWindow(line, SW_HIDE);
  }
  const int range = std::max(kLineX + kLineWidth, m_scrollBox1.ContentRight());
  for (HWND line : m_lines) {
    if (!line) continue;
    SetWindowPos(line, nullptr, 0, 0, range - kLineGap, 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(line, SW_SHOW);
  }
}

}  // namespace discovel
