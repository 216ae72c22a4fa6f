#pragma once
// A date and time picker: a date field with a drop-down month calendar and, if
// asked, a check box that switches the date off.
#include <windows.h>

#include <functional>
#include <optional>

#include "platform/LocalTime.h"
#include "ui/ChildWindow.h"
#include "ui/Form.h"

namespace discovel {

struct DatePickerArgs {
  Form* form = nullptr;
  int id = 0;
  ControlBounds bounds;
  bool checkBox = false;
  const char* format = nullptr;  // as DTM_SETFORMAT takes it ("dd/MM/yyyy"); null: the short date
};

class DatePicker final : public ChildWindow, public NotifyTarget {
 public:
  DatePicker() = default;
  ~DatePicker() override;

  // Throws AppError when the control cannot be created.
  void Create(const DatePickerArgs& args);

  // None while the check box is cleared.
  std::optional<LocalTime> Date() const;
  // Shows `date` and ticks the check box. Throws AppError for a date the
  // control refuses.
  void SetDate(const LocalTime& date);
  bool Checked() const { return Date().has_value(); }
  // Ticking it again brings back the date shown before.
  void SetChecked(bool checked);

  // Events. The calendar window is handed over while it is open, so a form can
  // set its styles and colours.
  std::function<void(std::optional<LocalTime> date)> onChanged;
  std::function<void(HWND calendar)> onDropDown;
  std::function<void(HWND calendar)> onCloseUp;

  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 protected:
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HWND Calendar() const;
  LocalTime m_shown{};  // the date behind a cleared check box
};

}  // namespace discovel
