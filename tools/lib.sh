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
)

have() {
  case "$1" in
    /*) [ -e "$1" ] ;;
    *) command -v "$1" >/dev/null 2>&1 ;;
  esac
}

ensure_packages() {
  local missing=() entry
  for entry in "${required[@]}"; do
    have "${entry%%:*}" || missing+=("${entry#*:}")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local cmd="dpkg --add-architecture i386 && apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Discovel needs these packages: ${missing[*]}" >&2
    echo "Install them as root with:" >&2
    echo "  sudo sh -c '$cmd'" >&2
    exit 1
  fi
  echo "Installing ${missing[*]} ..." >&2
  dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
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
