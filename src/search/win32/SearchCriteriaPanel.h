#pragma once
// The search window's advanced panel: which fields the term is looked for in,
// letter case, and the date and size filters. Its controls are children of
// the window; the panel makes them, shows and enables them, paints them in
// its colour, and reads them into the criteria of a search. The filters'
// values go to the session as they change, so the next opening starts with them.
#include <windows.h>

#include <vector>

#include "platform/TextServices.h"
#include "search/SearchCriteria.h"
#include "search/SearchSession.h"
#include "search/win32/CriteriaGround.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/DatePicker.h"
#include "ui/EditBox.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/UpDown.h"

namespace discovel {

class SearchCriteriaPanel {
 public:
  static constexpr int kHeight = 139;  // design units

  SearchCriteriaPanel(SearchSession& session, const TextServices& text) : m_session(session), m_text(text) {}

  // Makes the controls on `form`, `top` design units from its client's top, hidden.
  void Create(Form& form, int top);
  void Show(bool shown);
  bool Shown() const { return m_shown; }
  // Enabled in the idle look; while searching everything is off.
  void Enable(bool enabled);

  // The boxes as checked; the filters' values come from the session.
  AdvancedCriteria Boxes() const;

  // Enter in these runs the search.
  bool EnterRunsGo(HWND control) const;
  // Nothing can be typed into the two lists, not even a letter that picks an item.
  bool RefusesTyping(HWND control) const;
  // The brush a control of the panel is painted with; null: not the panel's.
  HBRUSH FieldBrush(HWND control, HDC dc) const;
  // Paints the panel's ground below the window's band.
  void Paint(HDC dc, int top, int width, UINT dpi) const;

 private:
  void ApplyState();
  void DateChange();
  void SizeChange();

  SearchSession& m_session;
  const TextServices& m_text;
  bool m_shown = false;
  bool m_enabled = true;
  CriteriaGround m_ground;

  CheckBox m_chkMarked;
  CheckBox m_chkDir;
  CheckBox m_chkFile;
  CheckBox m_chkType;
  CheckBox m_chkCase;
  CheckBox m_chkDate;
  CheckBox m_chkSize;
  ComboBox m_cmbSize;
  ComboBox m_cmbMultipler;
  Label m_labels[4];
  DatePicker m_dtpFrom;
  DatePicker m_dtpTo;
  UpDown m_updSize;
  std::vector<HWND> m_controls;  // every control, shown with the panel
};

}  // namespace discovel
