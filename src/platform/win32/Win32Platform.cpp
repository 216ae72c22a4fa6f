#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32TextServices.h"

namespace discovel {

FileSystem& SystemFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

TextServices& SystemTextServices() {
  static Win32TextServices textServices;
  return textServices;
}

}  // namespace discovel
