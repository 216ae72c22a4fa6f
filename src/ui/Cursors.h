#pragma once
// The system's cursors. Their ids (IDC_ARROW, IDC_WAIT, ...) are integer
// resources, which the W function takes as they are.
#include <windows.h>

namespace discovel {

inline HCURSOR SystemCursor(LPCSTR id) { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(id)); }

}  // namespace discovel
