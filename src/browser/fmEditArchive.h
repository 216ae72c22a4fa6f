#pragma once
// The archive editing dialog: the mark, location and note of one archive.
#include <string>

#include "platform/AppContext.h"
#include "scan/win32/ArchiveFields.h"
#include "ui/Button.h"
#include "ui/Dialog.h"

namespace discovel {

struct ArchiveValues {
  std::string mark;
  std::string location;
  std::string note;
};

class TfrmEditArchive final : public Dialog {
 public:
  // Shows `values`; with OK they hold the texts exactly as typed. A mark that
  // another archive of the catalogue carries is refused while the dialog is open.
  static int Execute(AppContext& context, ArchiveValues& values);
  TfrmEditArchive(AppContext& context, ArchiveValues& values);
  void Create();

 protected:
  void OnActivated() override;

 private:
  void btnOkClick();

  AppContext& m_context;
  ArchiveValues& m_values;  // shown at first; the typed texts after OK
  std::string m_rememberedMark;
  bool m_markRemembered = false;
  ArchiveFields m_fields;
  Button m_btnOk;
  Button m_btnCancel;
};

}  // namespace discovel
