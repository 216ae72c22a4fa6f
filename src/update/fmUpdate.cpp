#include "update/fmUpdate.h"

#include "catalog/ArchiveKeyWalk.h"
#include "platform/AppError.h"
#include "platform/ModalResult.h"
#include "platform/ProgramName.h"
#include "platform/ScopeExit.h"
#include "search/SearchCriteria.h"
#include "settings/SettingsNames.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "update/fmUpdateIds.h"

namespace discovel {
namespace {

using namespace fmUpdateIds;

TfrmUpdate* frmUpdate = nullptr;

// Design units.
constexpr int kWindowWidth = 640;
constexpr int kBarHeight = 25;
constexpr int kButtonsHeight = 30;
// The walk starts once the window is up, from its own message.
constexpr UINT kStartWalk = WM_APP + 1;
constexpr ULONGLONG kWalkedShownEveryMs = 100;

// Said when the changed contents are another archive's already.
constexpr std::string_view kMsgNameTaken = "The contents are now those of another archive of the catalogue: ";
constexpr std::string_view kMsgNothingChanged = "Nothing changed: the archive is up to date.";
constexpr std::string_view kMsgNoFiles = "No files were found there: the archive stays as it is.";

}  // namespace

UpdateWindowResult TfrmUpdate::Execute(AppContext& context, const std::string& archivePath, const std::string& mark,
                                       const std::string& root) {
  UpdateWindowResult result;
  RunModalOnce(
      frmUpdate, [&] { return std::make_unique<TfrmUpdate>(context, archivePath, mark, root, result); },
      kModalCancel);
  return result;
}

TfrmUpdate::TfrmUpdate(AppContext& context, const std::string& archivePath, std::string mark, std::string root,
                       UpdateWindowResult& result)
    : m_context(context),
      m_mark(std::move(mark)),
      m_root(std::move(root)),
      m_result(result),
      m_refresh(context.services.files, context.services.text, m_pump, archivePath),
      m_found(context) {}

// The controls go with the window, before their wrappers and what they report to.
TfrmUpdate::~TfrmUpdate() { DestroyDetached(); }

void TfrmUpdate::Create() {
  CreateToolWindow({.className = kClassName,
                    .bandTitle = "Update Archive",
                    .placementStore = &m_context.services.settings,
                    .formName = names::kFormUpdate,
                    .width = kWindowWidth,
                    .statusPanels = {kWindowWidth},
                    .progressPanel = -1});
  SetTextOf(Handle(), std::string(kProgramName) + " (update of " + m_mark + ")");
  CommandTable& commands = Commands();
  commands.Add({.id = kBtnUpdate,
                .caption = "Update",
                .run = [this] { Update(); },
                .enabled = [this] { return m_walked && m_table.RowCount() != 0; }});
  commands.Add({.id = kBtnCancel, .caption = "Cancel", .run = [this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); }});
  m_btnUpdate.Create({.form = this, .id = kBtnUpdate, .text = "Update", .bounds = {8, kBarHeight + 4, 80, 22}});
  m_btnCancel.Create({.form = this, .id = kBtnCancel, .text = "Cancel", .bounds = {96, kBarHeight + 4, 80, 22}});
  BindButton(m_btnUpdate.Handle());
  BindButton(m_btnCancel.Handle());
  m_found.Create({.form = this,
                  .id = kListView1,
                  .columns = FoundListColumnsOf(kDifferenceColumns),
                  .sort = &m_context.run.lists.updateSort,
                  .searching = [this] { return m_walking; },
                  .listWord = "update",
                  .morePropreties = [this](std::size_t, PropretiesValues& values) {
                    values.mark = m_mark;
                    values.type = std::string(ExtensionOf(values.file));
                  }});
  std::vector<MenuItem> menu = FoundFilesList::FileMenuItems();
  menu.insert(menu.end(), {Separator(), FoundFilesList::ExportMenuItem()});
  FrameList(m_found.List(), kBarHeight + kButtonsHeight, BuildMenu(menu, commands));
  SetOpeningFocus(m_btnCancel.Handle());
  KeyState();
}

void TfrmUpdate::OnActivated() {
  if (m_started) return;
  m_started = true;
  PostMessageW(Handle(), kStartWalk, 0, 0);
}

LRESULT TfrmUpdate::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kStartWalk) {
    Walk();
    return 0;
  }
  return ToolWindow::HandleMessage(message, wParam, lParam);
}

void TfrmUpdate::OnClosing() { m_refresh.RequestAbort(); }

void TfrmUpdate::Walk() {
  m_walking = true;
  KeyState();
  bool walked = false;
  {
    ScopeExit done([this] {
      m_walking = false;
      KeyState();
    });
    Status().SetText(0, "Reading " + m_root);
    walked = m_refresh.Walk(m_root, this);
  }
  if (!walked || Closing()) return;
  const DifferenceCounts& counts = m_refresh.Differences().counts;
  const std::string thousands = m_context.services.text.ThousandsSeparator();
  m_table = DifferenceTable(m_refresh.Differences(), CellFormats::Of(m_context.services.text));
  m_found.ShowRows(&m_table);
  Status().SetText(0, DifferencesStatus(counts, thousands));
  m_walked = m_refresh.FoundFiles();
  KeyState();
  if (!m_refresh.FoundFiles()) {
    ShowAlert(Handle(), kMsgNoFiles);
  } else if (m_table.RowCount() == 0) {
    ShowAlert(Handle(), kMsgNothingChanged);
  }
}

void TfrmUpdate::ShowWalked(const WalkedSoFar& walked) {
  const ULONGLONG now = GetTickCount64();
  if (m_lastWalkedShown != 0 && now - m_lastWalkedShown < kWalkedShownEveryMs) return;
  m_lastWalkedShown = now;
  Status().SetText(0, "Reading " + std::string(walked.folder));
}

void TfrmUpdate::Update() {
  if (!m_walked || m_walking) return;
  UpdateResult written;
  try {
    written = m_refresh.Write(m_context.services.text.Now());
  } catch (const AppError& error) {
    ShowAlert(Handle(), error.what());
    return;
  }
  if (written.outcome == UpdateOutcome::kNameTaken) {
    ShowAlert(Handle(), std::string(kMsgNameTaken) + written.path);
    return;
  }
  RefreshKeySummary(m_context.services.files, m_context.services.text, m_context.run.catalogFolder);
  m_result = {true, written};
  if (written.outcome == UpdateOutcome::kOldFileKept) {
    ShowAlert(Handle(), std::string(kMsgOldArchiveKept) + m_refresh.ArchivePath());
  }
  EndModal(kModalOk);
}

}  // namespace discovel
