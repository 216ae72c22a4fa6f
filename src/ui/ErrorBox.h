#pragma once
// The error boundary of every window procedure and event handler.
#include "ui/MessageBoxes.h"

namespace discovel {

// Runs `body`; a thrown error is shown in the error box instead of escaping
// (never let an exception cross into Windows code). Returns false after an error.
template <typename Body>
bool GuardedCall(Body&& body) noexcept;

}  // namespace discovel

#include <exception>

#include "platform/AppError.h"

namespace discovel {

template <typename Body>
bool GuardedCall(Body&& body) noexcept {
  try {
    body();
    return true;
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  } catch (...) {
    ShowErrorBox("Unexpected error.");
  }
  return false;
}

}  // namespace discovel
