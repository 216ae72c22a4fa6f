#include "update/win32/UpdateCommands.h"

#include <optional>

#include "catalog/CatalogQueries.h"
#include "catalog/KeySummary.h"
#include "drives/DiscWait.h"
#include "drives/fmWaitCD.h"
#include "drives/fmWaitDrive.h"
#include "platform/AppError.h"
#include "platform/ModalResult.h"
#include "ui/MessageBoxes.h"
#include "update/fmUpdate.h"

namespace discovel {
namespace {

// Where the archive's disc or drive is now, once the user has it there.
std::optional<std::string> RootOf(AppContext& context, HWND owner, const ArchiveSource& source,
                                  const std::string& mark) {
  if (source.kind == SourceKind::kDisc) {
    // The changed disc is no longer known by its listing: any disc is taken,
    // and the differences shown tell a wrong one.
    const std::string asked = std::string(kMsgInsertDiscMarked) + mark;
    if (TfrmWaitCD::Execute(context, asked, owner, DiscWanted::kAnyDisc) != kModalOk) return std::nullopt;
    return std::string{context.run.readDevice, ':', '\\'};
  }
  return TfrmWaitDrive::PathNow(source, mark, owner);
}

}  // namespace

void UpdateCataloguedArchive(AppContext& context, HWND owner, const std::string& archivePath, const std::string& mark,
                             const std::function<void(const std::string& before, const std::string& now)>& updated) {
  try {
    const ArchiveSource source =
        SourceOfKeyValues(ReadArchiveKeyValues(context.services.files, archivePath, context.services.text));
    const std::optional<std::string> root = RootOf(context, owner, source, mark);
    if (!root) return;
    const UpdateWindowResult result = TfrmUpdate::Execute(context, archivePath, mark, *root);
    if (result.updated) updated(archivePath, result.written.path);
  } catch (const AppError& error) {
    ShowAlert(owner, error.what());
  }
}

}  // namespace discovel
