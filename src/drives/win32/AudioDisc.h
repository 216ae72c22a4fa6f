#pragma once
// Tells an audio CD from a data disc by the volume label alone.
#include <string_view>

namespace discovel {

// True when the drive is a CD/DVD drive whose disc is labelled as an audio CD.
// A failed label query counts as an empty label.
bool IsAudioDisc(char letter);

// The label test on its own (UTF-8): exactly "Audio CD" or "Audio-CD", case-sensitive.
bool IsAudioCdLabel(std::string_view label);

}  // namespace discovel
