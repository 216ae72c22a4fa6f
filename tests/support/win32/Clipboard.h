#pragma once
// Reading and clearing the clipboard as another program would, for the
// tests of Copy File.
#include <string>
#include <vector>

namespace discovel::test {

// The files of the clipboard's drop list (CF_HDROP), in UTF-8; none when it
// holds none. A list in ANSI characters gives each file as "(ANSI) " + path:
// only wide characters carry every name.
std::vector<std::string> ClipboardFiles();
// Leaves the clipboard empty, so that a copy that fails leaves nothing.
void EmptyTheClipboard();

}  // namespace discovel::test
