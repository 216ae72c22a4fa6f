# Shared by ./run and ./test: install what is missing, and a display for Wine.

# Commands (or files) the build and the tests need, with the package that brings each.
required=(
  "cmake:cmake"
  "g++:g++"
  "i686-w64-mingw32-g++-posix:g++-mingw-w64-i686"
  "x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64"
  "/usr/lib/wine/wine64:wine64"
  "/usr/lib/wine/wine:wine32:i386"
  "/usr/bin/wine:wine"
  "Xvfb:xvfb"
  "xauth:xauth"
  "import:imagemagick"
  "xdpyinfo:x11-utils"
  "/usr/src/googletest/CMakeLists.txt:googletest"
  "/usr/include/gtest/gtest.h:libgtest-dev"
  "/usr/include/gmock/gmock.h:libgmock-dev"
  "/usr/include/zlib.h:zlib1g-dev"
  "/usr/i686-w64-mingw32/lib/libz.a:libz-mingw-w64-dev"
  "zip:zip"
  "unzip:unzip"
  "/usr/share/i18n/locales/ja_JP:locales"
)

# The Unix locales the Windows tests run Wine under, one per code page they
# cover: Wine takes its code page from the locale's name, but reads Linux file
# names in the locale's encoding only when the locale is installed.
test_locales=(en_US ru_RU el_GR ja_JP)

have() {
  case "$1" in
    /*) [ -e "$1" ] ;;
    *) command -v "$1" >/dev/null 2>&1 ;;
  esac
}

# A 96-byte 32-bit x86 Linux program that exits with 42. Whether this kernel
# starts 32-bit programs at all is asked before anything is installed: where it
# cannot, Wine's 32-bit half is of no use and its i386 packages are not sought.
kernel_runs_32bit() {
  local probe code=0
  mkdir -p build
  probe=$(mktemp build/probe32-XXXXXX) || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" </dev/null >/dev/null 2>&1 || code=$?
  rm -f "$probe"
  [ "$code" -eq 42 ]
}

# Fetches the package indexes and installs the packages named, up to three
# times: an index caught mid-sync ("File has unexpected size") is fetched anew
# on the next try. A failed index still leaves the others usable.
install_with_retries() {
  local try
  for try in 1 2 3; do
    apt-get update -qq || echo "  (some package indexes could not be fetched)" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null && return 0
    [ $try -lt 3 ] && { echo "  (the install failed; trying again in $((try * 10)) s)" >&2; sleep $((try * 10)); }
  done
  return 1
}

# Set when this build tree once failed to install the 32-bit packages, so that
# later runs go on with the 64-bit build instead of asking the registry again.
no_wine32_marker=build/.wine32-unavailable

ensure_packages() {
  local missing=() want32=() entry
  local runs32=1
  kernel_runs_32bit || runs32=0
  for entry in "${required[@]}"; do
    have "${entry%%:*}" && continue
    case "$entry" in
      *:i386)
        [ $runs32 -eq 1 ] && [ ! -e "$no_wine32_marker" ] && want32+=("${entry#*:}") ;;
      *) missing+=("${entry#*:}") ;;
    esac
  done
  [ ${#missing[@]} -eq 0 ] && [ ${#want32[@]} -eq 0 ] && return 0
  local arch_cmd=""
  [ ${#want32[@]} -gt 0 ] && arch_cmd="dpkg --add-architecture i386 && "
  local cmd="${arch_cmd}apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y ${missing[*]} ${want32[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Discovel needs these packages: ${missing[*]} ${want32[*]}" >&2
    echo "Install them as root with:" >&2
    echo "  sudo sh -c '$cmd'" >&2
    exit 1
  fi
  [ $runs32 -eq 0 ] && echo "This kernel cannot start 32-bit programs: 32-bit Wine is not installed, and the Windows tests run the 64-bit build." >&2
  echo "Installing ${missing[*]} ${want32[*]} ..." >&2
  [ ${#want32[@]} -gt 0 ] && dpkg --add-architecture i386
  install_with_retries "${missing[@]}" "${want32[@]}" && return 0
  [ ${#want32[@]} -gt 0 ] || return 1
  # Everything but Wine's 32-bit half is enough to build and test the 64-bit build.
  if [ ${#missing[@]} -gt 0 ]; then
    install_with_retries "${missing[@]}" || return 1
  fi
  mkdir -p build && touch "$no_wine32_marker"
  echo "32-bit Wine (${want32[*]}) could not be installed: going on with the 64-bit build." >&2
  return 0
}

# Compiles the test locales that are missing (a second or two each).
ensure_test_locales() {
  local missing=() name
  for name in "${test_locales[@]}"; do
    locale -a 2>/dev/null | grep -qix "$name.utf-\?8" || missing+=("$name")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "The Windows tests need the UTF-8 locales ${missing[*]}. Make them as root with:" >&2
    for name in "${missing[@]}"; do echo "  sudo localedef -i $name -f UTF-8 $name.UTF-8" >&2; done
    return 1
  fi
  echo "Making the locales ${missing[*]} ..." >&2
  for name in "${missing[@]}"; do
    localedef -i "$name" -f UTF-8 "$name.UTF-8" || { echo "localedef failed for $name" >&2; return 1; }
  done
}

display_works() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

# Uses the current display when it answers; otherwise starts Xvfb on a free one,
# which stop_xvfb (or the end of the script) ends again.
started_xvfb=""
ensure_display() {
  display_works && return 0
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  started_xvfb=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    display_works && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_xvfb() {
  if [ -n "$started_xvfb" ]; then
    kill "$started_xvfb" 2>/dev/null || true
    wait "$started_xvfb" 2>/dev/null || true
    started_xvfb=""
  fi
}
