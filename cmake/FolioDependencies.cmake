# The system libraries the layers link, found the same way by this build and
# by a project that uses the installed package (FolioConfig.cmake includes
# this file), so the imported names the libraries refer to exist in both.

find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(FOLIO_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FOLIO_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(FOLIO_PNG REQUIRED IMPORTED_TARGET libpng)
# Text: shaping, the bidirectional algorithm, grapheme and line boundaries.
pkg_check_modules(FOLIO_HARFBUZZ REQUIRED IMPORTED_TARGET harfbuzz)
pkg_check_modules(FOLIO_FRIBIDI REQUIRED IMPORTED_TARGET fribidi)
pkg_check_modules(FOLIO_ICU REQUIRED IMPORTED_TARGET icu-uc)
# Only the window host needs SDL2; a user of the headless parts does not.
pkg_check_modules(FOLIO_SDL2 QUIET IMPORTED_TARGET sdl2)
# The desktop's message bus (sd-bus): only the window host's adapters to
# the desktop use it.
pkg_check_modules(FOLIO_SYSTEMD QUIET IMPORTED_TARGET libsystemd)
