# What `cmake --install` adds beside the libraries and headers that
# folio_library installs: the CMake package (FolioConfig.cmake and the
# exported Folio:: targets) and pkg-config files.

include(CMakePackageConfigHelpers)

get_property(FOLIO_COMPONENTS GLOBAL PROPERTY FOLIO_COMPONENTS)
string(JOIN " " FOLIO_COMPONENTS ${FOLIO_COMPONENTS})

install(EXPORT FolioTargets NAMESPACE Folio:: DESTINATION ${FOLIO_INSTALL_CMAKEDIR} COMPONENT dev)
configure_package_config_file(cmake/FolioConfig.cmake.in
  ${PROJECT_BINARY_DIR}/FolioConfig.cmake INSTALL_DESTINATION ${FOLIO_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/FolioConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/FolioConfig.cmake
  ${PROJECT_BINARY_DIR}/FolioConfigVersion.cmake
  cmake/FolioDependencies.cmake
  DESTINATION ${FOLIO_INSTALL_CMAKEDIR} COMPONENT dev)

# pkg-config: the libraries in link order (each before the ones it uses),
# all but the window host and its desktop adapters, which have their own
# file since they bring SDL2 and libsystemd.
get_property(folio_libraries GLOBAL PROPERTY FOLIO_INSTALLED_LIBRARIES)
list(REMOVE_ITEM folio_libraries folio_hosts_sdl folio_hosts_desktop)
list(REVERSE folio_libraries)
list(TRANSFORM folio_libraries PREPEND -l OUTPUT_VARIABLE folio_pc_flags)
string(JOIN " " FOLIO_PC_LIBS ${folio_pc_flags})
# The files find their prefix from where they are, so an install moved to
# another prefix (cmake --install --prefix, DESTDIR) still points at itself.
file(RELATIVE_PATH FOLIO_PC_PREFIX_FROM_PCDIR
  /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
foreach(pc folio folio-sdl)
  configure_file(cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT dev)
endforeach()
