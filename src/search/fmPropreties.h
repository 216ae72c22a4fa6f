#pragma once
// The file properties dialog: one found file in full, with the texts of its
// result row exactly as the search window shows them.
#include <string>

#include "ui/Action.h"
#include "ui/Dialog.h"
#include "ui/ScrollBox.h"

namespace discovel {

struct PropretiesValues {
  std::string mark;
  std::string directory;
  std::string file;
  std::string type;
  std::string date;
  std::string size;
};

class TfrmPropreties final : public Dialog {
 public:
  // At most one is open; a second call returns at once.
  static int Execute(const PropretiesValues& values);
  explicit TfrmPropreties(PropretiesValues values);
  void Create();

 private:
  void ScrollBox1Resize();

  PropretiesValues m_values;
  Action m_actClose;
  ScrollBox m_scrollBox1;
  HWND m_lines[3] = {};
};

}  // namespace discovel
