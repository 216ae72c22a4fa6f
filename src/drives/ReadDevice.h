#pragma once
// The one CD/DVD drive the program reads, ejects and closes, for the whole
// process; NUL while there is none.
namespace discovel {

char DefaultReadDevice();
void SetDefaultReadDevice(char letter);

}  // namespace discovel
