#include "check/fmCheckResult.h"

#include <algorithm>
#include <memory>

#include "check/CheckTexts.h"
#include "check/fmCheckResultIds.h"
#include "platform/ModalResult.h"
#include "platform/ProgramName.h"
#include "search/SearchCriteria.h"
#include "settings/SettingsNames.h"
#include "ui/ButtonPictures.h"
#include "ui/Controls.h"
#include "ui/Menus.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using namespace fmCheckResultIds;

TfrmCheckResult* frmCheckResult = nullptr;

// The sort outlives the window: the next check's result starts where this one ended.
ColumnSortState& CheckResultSort() {
  static ColumnSortState sort;
  return sort;
}

// Design units.
constexpr int kWindowWidth = 640;  // also the smallest size
constexpr int kWindowHeight = 360;
constexpr int kBarHeight = 25;
constexpr int kButtonSize = 25;
constexpr int kStatusWidth = 90;
constexpr int kSizeWidth = 95;

std::vector<FoundListColumn> CheckColumns() {
  using Align = ListViewColumn::Align;
  return {{{"Status", kStatusWidth, 20}},
          {{"Directory", 150, 20}},
          {{"File", 150, 20}},
          {{"Size", kSizeWidth, 20, 0, Align::Right}, SortKind::Number},
          {{"Reason", 150, 20}},
          {{"Other copies", 100, 20}}};
}

// Status and Size keep their width; the text columns share the rest.
std::vector<int> CheckColumnWidths(int clientWidth, UINT dpi) {
  const int least = ScaleToDpi(20, dpi);
  const int status = ScaleToDpi(kStatusWidth, dpi);
  const int size = ScaleToDpi(kSizeWidth, dpi);
  const int rest = std::max(0, clientWidth - status - size);
  const int directory = std::max(least, rest * 30 / 100);
  const int file = std::max(least, rest * 25 / 100);
  const int reason = std::max(least, rest * 25 / 100);
  const int others = std::max(least, rest - directory - file - reason);
  return {status, directory, file, size, reason, others};
}

}  // namespace

int TfrmCheckResult::Execute(AppContext& context, const std::string& mark, const CheckReport& report) {
  return RunModalOnce(frmCheckResult, [&] { return std::make_unique<TfrmCheckResult>(context, mark, report); },
                      kModalCancel);
}

TfrmCheckResult::TfrmCheckResult(AppContext& context, std::string mark, const CheckReport& report)
    : FoundListWindow(context),
      m_mark(std::move(mark)),
      m_table(report.rows, context.services.text.ThousandsSeparator()),
      m_counts(report.counts) {}

// The controls go with the window, before their wrappers and what they report to.
TfrmCheckResult::~TfrmCheckResult() { DestroyDetached(); }

void TfrmCheckResult::Create() {
  CreateToolWindow({kClassName, "Disc check", kWindowWidth, kWindowHeight, &m_context.services.settings,
                    names::kFormCheckResult});
  SetWindowTextA(Handle(), (std::string(kProgramName) + " (check of " + m_mark + ")").c_str());
  BuildControls();
  BuildActions();
  m_found.ShowRows(&m_table);
  m_sb1.SetText(0, CheckSummaryText(m_counts, m_context.services.text.ThousandsSeparator()));
  Layout();
  SetOpeningFocus(m_found.Handle());
  KeyState();
}

void TfrmCheckResult::BuildControls() {
  // Copy File works on the list's row: a click leaves the focus there.
  const int right = DesignClient().width;
  m_btnExportCsv = CreateToolButton(Handle(), kBtnExportCsv, right - 2 * kButtonSize, 0, kButtonSize, kAnchorTopRight);
  m_btnCopyFile = CreateToolButton(Handle(), kBtnCopyFile, right - kButtonSize, 0, kButtonSize, kAnchorTopRight);
  m_found.Create({.form = this,
                  .id = kListView1,
                  .columns = CheckColumns(),
                  .firstFileColumn = 0,
                  .sort = &CheckResultSort(),
                  .listWord = "check",
                  .fileOf = [this](std::size_t row) { return m_table.OtherCopy(row); },
                  .propretiesOf = [this](std::size_t row) { return PropretiesOf(row); },
                  .columnWidths = CheckColumnWidths});
  // The summary is long: one panel the width of the window, no progress.
  m_sb1.Create(Handle(), kSb1, 0, {kWindowWidth}, 0);
}

void TfrmCheckResult::BuildActions() {
  m_actClose.SetOnExecute([this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
  CommandTable& commands = Commands();
  m_found.AddCommands(commands, {kBtnCopyFile, kExecuteFile, kPropreties, kBtnExportCsv});
  commands.Add({0, &m_actClose, nullptr, nullptr, {VK_ESCAPE}});
  m_popupMenu = BuildMenu({Item(m_found.ActCopyFile, MenuItem::kDefault), Item(m_found.ActExecuteFile),
                           Separator(), Item(m_found.ActPropreties), Separator(), Item(m_found.ActExportCsv)},
                          commands);
  BindButton(m_btnCopyFile, m_found.ActCopyFile);
  BindButton(m_btnExportCsv, m_found.ActExportCsv);
}

void TfrmCheckResult::Layout() { PlaceList(kBarHeight); }

PropretiesValues TfrmCheckResult::PropretiesOf(std::size_t row) const {
  // The file as the checked disc holds it (or held it); the rows carry no date.
  const CheckRow& found = m_table.Row(row);
  PropretiesValues values;
  values.mark = m_mark;
  values.directory = found.directory;
  values.file = found.file;
  values.type = std::string(ExtensionOf(found.file));
  values.size = std::string(m_table.Cell(row, CheckColumnIndex(CheckColumn::kSize)));
  return values;
}

}  // namespace discovel
