#include "drives/ReadDevice.h"

namespace discovel {
namespace {
char g_defaultReadDevice = '\0';
}

char DefaultReadDevice() { return g_defaultReadDevice; }

void SetDefaultReadDevice(char letter) { g_defaultReadDevice = letter; }

}  // namespace discovel
