#include "support/win32/ListWindowDriver.h"

#include "search/fmPropretiesIds.h"
#include "support/win32/DriverFault.h"
#include "support/win32/UiDriver.h"
#include "ui/WindowText.h"

namespace discovel::test {

std::string ListWindowDriver::Caption() const { return WindowCaption(m_window); }

std::string ListWindowDriver::Status(int panel) const { return StatusText(StatusBar(), panel); }

bool ListWindowDriver::Checked(int id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT ListWindowDriver::BoundsOf(HWND control) const {
  RECT bounds{};
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

bool ListWindowDriver::WaitUntilEnabled(int id, bool enabled) const {
  return WaitUntil([&] { return Enabled(id) == enabled; });
}

int ListWindowDriver::RowCount() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }

HWND ListWindowDriver::OpenPropreties(int row) const {
  ClickRow(row, true);
  return WaitForWindow(fmPropretiesIds::kClassName);
}

void ListWindowDriver::ClickButton(int id) const { Click(m_window, id); }

void ListWindowDriver::ClickWithMouse(int id, bool twice) const { test::ClickWithMouse(Control(id), twice); }

void ListWindowDriver::ClickCheckBox(int id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }

void ListWindowDriver::SetText(int id, const std::string& text) const { SetTextOf(Control(id), text); }

void ListWindowDriver::PressKeyIn(int id, UINT key) const { PressKey(Control(id), key); }

void ListWindowDriver::ClearStatus() const {
  SendMessageW(StatusBar(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
}

int ListWindowDriver::IndexOf(ShownColumn column) const {
  const Texts headers = Headers();
  const bool there = column.index >= 0 && column.index < static_cast<int>(headers.size()) &&
                     headers[static_cast<std::size_t>(column.index)] == column.caption;
  if (!there) {
    std::string shown;
    for (const std::string& header : headers) shown += (shown.empty() ? "\"" : ", \"") + header + "\"";
    DriverFault("The list of " + WindowClass() + " does not show \"" + column.caption + "\" as its column " +
                std::to_string(column.index) + "; its headers: " + shown + ".");
  }
  return column.index;
}

std::string ListWindowDriver::WindowClass() const {
  return ClassOf(m_window);
}

void ListWindowDriver::DriveModal(const char* className, const std::function<void()>& open,
                                  const std::function<void(HWND)>& drive) {
  Script script([&] {
    HWND window = WaitForWindow(className);
    if (!window) return DriverFault(std::string("No ") + className + " window came.");
    drive(window);
  });
  open();
}

}  // namespace discovel::test
