#pragma once
// A status bar of fixed panels with a smooth progress bar (0 to 100) lying
// exactly over one of them. The bar places itself along the bottom of its
// window, as high as its font needs.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/ChildWindow.h"

namespace discovel {

class StatusBar final : public ChildWindow {
 public:
  // `widths` are the panels' design widths; the last panel takes the rest.
  // A `progressId` of 0 makes a bar without progress. Throws AppError when
  // the bar cannot be created.
  void Create(HWND parent, int id, int progressId, const std::vector<int>& widths, int progressPanel);
  void SetText(int panel, const std::string& text);
  // Fits the bar to its window and the progress bar to its panel; call when
  // the window's size changed.
  void Layout();
  int Height() const;
  // The height in design units at `dpi`, rounded up: what lies above the bar
  // ends at or above it.
  int DesignHeight(UINT dpi) const;

  int Progress() const;
  void SetProgress(int position);
  // Fills the progress bar and empties it again 150 ms later.
  void ShowProgressDone();

 protected:
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SetParts();
  std::vector<int> m_widths;
  HWND m_progress = nullptr;
  int m_progressPanel = 0;
};

}  // namespace discovel
