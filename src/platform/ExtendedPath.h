#pragma once
// The form of a Windows path the system's file functions take as it stands:
// behind "\\?\" no path is cut at 260 characters and no name is changed, so
// "a.", "b " and "con.txt" are the files of those names. That form skips the
// system's own parsing, so what it did is done here: slashes become
// backslashes, a relative path is made absolute, and "." and ".." are
// resolved by their text. Portable: the Win32 file system builds on it.
#include <string>
#include <string_view>

namespace discovel {

// How a path begins, which says what it is relative to.
enum class PathStart {
  kExtended,       // "\\?\C:\x": taken as it stands
  kDevice,         // "\\.\D:": a device, taken as it stands
  kDrive,          // "C:\x"
  kUnc,            // "\\server\share\x"
  kDriveRelative,  // "C:x": from the current folder of that drive
  kRooted,         // "\x": from the root of the current folder's drive or share
  kRelative,       // "x": from the current folder
};

PathStart StartOf(std::string_view path);

// "C:\x" -> "\\?\C:\x", "\\server\share\x" -> "\\?\UNC\server\share\x"; an
// extended or device path is returned unchanged, "" stays "". `base` is the
// absolute folder a relative path starts from (the current folder, or for
// kDriveRelative that drive's); it is not looked at for an absolute path.
// ".." never climbs above the drive's root or the share; empty parts are
// dropped; a trailing backslash stays.
std::string ExtendedLengthPath(std::string_view path, std::string_view base);

// The length of an extended path's root, which is no folder to create or
// remove: "\\?\C:" or "\\?\UNC\server\share".
std::size_t ExtendedRootLength(std::string_view extendedPath);

}  // namespace discovel
