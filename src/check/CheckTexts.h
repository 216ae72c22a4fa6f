#pragma once
// The texts of a disc check: the status names of the result list, its status
// bar's summary and the result remembered in the archive.
#include <string>
#include <string_view>

#include "check/CheckRow.h"

namespace discovel {

std::string_view StatusText(CheckStatus status);

// "Files checked: n; Unreadable: u; Missing: m; Changed: c; Not in archive: a",
// or "All n files read without error." when nothing was found.
std::string CheckSummaryText(const CheckCounts& counts, std::string_view thousandsSeparator);

// What ACheckResult keeps: "OK", or the counts as the summary gives them
// without "Files checked".
std::string CheckResultText(const CheckCounts& counts, std::string_view thousandsSeparator);

}  // namespace discovel
