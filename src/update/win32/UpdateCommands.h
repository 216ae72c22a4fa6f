#pragma once
// Update Archive... of the catalogue: gets the archive's disc (asked for by
// its mark in the read device) or drive (wherever it is mounted now) and
// opens the update window on it.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/AppContext.h"

namespace discovel {

// `updated` runs with the archive's former path and its path now, once the
// update was written.
void UpdateCataloguedArchive(AppContext& context, HWND owner, const std::string& archivePath, const std::string& mark,
                             const std::function<void(const std::string& before, const std::string& now)>& updated);

}  // namespace discovel
