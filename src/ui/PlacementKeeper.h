#pragma once
// Keeps a top-level window where the user left it, across runs: restores the
// stored placement when the window is created, and stores it again whenever
// the user moves, sizes, maximizes or restores the window.
#include <windows.h>

#include <string>

namespace discovel {

class Settings;

class PlacementKeeper {
 public:
  PlacementKeeper(Settings& settings, std::string formName) : m_settings(settings), m_form(std::move(formName)) {}

  // Moves a window that is not shown yet to its stored place; its present
  // outer size is its design size.
  void Restore(HWND window);
  // The stored placement asked for a maximized window.
  bool OpensMaximized() const { return m_maximized; }

  // Stores where the window is about to be (a move in progress) or is.
  void SaveMoving(HWND window, const RECT& proposed);
  void Save(HWND window);

 private:
  Settings& m_settings;
  std::string m_form;
  bool m_maximized = false;
};

}  // namespace discovel
