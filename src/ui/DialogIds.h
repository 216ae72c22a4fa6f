#pragma once
// Control ids every dialog of the program shares.
namespace discovel {

// The status label of a dialog.
inline constexpr int kLblMsgId = 1000;

}  // namespace discovel
