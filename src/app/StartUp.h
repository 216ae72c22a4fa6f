#pragma once
// What a start does before the main window exists.
#include <string>

#include "platform/AppContext.h"
#include "settings/Preferences.h"

namespace discovel {

// Records where the program lives, sets back the autoplay switches a crashed
// run left off, and fills the run state of `context`: the catalogue folder
// beside `programPath` (created when missing) and the read device. Returns the
// preferences, restored for the main window; `argumentCount` is the number of
// command-line arguments of this start. A setting stored with the wrong type
// is taken at its default without a word.
Preferences StartUp(AppContext& context, const std::string& programPath, int argumentCount);

}  // namespace discovel
