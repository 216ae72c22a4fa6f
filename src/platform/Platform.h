#pragma once
// The real implementations of the seams for the platform the build targets.
#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

FileSystem& SystemFileSystem();
TextServices& SystemTextServices();

}  // namespace discovel
