#pragma once
// The program reports failures by throwing AppError with the text the user sees;
// the boundary of every window procedure catches it and shows the standard error box.
#include <stdexcept>
#include <string>

namespace discovel {

class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

// A file that cannot be opened, read or written.
class FileError : public AppError {
 public:
  using AppError::AppError;
};

// Text that should hold a number or a date and does not.
class ConvertError : public AppError {
 public:
  using AppError::AppError;
};

}  // namespace discovel
