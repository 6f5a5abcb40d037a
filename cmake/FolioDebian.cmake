# Debian packages, made by CPack (scripts/package.sh):
#   libfolio-dev    the static libraries, public headers, CMake package and
#                   pkg-config files (everything installed in component dev)
#   folio-designer  the form designer as folio-designer, with the package
#                   library it loads from lib/folio/
# Both install under /usr. The libraries, program and package library are
# packaged without their debug information (cmake/FolioStripDebug.cmake),
# as Debian ships them; a build keeps it.

install(PROGRAMS $<TARGET_FILE:designer> RENAME folio-designer
  DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT designer)
install(TARGETS folio_package LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/folio
  COMPONENT designer)

set(FOLIO_PACKAGE_MAINTAINER "Folio developers <folio@localhost>" CACHE STRING
  "The Maintainer field of the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME folio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${FOLIO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL dev designer)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/FolioStripDebug.cmake)

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libfolio-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# Static libraries: a program built on them links what they use, so the
# package needs the development packages of those libraries.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
  "libfreetype-dev, libfontconfig-dev, libpng-dev, libharfbuzz-dev, libfribidi-dev, libicu-dev, libsdl2-dev, libsystemd-dev, pkg-config")
set(CPACK_COMPONENT_DEV_DESCRIPTION
  "Folio shortcut bar, sample controls and their framework (development files)
 Static libraries, headers, a CMake package (find_package(Folio)) and
 pkg-config files (folio, folio-sdl) for programs that use the shortcut bar
 TFolio, the four sample controls and the component framework they run on.")

set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME folio-designer)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION devel)
# The program's and the package library's shared libraries, as
# dpkg-shlibdeps finds them; fonts for its text.
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_DEPENDS "fonts-liberation2 | fonts-dejavu-core")
set(CPACK_COMPONENT_DESIGNER_DESCRIPTION
  "Form designer for Folio's forms
 Designs forms of Folio's standard controls, the shortcut bar and the
 sample controls, saved as text or binary form files that programs read at
 run time.")

include(CPack)
