#include "check/win32/DiscCheckCommands.h"

#include "check/fmCheck.h"
#include "check/fmCheckResult.h"
#include "drives/DriveRules.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/Win32DriveQueries.h"

namespace discovel {

void CheckDiscInDrive(AppContext& context, HWND owner) {
  // The disc to check is one catalogued already, maybe the last one added.
  if (TfrmWaitCD::Execute(context, "", owner, DiscWanted::kAnyDisc) == kModalCancel) return;
  const CheckOutcome outcome = TfrmCheck::Execute(context, std::nullopt, owner);
  if (outcome.modalResult == kModalOk) TfrmCheckResult::Execute(context, outcome.target.mark, outcome.report);
}

void CheckCataloguedDisc(AppContext& context, HWND owner, const CheckTarget& target,
                         const std::function<void()>& checked) {
  // Without a read device the wait says so.
  const char drive = context.run.readDevice;
  if ((drive == kNoDrive || !DiscInDrive(SystemDriveQueries(), drive)) &&
      TfrmWaitCD::Execute(context, "Insert CD/DVD marked: " + target.mark, owner, DiscWanted::kAnyDisc) ==
          kModalCancel) {
    return;
  }
  const CheckOutcome outcome = TfrmCheck::Execute(context, target, owner);
  if (outcome.modalResult != kModalOk) return;
  checked();
  TfrmCheckResult::Execute(context, outcome.target.mark, outcome.report);
}

}  // namespace discovel
