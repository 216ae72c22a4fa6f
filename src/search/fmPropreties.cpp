#include "search/fmPropreties.h"

#include <algorithm>

#include "platform/ModalResult.h"
#include "search/fmPropretiesIds.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

using namespace fmPropretiesIds;

TfrmPropreties* frmPropreties = nullptr;

// Design units.
constexpr DesignSize kClient{336, 378};
constexpr int kCaptionX = 16;
constexpr int kValueX = 112;
constexpr int kLabelHeight = 16;
constexpr int kPairTops[] = {32, 93, 133, 167, 220, 244};
constexpr int kLineX = 8;
constexpr int kLineWidth = 320;
constexpr int kLineHeight = 2;
constexpr int kLineTops[] = {77, 199, 277};
constexpr int kLineGap = 15;  // the lines stop this short of the content's right edge

// The design width `label` needs for its text in its font.
int FittingWidth(HWND label) {
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  const SIZE extent = TextExtent(dc, TextOf(label));
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  // The measure is in pixels at the window's DPI; a pixel more covers rounding.
  return ScaleFromDpi(extent.cx, WindowDpi(label)) + 3;
}

}  // namespace

int TfrmPropreties::Execute(const PropretiesValues& values) {
  return RunModalOnce(frmPropreties, [&] { return std::make_unique<TfrmPropreties>(values); }, kModalCancel);
}

TfrmPropreties::TfrmPropreties(PropretiesValues values) : m_values(std::move(values)) {}

// The controls go with the window, before their wrappers.
TfrmPropreties::~TfrmPropreties() { DestroyDetached(); }

void TfrmPropreties::Create() {
  CreateDialogWindow({.className = kClassName,
                      .title = "File propreties",
                      .client = kClient});
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const auto close = [this] { EndModal(kModalCancel); };
  Action& closeAction = Commands().Add({.id = kBtnCancel, .caption = "Close", .keys = {VK_ESCAPE}, .run = close});
  Commands().Add({.id = IDOK, .run = close});  // Enter
  CreateBandButtons({{m_btnCancel, closeAction}});

  m_scrollBox1.Create(Handle(), kScrollBox1, Body(),
                      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const HWND box = m_scrollBox1.Handle();
  const char* const captions[kPairs] = {"CD/DVD mark:", "Directory path:", "File name:",
                                        "Type:",        "Date modified:",  "Size:"};
  const int ids[kPairs] = {kLblMark, kLblDir, kLblFile, kLblType, kLblDate, kLblSize};
  const std::string values[kPairs] = {m_values.mark, m_values.directory + "      ", m_values.file,
                                      m_values.type, m_values.date,                 m_values.size + " bytes"};
  for (int i = 0; i < kPairs; ++i) {
    m_captions[i] = CreateChild(box, WC_STATICW, captions[i], SS_LEFT, {}, 0);
    m_valueLabels[i] = CreateChild(box, WC_STATICW, values[i].c_str(), SS_NOPREFIX, {}, ids[i]);
  }
  const int lineIds[kLines] = {kL1, kL2, kL3};
  for (int i = 0; i < kLines; ++i) m_lines[i] = CreateChild(box, WC_STATICW, "", SS_ETCHEDHORZ, {}, lineIds[i]);
  m_scrollBox1.onResize = [this] { ScrollBox1Resize(); };
  PlaceContent();
}

void TfrmPropreties::PlaceContent() {
  for (int i = 0; i < kPairs; ++i) {
    m_scrollBox1.PlaceChild(m_captions[i], {kCaptionX, kPairTops[i], kValueX - kCaptionX - 4, kLabelHeight});
    m_scrollBox1.PlaceChild(m_valueLabels[i], {kValueX, kPairTops[i], FittingWidth(m_valueLabels[i]), kLabelHeight});
  }
  ScrollBox1Resize();
  m_scrollBox1.UpdateRange();
}

void TfrmPropreties::ScrollBox1Resize() {
  // The range counts the lines at their design width, so resizing again
  // gives them the same width instead of shrinking them each time.
  for (HWND line : m_lines) {
    if (line) ShowWindow(line, SW_HIDE);
  }
  const UINT dpi = Dpi();
  const int range = std::max(kLineX + kLineWidth, ScaleFromDpi(m_scrollBox1.ContentRight(), dpi));
  for (int i = 0; i < kLines; ++i) {
    if (!m_lines[i]) continue;
    m_scrollBox1.PlaceChild(m_lines[i], {kLineX, kLineTops[i], range - kLineGap, kLineHeight});
    ShowWindow(m_lines[i], SW_SHOW);
  }
}

}  // namespace discovel
