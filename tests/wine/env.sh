# Sourced by the Wine scripts: the project's test prefix and a quiet Wine.
wine_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
project_root=$(cd "$wine_dir/../.." && pwd)
export WINEPREFIX=${DISCOVEL_WINEPREFIX:-$project_root/build/wine/test-prefix}
# Wine's 32-bit loader needs a kernel that runs 32-bit code; where it cannot
# (some virtual machines switch that off), the 64-bit build is tested instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export DISCOVEL_WINE=/usr/lib/wine/wine DISCOVEL_WINDOWS_PRESET=win32
else
  export DISCOVEL_WINE=/usr/lib/wine/wine64 DISCOVEL_WINDOWS_PRESET=win64
fi
export WINELOADER=$DISCOVEL_WINE
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The folder behind the CD-ROM drive D:. Its subfolder "disc" is the disc in the
# drive; when that subfolder is missing the drive is empty.
export DISCOVEL_TEST_DRIVE_UNIX=$WINEPREFIX/discovel-drive
# The same folder as Windows programs see it (Z: is the Unix root).
export DISCOVEL_TEST_DRIVE_DIR="Z:${DISCOVEL_TEST_DRIVE_UNIX//\//\\}"
