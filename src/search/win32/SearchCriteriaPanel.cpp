#include "search/win32/SearchCriteriaPanel.h"

#include <commctrl.h>

#include <algorithm>

#include "catalog/NumberFormat.h"
#include "search/fmSearchIds.h"
#include "ui/Controls.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using namespace fmSearchIds;

}  // namespace

void SearchCriteriaPanel::Create(Form& form, int top) {
  m_ground.Create();
  const auto check = [&](CheckBox& box, int id, const char* text, int x, int y, int width, bool checked) {
    box.Create({.form = &form, .id = id, .text = text, .bounds = {x, top + y, width, 17}, .checked = checked,
                .textLeft = true});
    m_controls.push_back(box.Handle());
  };
  int labels = 0;
  const auto label = [&](const char* text, int x, int y, int width, DWORD style = SS_LEFT) {
    Label& label = m_labels[labels++];
    label.Create({.form = &form, .text = text, .bounds = {x, top + y, width, 16}, .style = style});
    m_controls.push_back(label.Handle());
  };
  check(m_chkMarked, kChkMarked, "Marks", 61, 16, 52, false);
  check(m_chkDir, kChkDir, "Directories", 130, 16, 76, true);
  check(m_chkFile, kChkFile, "File names", 220, 16, 84, true);
  check(m_chkType, kChkType, "File type", 321, 16, 70, true);
  check(m_chkCase, kChkCase, "Case sensitive", 22, 45, 92, false);
  check(m_chkDate, kChkDate, "Date modified", 25, 72, 89, false);
  label("from:", 121, 74, 28);
  m_dtpFrom.Create({.form = &form, .id = kDtpFrom, .bounds = {150, top + 70, 84, 21}, .format = "dd/MM/yyyy"});
  label("to:", 241, 74, 16);
  m_dtpTo.Create({.form = &form, .id = kDtpTo, .bounds = {259, top + 70, 84, 21}, .format = "dd/MM/yyyy"});
  check(m_chkSize, kChkSize, "By file size", 41, 104, 73, false);
  m_cmbSize.Create(
      {.form = &form, .id = kCmbSize, .bounds = {120, top + 102, 60, 21}, .items = {"at least", "at most"}});
  label("Specify size:", 182, 105, 68, SS_RIGHT);
  m_updSize.Create({.form = &form,
                    .id = kUpdSize,
                    .editId = kEdtSize,
                    .bounds = {251, top + 102, 71, 21},
                    .minimum = 0,
                    .maximum = 32767,
                    .position = 0});
  SendMessageW(m_updSize.Edit(), EM_LIMITTEXT, 5, 0);
  m_updSize.Field().onChange = [this] { SizeChange(); };
  m_updSize.Field().onExit = [this] {
    SetTextOf(m_updSize.Edit(), FormatCount(m_updSize.Position(), m_text.ThousandsSeparator()));
  };
  label("in:", 344, 105, 16);
  m_cmbMultipler.Create({.form = &form, .id = kCmbMultipler, .bounds = {361, top + 102, 81, 21},
                         .items = {"Bytes", "KiloBytes", "MegaBytes", "GigaBytes"}, .selected = 1});
  for (HWND control : {m_dtpFrom.Handle(), m_dtpTo.Handle(), m_cmbSize.Handle(), m_updSize.Edit(), m_updSize.Handle(),
                       m_cmbMultipler.Handle()}) {
    m_controls.push_back(control);
  }

  m_chkDate.onClick = [this] {
    ApplyState();
    DateChange();
  };
  m_chkSize.onClick = [this] {
    ApplyState();
    for (HWND field : {m_cmbSize.Handle(), m_updSize.Edit(), m_cmbMultipler.Handle()}) {
      InvalidateRect(field, nullptr, TRUE);
    }
    SizeChange();
  };
  m_cmbSize.onChange = [this] { SizeChange(); };
  m_cmbMultipler.onChange = [this] { SizeChange(); };
  const LocalTime now = m_text.Now();
  m_dtpFrom.SetDate(now);
  m_dtpTo.SetDate(now);
  for (DatePicker* picker : {&m_dtpFrom, &m_dtpTo}) {
    picker->onChanged = [this](std::optional<LocalTime>) { DateChange(); };
    picker->onDropDown = [](HWND calendar) {
      // No line naming today and no circle around it.
      const LONG style = GetWindowLongW(calendar, GWL_STYLE);
      SetWindowLongW(calendar, GWL_STYLE, style | MCS_NOTODAY | MCS_NOTODAYCIRCLE);
    };
  }
  ApplyState();
  Show(false);
}

void SearchCriteriaPanel::Show(bool shown) {
  m_shown = shown;
  for (HWND control : m_controls) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

void SearchCriteriaPanel::Enable(bool enabled) {
  m_enabled = enabled;
  ApplyState();
}

void SearchCriteriaPanel::ApplyState() {
  EnableWindow(m_chkMarked.Handle(), m_enabled && m_session.MarksBoxAllowed());
  for (const CheckBox* box : {&m_chkDir, &m_chkFile, &m_chkType, &m_chkCase, &m_chkDate, &m_chkSize}) {
    EnableWindow(box->Handle(), m_enabled);
  }
  const bool dates = m_enabled && m_chkDate.Checked();
  EnableWindow(m_dtpFrom.Handle(), dates);
  EnableWindow(m_dtpTo.Handle(), dates);
  const bool sizes = m_enabled && m_chkSize.Checked();
  for (HWND control : {m_cmbSize.Handle(), m_updSize.Edit(), m_updSize.Handle(), m_cmbMultipler.Handle()}) {
    EnableWindow(control, sizes);
  }
}

AdvancedCriteria SearchCriteriaPanel::Boxes() const {
  AdvancedCriteria criteria;
  criteria.marks = m_chkMarked.Checked();
  criteria.directories = m_chkDir.Checked();
  criteria.fileNames = m_chkFile.Checked();
  criteria.fileTypes = m_chkType.Checked();
  criteria.caseSensitive = m_chkCase.Checked();
  criteria.byDate = m_chkDate.Checked();
  criteria.bySize = m_chkSize.Checked();
  criteria.sizeAtMost = IsAtMost(TextOf(m_cmbSize.Handle()));
  return criteria;
}

void SearchCriteriaPanel::DateChange() {
  const auto from = m_dtpFrom.Date();
  const auto to = m_dtpTo.Date();
  if (from && to) m_session.SetDateBounds(DateBoundsOf(*from, *to));
}

void SearchCriteriaPanel::SizeChange() {
  m_session.SetSizeThreshold(SizeThresholdOf(m_updSize.Position(), TextOf(m_cmbMultipler.Handle())));
}

bool SearchCriteriaPanel::EnterRunsGo(HWND control) const {
  for (HWND candidate : {m_chkMarked.Handle(), m_chkDir.Handle(), m_chkFile.Handle(), m_chkType.Handle(),
                         m_chkCase.Handle(), m_chkDate.Handle(), m_chkSize.Handle(), m_dtpFrom.Handle(),
                         m_dtpTo.Handle(), m_updSize.Edit(), m_cmbSize.Handle(), m_cmbMultipler.Handle()}) {
    if (control == candidate) return true;
  }
  return false;
}

bool SearchCriteriaPanel::RefusesTyping(HWND control) const {
  return control == m_cmbSize.Handle() || control == m_cmbMultipler.Handle();
}

HBRUSH SearchCriteriaPanel::FieldBrush(HWND control, HDC dc) const {
  if (control == m_cmbSize.Handle() || control == m_updSize.Edit() || control == m_cmbMultipler.Handle()) {
    // The size fields look switched off while their box is cleared.
    const int colour = m_chkSize.Checked() ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(colour));
    return GetSysColorBrush(colour);
  }
  if (m_shown && std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end()) {
    return m_ground.ForControl(dc);
  }
  return nullptr;
}

void SearchCriteriaPanel::Paint(HDC dc, int top, int width, UINT dpi) const {
  if (!m_shown) return;
  m_ground.Paint(dc, top, kHeight, width, dpi);
}

}  // namespace discovel
