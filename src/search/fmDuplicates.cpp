#include "search/fmDuplicates.h"

#include <commctrl.h>

#include <algorithm>
#include <new>

#include "catalog/CatalogFolder.h"
#include "platform/ProgramName.h"
#include "platform/ScopeExit.h"
#include "search/MarkChoices.h"
#include "search/fmDuplicatesIds.h"
#include "settings/SettingsNames.h"
#include "ui/ButtonPictures.h"
#include "ui/Controls.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

using namespace fmDuplicatesIds;

TfrmDuplicates* frmDuplicates = nullptr;

constexpr const char* kAllArchives = "All archives";

// Design units.
constexpr int kBarHeight = 25;
constexpr int kCriteriaHeight = 56;
constexpr int kButtonSize = 25;
// Posted at the first activation: the search starts once the window is up.
constexpr UINT kMsgAutoGo = WM_APP + 1;

}  // namespace

int TfrmDuplicates::Execute(AppContext& context) {
  return RunModalOnce(frmDuplicates, [&] { return std::make_unique<TfrmDuplicates>(context); }, kModalCancel);
}

TfrmDuplicates::TfrmDuplicates(AppContext& context)
    : m_context(context),
      m_found(context),
      m_run({*this, kBtnGo, Status(), m_found, [this] { m_finder->Abort(); },
             [this](bool idle) { EnableCriteria(idle); }}) {}

// The controls go with the window, before their wrappers and what they report to.
TfrmDuplicates::~TfrmDuplicates() { DestroyDetached(); }

void TfrmDuplicates::Create() {
  CreateToolWindow({kClassName, "Duplicates", &m_context.services.settings, names::kFormDuplicates});
  SetTextOf(Handle(), std::string(kProgramName) + " (duplicate files)");
  BuildControls();
  BuildCommands();
  m_run.onArchiveFailed = [this](const std::string& message) { m_troubles.Add(message); };
  m_finder = std::make_unique<DuplicateFinder>(m_context.services.files, m_context.services.text, m_run.Pump(), m_run);
  SetOpeningFocus(m_chkSameName.Handle());
  KeyState();
}

void TfrmDuplicates::BuildControls() {
  m_ground.Create();
  m_btnGo.Create({.form = this, .id = kBtnGo, .bounds = {100, 0, kButtonSize, kButtonSize}, .picture = true});

  const int row1 = kBarHeight + 6;
  const int row2 = kBarHeight + 31;
  const auto check = [&](CheckBox& box, int id, const char* text, int x, int y, int width, bool checked,
                         bool radio = false, bool groupStart = false) {
    box.Create({.form = this, .id = id, .text = text, .bounds = {x, y, width, 17}, .checked = checked,
                .radio = radio, .groupStart = groupStart});
  };
  check(m_chkSameName, kChkSameName, "Same name", 8, row1 + 2, 80, true);
  check(m_chkSameSize, kChkSameSize, "Same size", 96, row1 + 2, 76, true);
  check(m_chkSameDate, kChkSameDate, "Same date", 180, row1 + 2, 76, false);
  m_lblMarks.Create({.form = this, .text = "Marks:", .bounds = {268, row1 + 3, 36, 16}, .style = SS_RIGHT});
  m_cmbMarks.Create({.form = this, .id = kCmbMarks, .bounds = {308, row1, 200, 21}, .items = {kAllArchives}});
  check(m_radSeveralDiscs, kRadSeveralDiscs, "Files on two or more discs", 8, row2, 164, true, true, true);
  check(m_radThisDiscOnly, kRadThisDiscOnly, "Files on this disc only", 180, row2, 150, false, true);

  m_chkSameName.onClick = [this] { KeepOneCriterion(m_chkSameName); };
  m_chkSameSize.onClick = [this] { KeepOneCriterion(m_chkSameSize); };
  m_chkSameDate.onClick = [this] { KeepOneCriterion(m_chkSameDate); };
  m_cmbMarks.onChange = [this] { ApplyModeState(); };

  m_found.Create({.form = this,
                  .id = kListView1,
                  .columns = DuplicateTable::Columns(),
                  .sort = &m_context.run.lists.duplicatesSort,
                  .searching = [this] { return m_run.Busy(); },
                  .listWord = "duplicates"});

  std::vector<std::string> marks{kAllArchives};
  for (std::string& mark : ArchiveMarkChoices(m_context.services.files, m_context.services.text,
                                              m_context.run.catalogFolder, kArchiveMask)) {
    marks.push_back(std::move(mark));
  }
  m_cmbMarks.SetItems(marks, 0);
  ApplyModeState();
}

void TfrmDuplicates::BuildCommands() {
  CommandTable& commands = Commands();
  commands.Add({.id = kBtnGo, .caption = "Go", .picture = ButtonPicture::Go, .run = [this] { Go(); }});
  // F5 searches again; it never cancels a running search.
  commands.Add({.keys = {VK_F5}, .run = [this] {
                  if (!m_run.Busy()) Go();
                }});
  BindButton(m_btnGo.Handle());
  std::vector<MenuItem> menu = FoundFilesList::FileMenuItems();
  menu.insert(menu.end(),
              {Separator(), FoundFilesList::ShowInFolderMenuItem(), Separator(), FoundFilesList::ExportMenuItem()});
  FrameList(m_found.List(), kBarHeight + kCriteriaHeight, BuildMenu(menu, commands));
}

void TfrmDuplicates::PaintBody(HDC dc, const RECT& client) {
  m_ground.Paint(dc, kBarHeight, kCriteriaHeight, client.right, Dpi());
}

// --- Criteria ------------------------------------------------------------------

void TfrmDuplicates::KeepOneCriterion(CheckBox& cleared) {
  if (!m_chkSameName.Checked() && !m_chkSameSize.Checked() && !m_chkSameDate.Checked()) {
    cleared.SetChecked(true);
  }
}

void TfrmDuplicates::ApplyModeState() {
  // One disc only needs one archive in Marks.
  const bool oneArchive = m_cmbMarks.Selected() > 0;
  if (!oneArchive && m_radThisDiscOnly.Checked()) {
    m_radThisDiscOnly.SetChecked(false);
    m_radSeveralDiscs.SetChecked(true);
  }
  EnableWindow(m_radThisDiscOnly.Handle(), m_controlsEnabled && oneArchive);
}

void TfrmDuplicates::EnableCriteria(bool enabled) {
  m_controlsEnabled = enabled;
  for (HWND control : {m_chkSameName.Handle(), m_chkSameSize.Handle(), m_chkSameDate.Handle(),
                       m_cmbMarks.Handle(), m_radSeveralDiscs.Handle()}) {
    EnableWindow(control, enabled);
  }
  ApplyModeState();
}

DuplicateRequest TfrmDuplicates::RequestFromControls() const {
  DuplicateRequest request;
  request.criteria = {m_chkSameName.Checked(), m_chkSameSize.Checked(), m_chkSameDate.Checked()};
  if (m_cmbMarks.Selected() > 0) request.mark = m_cmbMarks.SelectedText();
  request.mode = m_radThisDiscOnly.Checked() && !request.mark.empty() ? DuplicateMode::kOnThisDiscOnly
                                                                        : DuplicateMode::kOnSeveralDiscs;
  return request;
}

bool TfrmDuplicates::IsCriteriaControl(HWND control) const {
  for (HWND candidate : {m_chkSameName.Handle(), m_chkSameSize.Handle(), m_chkSameDate.Handle(),
                         m_cmbMarks.Handle(), m_radSeveralDiscs.Handle(), m_radThisDiscOnly.Handle()}) {
    if (control == candidate) return true;
  }
  return false;
}

// --- Searching -------------------------------------------------------------------

void TfrmDuplicates::Go() {
  m_run.GoOrCancel([this] {
    m_found.ShowRows(nullptr);
    m_table.Clear();
    Search();
  });
}

void TfrmDuplicates::Search() {
  const DuplicateRequest request = RequestFromControls();
  const std::string thousands = m_context.services.text.ThousandsSeparator();
  m_run.ShowRunning();
  m_troubles.Clear();
  bool full = false;
  {
    ScopeExit finish([&] {
      m_found.ShowLeadingColumns(DuplicateTable::kFirstFileColumn, request.mode == DuplicateMode::kOnSeveralDiscs);
      m_found.ShowRows(&m_table);
      m_run.ShowIdle();
    });
    try {
      const bool completed = m_finder->Run(m_context.run.catalogFolder, kArchiveMask, request);
      full = m_finder->ResultsWereFull();
      if (completed) m_table.Fill(m_finder->Groups(), m_context.services.text);
    } catch (const ResultsFull&) {
      full = true;
    } catch (const std::bad_alloc&) {
      // Said as too many results, below, never as a bare "std::bad_alloc".
      m_table.Clear();
      full = true;
    }
  }
  Status().SetText(0, DuplicatesStatus(request.mode, request.mark,
                                       m_table.RowCount() != 0 ? m_finder->Totals() : DuplicateTotals{}, thousands));
  if (Closing()) return;
  const std::string troubles = m_troubles.Text();
  if (!troubles.empty()) ShowAlert(Handle(), troubles);
  if (full) {
    ShowAlert(Handle(),
              "Too many results: the files to list need more memory than the search may take, so none are "
              "listed. Check more criteria, or choose one archive in Marks.");
  }
  // The rows are what the user came for: the keys go to them.
  if (m_table.RowCount() != 0) SetFocus(m_found.Handle());
}

// --- Messages ----------------------------------------------------------------------

bool TfrmDuplicates::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && IsCriteriaControl(msg.hwnd)) {
    if (IsWindowEnabled(Handle())) RunCommand(kBtnGo);
    return true;
  }
  return ToolWindow::PreTranslate(msg);
}

void TfrmDuplicates::OnActivated() {
  if (m_autoGoDone) return;
  m_autoGoDone = true;
  PostMessageW(Handle(), kMsgAutoGo, 0, 0);
}

LRESULT TfrmDuplicates::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgAutoGo:
      RunCommand(kBtnGo);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (IsCriteriaControl(reinterpret_cast<HWND>(lParam)) ||
          reinterpret_cast<HWND>(lParam) == m_lblMarks.Handle()) {
        return reinterpret_cast<LRESULT>(m_ground.ForControl(reinterpret_cast<HDC>(wParam)));
      }
      return DefaultHandling(message, wParam, lParam);
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
