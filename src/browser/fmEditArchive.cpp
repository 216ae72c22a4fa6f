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

constexpr DesignSize kClient{444, 196};
constexpr COLORREF kBodyColour = RGB(125, 154, 189);

}  // namespace

int TfrmEditArchive::Execute(AppContext& context, ArchiveValues& values) {
  return RunModalOnce(frmEditArchive, [&] { return std::make_unique<TfrmEditArchive>(context, values); },
                      kModalCancel);
}

TfrmEditArchive::TfrmEditArchive(AppContext& context, ArchiveValues& values) : m_context(context), m_values(values) {}

void TfrmEditArchive::Create() {
  CreateDialogWindow({.className = kClassName,
                      .title = "Edit archive",
                      .client = kClient,
                      .bodyColour = kBodyColour});
  // OK only for a mark that is more than blanks.
  Action& ok = Commands().Add({.id = kBtnOk,
                               .caption = "OK",
                               .run = [this] { btnOkClick(); },
                               .enabled = [this] { return EditOkEnabled(m_fields.mark.Text()); }});
  Action& cancel = Commands().Add(
      {.id = kBtnCancel, .caption = "Cancel", .keys = {VK_ESCAPE}, .run = [this] { EndModal(kModalCancel); }});

  m_fields.Create(*this, kBandHeight + 22, 40);
  m_fields.mark.SetText(m_values.mark);
  m_fields.location.SetText(m_values.location);
  m_fields.note.SetText(m_values.note);
  for (HWND edit : m_fields.Edits()) UseEditKeyFilter(edit);
  CreateBandButtons({{m_btnOk, ok}, {m_btnCancel, cancel}});
  m_fields.mark.onChange = [this] { KeyState(); };
  KeyState();
  SetOpeningFocus(m_fields.mark.Handle());
}

void TfrmEditArchive::OnActivated() {
  SetTextOf(Handle(), kProgramName);
  // The archive's own mark, as the dialog opened with it. Taken again after
  // "The mark already exists!" closed, it would be the refused mark, and the
  // archive's own mark could then no longer be typed back.
  if (!m_markRemembered) {
    m_rememberedMark = m_fields.mark.Text();
    m_markRemembered = true;
  }
}

void TfrmEditArchive::btnOkClick() {
  const std::string mark = m_fields.mark.Text();
  const auto taken = [this](std::string_view candidate) {
    return MarkExists(m_context.services.files, m_context.services.text, candidate, m_context.run.catalogFolder,
                      kArchiveMask);
  };
  if (JudgeEditedMark(mark, m_rememberedMark, m_context.services.text, taken) == EditVerdict::MarkTaken) {
    ShowAlert(Handle(), kMsgMarkExists);
    SetFocus(m_fields.mark.Handle());
    return;
  }
  m_values = ArchiveValues{mark, m_fields.location.Text(), m_fields.note.Text()};
  EndModal(kModalOk);
}

}  // namespace discovel
