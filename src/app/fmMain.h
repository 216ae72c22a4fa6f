#pragma once
// The main window: lives for the whole run; closing it ends the program.
#include <string>

#include "ui/Form.h"

namespace discovel {

inline constexpr char kMainWindowClass[] = "Discovel";

class TfrmMain final : public Form {
 public:
  // `endsProgram`: closing the window ends the message loop (false in tests).
  explicit TfrmMain(std::string programPath, bool endsProgram = true);
  // Creates the window and prepares what it needs (the catalogue folder).
  void Create();
  const std::string& CatalogFolder() const { return m_catalogFolder; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string m_programPath;
  bool m_endsProgram;
  std::string m_catalogFolder;
};

}  // namespace discovel
