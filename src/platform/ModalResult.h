#pragma once
// How a modal window ended: what every opener of a dialog returns.
namespace discovel {

inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

}  // namespace discovel
