#pragma once
// What the file properties dialog shows, read from outside it.
#include <windows.h>

#include "search/FoundFile.h"

namespace discovel::test {

// The values of the dialog's lines: archive, folder, name, type, date, size.
PropretiesValues ShownPropreties(HWND dialog);

}  // namespace discovel::test
