#include "support/win32/CheckResultWindowDriver.h"

#include "check/fmCheckResult.h"
#include "check/fmCheckResultIds.h"

namespace discovel::test {

using namespace fmCheckResultIds;

void CheckResultWindowDriver::Run(AppContext& context, const std::string& mark, const CheckReport& report,
                                  const std::function<void(CheckResultWindowDriver&)>& script) {
  DriveModal(kClassName, [&] { TfrmCheckResult::Execute(context, mark, report); }, [&](HWND window) {
    CheckResultWindowDriver driver(window);
    script(driver);
    driver.Close();
  });
}

CheckResultWindowDriver::CheckResultWindowDriver(HWND window) : KeyedListWindowDriver(window, kListView1, kSb1) {}

}  // namespace discovel::test
