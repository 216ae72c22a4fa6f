#include "check/win32/DiscCheckCommands.h"

#include "check/fmCheck.h"
#include "check/fmCheckResult.h"
#include "drives/DriveRules.h"
#include "catalog/CatalogQueries.h"
#include "catalog/KeySummary.h"
#include "drives/fmWaitCD.h"
#include "drives/fmWaitDrive.h"
#include "platform/AppError.h"

namespace discovel {

void CheckDiscInDrive(AppContext& context, HWND owner) {
  // The disc to check is one catalogued already, maybe the last one added.
  if (TfrmWaitCD::Execute(context, "", owner, DiscWanted::kAnyDisc) == kModalCancel) return;
  const CheckOutcome outcome = TfrmCheck::Execute(context, std::nullopt, owner);
  if (outcome.modalResult == kModalOk) TfrmCheckResult::Execute(context, outcome.target.mark, outcome.report);
}

void CheckCataloguedDisc(AppContext& context, HWND owner, const CheckTarget& target,
                         const std::function<void()>& checked) {
  // A drive's archive is checked on the drive, wherever it is mounted now.
  ArchiveSource source;
  try {
    source = SourceOfKeyValues(ReadArchiveKeyValues(context.services.files, target.archivePath, context.services.text));
  } catch (const AppError&) {
    // The check itself says what is wrong with the archive.
  }
  if (source.kind != SourceKind::kDisc) {
    const std::optional<std::string> root = TfrmWaitDrive::PathNow(source, target.mark, owner);
    if (!root) return;
    const CheckOutcome outcome = TfrmCheck::Execute(context, target, owner, root);
    if (outcome.modalResult != kModalOk) return;
    checked();
    TfrmCheckResult::Execute(context, outcome.target.mark, outcome.report);
    return;
  }
  // Without a read device the wait says so. Otherwise the check makes sure
  // of the disc itself, asking for it by its mark when another is in the drive.
  if (context.run.readDevice == kNoDrive) {
    TfrmWaitCD::Execute(context, std::string(kMsgInsertDiscMarked) + target.mark, owner, DiscWanted::kAnyDisc);
    return;
  }
  const CheckOutcome outcome = TfrmCheck::Execute(context, target, owner);
  if (outcome.modalResult != kModalOk) return;
  checked();
  TfrmCheckResult::Execute(context, outcome.target.mark, outcome.report);
}

}  // namespace discovel
