#pragma once
// "Export to CSV...": the list windows hand over their shown columns and rows;
// the user chooses the file, and the list is written there.
#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "export/ListExport.h"
#include "platform/AppContext.h"

namespace discovel {

// The save dialog (filter "CSV files (*.csv)", default extension "csv", the proposed
// name, asking before overwriting), then the file written in pieces through WriteListCsv;
// a failure is said in a message box ("Cannot write ..." with the reason, or that memory
// ran out) and loses nothing.
// True when a file was written.
bool ExportListToCsv(HWND owner, AppContext& context, std::string_view listWord,
                     const std::vector<ExportColumn>& columns, std::size_t rowCount,
                     const ShownCellText& shown);

}  // namespace discovel
