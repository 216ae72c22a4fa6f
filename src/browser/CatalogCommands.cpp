#include "browser/CatalogCommands.h"

namespace discovel {

CatalogCommandStates DecideCatalogCommands(CatalogActivity activity, bool listFocused, int selectedRows) {
  CatalogCommandStates states;
  states.add = activity != CatalogActivity::Running;
  if (activity != CatalogActivity::Idle || !listFocused) return states;
  states.remove = selectedRows >= 1;
  states.edit = states.freshen = states.viewFiles = selectedRows == 1;
  return states;
}

}  // namespace discovel
