# Sourced by the Wine scripts: the project's test prefix and a quiet Wine.
wine_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
project_root=$(cd "$wine_dir/../.." && pwd)
export WINEPREFIX=${DISCOVEL_WINEPREFIX:-$project_root/build/wine/test-prefix}
# Which Windows build runs here: "win32" where Wine can start 32-bit programs,
# "win64" where the kernel refuses 32-bit code. `prefix setup` decides it once,
# after Wine is installed, by starting a small 32-bit program, and keeps the
# answer in the prefix; every script reads it from there, so all of them agree.
export DISCOVEL_BUILD_CHOICE=$WINEPREFIX/.discovel-windows-build
# Made when the prefix is complete. Its number goes up whenever `prefix setup`
# gains something, so that a prefix an older setup made is made anew.
export DISCOVEL_PREFIX_READY=$WINEPREFIX/.discovel-ready-2
if [ -f "$DISCOVEL_BUILD_CHOICE" ] && [ "$(cat "$DISCOVEL_BUILD_CHOICE")" = win32 ]; then
  export DISCOVEL_WINDOWS_PRESET=win32 DISCOVEL_WINE=/usr/lib/wine/wine
else
  # Also what creates the prefix: the 64-bit loader runs on every x86-64 kernel.
  export DISCOVEL_WINDOWS_PRESET=win64 DISCOVEL_WINE=/usr/lib/wine/wine64
fi
export WINELOADER=$DISCOVEL_WINE
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The folder behind the CD-ROM drive D:. Its subfolder "disc" is the disc in the
# drive; when that subfolder is missing the drive is empty.
export DISCOVEL_TEST_DRIVE_UNIX=$WINEPREFIX/discovel-drive
# The same folder as Windows programs see it (Z: is the Unix root).
export DISCOVEL_TEST_DRIVE_DIR="Z:${DISCOVEL_TEST_DRIVE_UNIX//\//\\}"
# The folder behind the hard disk E: (its root); .windows-label and
# .windows-serial in it give the volume's label and serial number.
export DISCOVEL_TEST_HD_UNIX=$WINEPREFIX/discovel-hd
export DISCOVEL_TEST_HD_DIR="Z:${DISCOVEL_TEST_HD_UNIX//\//\\}"
