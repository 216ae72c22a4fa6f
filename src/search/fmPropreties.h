#pragma once
// The file properties dialog: one found file in full, with the texts of its
// result row exactly as the search window shows them.
#include <string>

#include "search/FoundFile.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/ScrollBox.h"

namespace discovel {

class TfrmPropreties final : public Dialog {
 public:
  // At most one is open; a second call returns at once.
  static int Execute(const PropretiesValues& values);
  explicit TfrmPropreties(PropretiesValues values);
  ~TfrmPropreties() override;
  void Create();

 protected:
  void OnDpiChanged() override { PlaceContent(); }

 private:
  static constexpr int kPairs = 6;
  static constexpr int kLines = 3;

  // The labels and lines inside the box at the window's DPI, each value
  // label as wide as its text.
  void PlaceContent();
  void ScrollBox1Resize();

  PropretiesValues m_values;
  Button m_btnCancel;
  ScrollBox m_scrollBox1;
  HWND m_captions[kPairs] = {};
  HWND m_valueLabels[kPairs] = {};
  HWND m_lines[kLines] = {};
};

}  // namespace discovel
