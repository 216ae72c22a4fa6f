#include "browser/fmEditArchive.h"

#include "browser/ArchiveEditing.h"
#include "browser/fmEditArchiveIds.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "platform/ProgramName.h"
#include "ui/MessageBoxes.h"

namespace discovel {
namespace {

using namespace fmEditArchiveIds;

TfrmEditArchive* frmEditArchive = nullptr;

constexpr int kClientWidth = 444;
constexpr int kClientHeight = 196;
constexpr COLORREF kBodyColour = RGB(125, 154, 189);

}  // namespace

int TfrmEditArchive::Execute(AppContext& context, ArchiveValues& values) {
  return RunModalOnce(frmEditArchive, [&] { return std::make_unique<TfrmEditArchive>(context, values); },
                      kModalCancel);
}

TfrmEditArchive::TfrmEditArchive(AppContext& context, ArchiveValues& values) : m_context(context), m_values(values) {}

void TfrmEditArchive::Create() {
  CreateDialogWindow({kClassName, "Edit archive", kClientWidth, kClientHeight, kBandBlue, kBodyColour});
  const char* captions[] = {"Mark", "Location", "Note"};
  HWND* edits[] = {&m_edtMark, &m_edtLocation, &m_edtNote};
  const std::string* texts[] = {&m_values.mark, &m_values.location, &m_values.note};
  for (int i = 0; i < 3; ++i) {
    const int y = kBandHeight + 22 + i * 40;
    CreateLabel(Handle(), 0, captions[i], 20, y + 3, 60, 16);
    *edits[i] = CreateEdit(Handle(), kEdtMark + i, 84, y, kClientWidth - 104);
    SetWindowTextA(*edits[i], texts[i]->c_str());
    UseEditKeyFilter(*edits[i]);
  }
  m_btnOk = CreateButton(Handle(), kBtnOk, "OK", 0, 0);
  HWND btnCancel = CreateButton(Handle(), kBtnCancel, "Cancel", 0, 0);
  PlaceBandButtons({m_btnOk, btnCancel});
  EnableWindow(m_btnOk, EditOkEnabled(m_values.mark));
  m_actOk = Action("OK", "", [this] { btnOkClick(); });
  m_actCancel = Action("Cancel", "", [this] { EndModal(kModalCancel); });
  Commands().Add(kBtnOk, m_actOk);
  Commands().Add(kBtnCancel, m_actCancel);
  Commands().AddKey(VK_ESCAPE, m_actCancel);
  SetOpeningFocus(m_edtMark);
}

void TfrmEditArchive::OnActivated() {
  SetWindowTextA(Handle(), kProgramName);
  // The archive's own mark, as the dialog opened with it. Taken again after
  // "The mark already exists!" closed, it would be the refused mark, and the
  // archive's own mark could then no longer be typed back.
  if (!m_markRemembered) {
    m_rememberedMark = WindowText(m_edtMark);
    m_markRemembered = true;
  }
}

void TfrmEditArchive::OnCommand(int id, int code) {
  if (id == kEdtMark && code == EN_CHANGE) EnableWindow(m_btnOk, EditOkEnabled(WindowText(m_edtMark)));
}

void TfrmEditArchive::btnOkClick() {
  const std::string mark = WindowText(m_edtMark);
  const auto taken = [this](std::string_view candidate) {
    return MarkExists(m_context.services.files, m_context.services.text, candidate, m_context.run.catalogFolder,
                      kArchiveMask);
  };
  if (JudgeEditedMark(mark, m_rememberedMark, m_context.services.text, taken) == EditVerdict::MarkTaken) {
    ShowAlert(Handle(), kMsgMarkExists);
    SetFocus(m_edtMark);
    return;
  }
  m_values = ArchiveValues{mark, WindowText(m_edtLocation), WindowText(m_edtNote)};
  EndModal(kModalOk);
}

}  // namespace discovel
