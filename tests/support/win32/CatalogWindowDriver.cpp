#include "support/win32/CatalogWindowDriver.h"

#include "browser/fmArchive.h"
#include "browser/fmArchiveIds.h"
#include "support/win32/DriverFault.h"
#include "support/win32/UiDriver.h"

namespace discovel::test {

using namespace fmArchiveIds;

void CatalogWindowDriver::Run(AppContext& context, const std::function<void(CatalogWindowDriver&)>& script,
                              Opening opening) {
  DriveModal(kClassName, [&] { TfrmArchive::Execute(context); }, [&](HWND window) {
    CatalogWindowDriver driver(window);
    if (opening == Opening::kOnceLoaded && !driver.WaitForLoad()) {
      DriverFault("The catalogue window did not load; its status: \"" + driver.Status() + "\".");
    } else {
      script(driver);
    }
    driver.Close();
  });
}

CatalogWindowDriver::CatalogWindowDriver(HWND window) : KeyedListWindowDriver(window, kListView1, kSb1) {}

bool CatalogWindowDriver::Loaded() const {
  const std::string status = Status();
  return status.rfind("Archives: ", 0) == 0 || status == "There are no archives.";
}

bool CatalogWindowDriver::WaitForLoad(std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return Loaded(); }, timeout);
}

void CatalogWindowDriver::SelectRows(const std::vector<int>& rows) const {
  ClickRow(rows.front());
  WaitUntil([&] { return SelectedRows().size() == 1; });
  for (int row : rows) SelectRow(row);
}

int CatalogWindowDriver::View() const { return static_cast<int>(SendMessageW(List(), LVM_GETVIEW, 0, 0)); }

}  // namespace discovel::test
