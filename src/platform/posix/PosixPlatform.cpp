#include "platform/Platform.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixTextServices.h"

namespace discovel {

FileSystem& SystemFileSystem() {
  static PosixFileSystem instance;
  return instance;
}

TextServices& SystemTextServices() {
  static PosixTextServices instance;
  return instance;
}

}  // namespace discovel
