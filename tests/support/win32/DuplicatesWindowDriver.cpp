#include "support/win32/DuplicatesWindowDriver.h"

#include "search/fmDuplicates.h"
#include "search/fmDuplicatesIds.h"
#include "support/win32/UiDriver.h"

namespace discovel::test {

using namespace fmDuplicatesIds;

void DuplicatesWindowDriver::Run(AppContext& context, const std::function<void(DuplicatesWindowDriver&)>& script) {
  DriveModal(kClassName, [&] { TfrmDuplicates::Execute(context); }, [&](HWND window) {
    DuplicatesWindowDriver driver(window);
    script(driver);
    driver.Close();
  });
}

DuplicatesWindowDriver::DuplicatesWindowDriver(HWND window) : KeyedListWindowDriver(window, kListView1, kSb1) {}

Texts DuplicatesWindowDriver::GroupColumn() const { return ListColumn(List(), IndexOf(kGroup)); }

int DuplicatesWindowDriver::GroupColumnWidth() const {
  return static_cast<int>(SendMessageW(List(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(IndexOf(kGroup)), 0));
}

std::string DuplicatesWindowDriver::WaitForSearchEnd(std::chrono::milliseconds timeout) const {
  std::string status;
  WaitUntil(
      [&] {
        status = Status();
        return !status.empty() && status != "Searching...";
      },
      timeout);
  return status;
}

std::string DuplicatesWindowDriver::SearchWithKey(int id, UINT key) const {
  ClearStatus();
  PressKeyIn(id, key);
  return WaitForSearchEnd();
}

}  // namespace discovel::test
