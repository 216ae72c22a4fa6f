#include "check/CheckRow.h"

namespace discovel {

CheckCounts CountRows(const std::vector<CheckRow>& rows, std::int64_t filesChecked) {
  CheckCounts counts;
  counts.filesChecked = filesChecked;
  for (const CheckRow& row : rows) {
    switch (row.status) {
      case CheckStatus::kUnreadable: ++counts.unreadable; break;
      case CheckStatus::kMissing: ++counts.missing; break;
      case CheckStatus::kChanged: ++counts.changed; break;
      case CheckStatus::kNotInArchive: ++counts.notInArchive; break;
    }
  }
  return counts;
}

}  // namespace discovel
