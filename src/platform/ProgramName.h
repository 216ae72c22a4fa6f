#pragma once
// The program's name: every window's caption, the message boxes' caption, the
// main window's class (which a second start looks for) and the Run entry.
namespace discovel {

inline constexpr char kProgramName[] = "Discovel";

}  // namespace discovel
