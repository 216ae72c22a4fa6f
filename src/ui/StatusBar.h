#pragma once
// A status bar of fixed panels with a smooth progress bar (0 to 100) lying
// exactly over one of them.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace discovel {

class StatusBar {
 public:
  // `widths` are the panels' design widths; the last panel takes the rest.
  void Create(HWND parent, int id, int progressId, std::initializer_list<int> widths, int progressPanel);
  HWND Handle() const { return m_bar; }
  void SetText(int panel, const std::string& text);
  // Fits the bar to its window and the progress bar to its panel; call when
  // the window's size changed.
  void Layout();
  int Height() const;

  int Progress() const;
  void SetProgress(int position);
  // Fills the progress bar and empties it again 150 ms later.
  void ShowProgressDone();

 private:
  void SetParts();
  HWND m_bar = nullptr;
  std::vector<int> m_widths;
  HWND m_progress = nullptr;
  int m_progressPanel = 0;
};

}  // namespace discovel
