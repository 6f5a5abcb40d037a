# Shared by the quick-start scripts: installs what the build needs from
# Debian's packages when it is missing, then configures a preset once.

FOLIO_PACKAGES=(
  g++ cmake ninja-build pkg-config ccache python3 dpkg-dev doxygen
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libpng-dev libsdl2-dev libx11-dev libxtst-dev
  libsystemd-dev
  libharfbuzz-dev libfribidi-dev libicu-dev
  fonts-liberation2 fonts-dejavu-core
  fonts-lohit-deva fonts-tlwg-loma-ttf fonts-wqy-microhei fonts-symbola
  libharfbuzz-bin
  xvfb xauth clang-format
  dbus-daemon python3-dbusmock
)

# The tests of the accessibility export with real clients (the window tests,
# scripts/test_window.sh): the desktop's accessibility bus and registry and
# the screen readers' Python client library.
FOLIO_ACCESSIBILITY_PACKAGES=(at-spi2-core python3-pyatspi)

# The window tests that need a window manager, as a desktop has one, and
# drive the programs through the X server.
FOLIO_WINDOW_MANAGER_PACKAGES=(openbox xdotool)

# Only the comparisons with another text engine need these
# (scripts/compare_text.sh, the peer's half of bench/gfx/bench_scripts, and
# the Qt tool box of scripts/compare_hover.sh).
FOLIO_PEER_PACKAGES=(libpango1.0-dev pango1.0-tools libfribidi-bin imagemagick qt6-base-dev)

# Only the fuzz targets need these (scripts/fuzz.sh): clang with libFuzzer.
FOLIO_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# Continuous integration builds in a fresh clone every time: the compiler
# cache then matches what earlier runs compiled in other folders.
if [ "${CI:-}" = true ]; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
fi

folio_install_packages() {
  local missing=()
  for pkg in "${FOLIO_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures build/<preset> unless it already is.
folio_configure() {
  local preset=$1
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset"
  fi
}
