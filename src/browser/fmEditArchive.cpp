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
  m_actOk = Action("", "", [this] { btnOkClick(); });
  m_actCancel = Action("", "", [this] { EndModal(kModalCancel); });
  Commands().Add({kBtnOk, &m_actOk, "OK"});
  Commands().Add({kBtnCancel, &m_actCancel, "Cancel", nullptr, {VK_ESCAPE}});

  const char* captions[] = {"Mark", "Location", "Note"};
  EditBox* edits[] = {&m_edtMark, &m_edtLocation, &m_edtNote};
  const std::string* texts[] = {&m_values.mark, &m_values.location, &m_values.note};
  for (int i = 0; i < 3; ++i) {
    const int y = kBandHeight + 22 + i * 40;
    m_labels[i].Create({.form = this, .text = captions[i], .bounds = {20, y + 3, 60, 16}});
    edits[i]->Create({.form = this, .id = kEdtMark + i, .bounds = {84, y, kClientWidth - 104, 21}, .anchors = kAnchorTopWide});
    edits[i]->SetText(*texts[i]);
    UseEditKeyFilter(edits[i]->Handle());
  }
  CreateBandButtons({{m_btnOk, m_actOk}, {m_btnCancel, m_actCancel}});
  m_actOk.SetEnabled(EditOkEnabled(m_values.mark));
  m_edtMark.onChange = [this] { m_actOk.SetEnabled(EditOkEnabled(m_edtMark.Text())); };
  SetOpeningFocus(m_edtMark.Handle());
}

void TfrmEditArchive::OnActivated() {
  SetWindowTextA(Handle(), kProgramName);
  // The archive's own mark, as the dialog opened with it. Taken again after
  // "The mark already exists!" closed, it would be the refused mark, and the
  // archive's own mark could then no longer be typed back.
  if (!m_markRemembered) {
    m_rememberedMark = m_edtMark.Text();
    m_markRemembered = true;
  }
}

void TfrmEditArchive::btnOkClick() {
  const std::string mark = m_edtMark.Text();
  const auto taken = [this](std::string_view candidate) {
    return MarkExists(m_context.services.files, m_context.services.text, candidate, m_context.run.catalogFolder,
                      kArchiveMask);
  };
  if (JudgeEditedMark(mark, m_rememberedMark, m_context.services.text, taken) == EditVerdict::MarkTaken) {
    ShowAlert(Handle(), kMsgMarkExists);
    SetFocus(m_edtMark.Handle());
    return;
  }
  m_values = ArchiveValues{mark, m_edtLocation.Text(), m_edtNote.Text()};
  EndModal(kModalOk);
}

}  // namespace discovel
