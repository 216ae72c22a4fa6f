#include "check/fmCheckResult.h"

#include <memory>

#include "check/CheckTexts.h"
#include "check/fmCheckResultIds.h"
#include "platform/ModalResult.h"
#include "platform/ProgramName.h"
#include "search/SearchCriteria.h"
#include "settings/SettingsNames.h"
#include "ui/Menus.h"

namespace discovel {
namespace {

using namespace fmCheckResultIds;

TfrmCheckResult* frmCheckResult = nullptr;

// Design units.
constexpr int kWindowWidth = 640;  // also the smallest size
constexpr int kBarHeight = 25;

}  // namespace

int TfrmCheckResult::Execute(AppContext& context, const std::string& mark, const CheckReport& report) {
  return RunModalOnce(frmCheckResult, [&] { return std::make_unique<TfrmCheckResult>(context, mark, report); },
                      kModalCancel);
}

TfrmCheckResult::TfrmCheckResult(AppContext& context, std::string mark, const CheckReport& report)
    : m_context(context),
      m_mark(std::move(mark)),
      m_table(report.rows, context.services.text.ThousandsSeparator()),
      m_counts(report.counts),
      m_found(context) {}

// The controls go with the window, before their wrappers and what they report to.
TfrmCheckResult::~TfrmCheckResult() { DestroyDetached(); }

void TfrmCheckResult::Create() {
  // The summary is long: one panel the width of the window, no progress.
  CreateToolWindow({.className = kClassName,
                    .bandTitle = "Disc check",
                    .placementStore = &m_context.services.settings,
                    .formName = names::kFormCheckResult,
                    .width = kWindowWidth,
                    .statusPanels = {kWindowWidth},
                    .progressPanel = -1});
  SetTextOf(Handle(), std::string(kProgramName) + " (check of " + m_mark + ")");
  m_found.Create({.form = this,
                  .id = kListView1,
                  .columns = FoundListColumnsOf(kCheckColumns),
                  .sort = &m_context.run.lists.checkResultSort,
                  .listWord = "check",
                  .fileOf = [this](std::size_t row) { return m_table.OtherCopy(row); },
                  // The file as the checked disc holds it (or held it); the rows carry no date.
                  .morePropreties = [this](std::size_t, PropretiesValues& values) {
                    values.mark = m_mark;
                    values.type = std::string(ExtensionOf(values.file));
                  },
                  .placeOf = [this](std::size_t row) { return m_table.CataloguedFile(row, m_mark); }});
  std::vector<MenuItem> menu = FoundFilesList::FileMenuItems();
  menu.insert(menu.end(),
              {Separator(), FoundFilesList::ShowInFolderMenuItem(), Separator(), FoundFilesList::ExportMenuItem()});
  FrameList(m_found.List(), kBarHeight, BuildMenu(menu, Commands()));
  m_found.ShowRows(&m_table);
  Status().SetText(0, CheckSummaryText(m_counts, m_context.services.text.ThousandsSeparator()));
  SetOpeningFocus(m_found.Handle());
  KeyState();
}

}  // namespace discovel
