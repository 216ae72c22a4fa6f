#include "ui/DatePicker.h"

#include <commctrl.h>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"

namespace discovel {
namespace {

LocalTime FromSystemTime(const SYSTEMTIME& time) {
  return LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

SYSTEMTIME ToSystemTime(const LocalTime& time) {
  SYSTEMTIME result{};
  result.wYear = static_cast<WORD>(time.year);
  result.wMonth = static_cast<WORD>(time.month);
  result.wDay = static_cast<WORD>(time.day);
  result.wHour = static_cast<WORD>(time.hour);
  result.wMinute = static_cast<WORD>(time.minute);
  result.wSecond = static_cast<WORD>(time.second);
  result.wMilliseconds = static_cast<WORD>(time.millisecond);
  return result;
}

}  // namespace

DatePicker::~DatePicker() { Destroy(); }

void DatePicker::Create(const DatePickerArgs& args) {
  if (!args.form || !args.form->Handle()) throw AppError("A date picker needs a window.");
  const DWORD style = WS_TABSTOP | DTS_SHORTDATEFORMAT | (args.checkBox ? DTS_SHOWNONE : 0);
  ChildWindow::Create(args.form->Handle(), DATETIMEPICK_CLASSW, args.id, args.bounds, style, 0, ICC_DATE_CLASSES);
  if (args.format) {
    const std::wstring format = Wide(args.format);
    SendMessageW(Handle(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format.c_str()));
  }
  SYSTEMTIME now{};
  SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&now));
  m_shown = FromSystemTime(now);
  // The calendar drops down in the field's font, at the window's DPI.
  SendMessageW(Handle(), DTM_SETMCFONT, SendMessageW(Handle(), WM_GETFONT, 0, 0), FALSE);
  args.form->RouteNotifications(Handle(), this);
}

bool DatePicker::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A new font (the window's DPI changed) is the calendar's too.
  if (message != WM_SETFONT) return false;
  result = DefSubclassProc(Handle(), message, wParam, lParam);
  SendMessageW(Handle(), DTM_SETMCFONT, wParam, FALSE);
  return true;
}

std::optional<LocalTime> DatePicker::Date() const {
  SYSTEMTIME time{};
  if (SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return {};
  return FromSystemTime(time);
}

void DatePicker::SetDate(const LocalTime& date) {
  SYSTEMTIME time = ToSystemTime(date);
  if (!SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time))) {
    throw AppError("Invalid date.");
  }
  m_shown = date;
}

void DatePicker::SetChecked(bool checked) {
  if (checked == Checked()) return;
  if (checked) {
    SetDate(m_shown);
  } else {
    m_shown = *Date();
    // Some pickers want a time even when told there is none.
    SYSTEMTIME time = ToSystemTime(m_shown);
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&time));
  }
}

HWND DatePicker::Calendar() const { return reinterpret_cast<HWND>(SendMessageW(Handle(), DTM_GETMONTHCAL, 0, 0)); }

bool DatePicker::OnNotify(const NMHDR& header, LRESULT& result) {
  if (!Handle()) return false;  // going away: its events may reach freed state
  switch (header.code) {
    case DTN_DATETIMECHANGE: {
      const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
      std::optional<LocalTime> date;
      if (change.dwFlags == GDT_VALID) date = m_shown = FromSystemTime(change.st);
      if (onChanged) onChanged(date);
      return true;
    }
    case DTN_DROPDOWN:
      if (onDropDown) onDropDown(Calendar());
      return true;
    case DTN_CLOSEUP:
      if (onCloseUp) onCloseUp(Calendar());
      return true;
    default:
      return false;
  }
}

}  // namespace discovel
