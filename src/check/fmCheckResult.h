#pragma once
// The result of a disc check: what is unreadable, missing, changed or not in
// the archive, in the found-files list, which sorts it and gets a damaged
// file's other copy from the disc that holds it.
#include <string>

#include "check/CheckTable.h"
#include "check/DiscCheck.h"
#include "platform/AppContext.h"
#include "search/win32/FoundFilesList.h"
#include "ui/ToolWindow.h"

namespace discovel {

class TfrmCheckResult final : public ToolWindow {
 public:
  // Shows the result of the check of the disc marked `mark`; modal, returns when closed.
  static int Execute(AppContext& context, const std::string& mark, const CheckReport& report);
  TfrmCheckResult(AppContext& context, std::string mark, const CheckReport& report);
  ~TfrmCheckResult() override;
  void Create();

 private:
  AppContext& m_context;
  std::string m_mark;
  CheckTable m_table;
  CheckCounts m_counts;
  FoundFilesList m_found;
};

}  // namespace discovel
