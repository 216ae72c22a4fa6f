#pragma once
// The check result window (TfrmCheckResult) driven from a test's second
// thread: the report's rows read by their columns' keys.
#include <windows.h>

#include <functional>
#include <string>

#include "check/CheckTable.h"
#include "check/DiscCheck.h"
#include "platform/AppContext.h"
#include "support/win32/ListWindowDriver.h"

namespace discovel::test {

class CheckResultWindowDriver final : public KeyedListWindowDriver<CheckColumn> {
 public:
  // Opens the window on `report` of the disc `mark` and runs `script` against
  // it on a second thread; the window is closed after it.
  static void Run(AppContext& context, const std::string& mark, const CheckReport& report,
                  const std::function<void(CheckResultWindowDriver&)>& script);

  explicit CheckResultWindowDriver(HWND window);

 protected:
  ShownColumn Where(CheckColumn key) const override { return ShownColumnOf(kCheckColumns, key); }
};

}  // namespace discovel::test
