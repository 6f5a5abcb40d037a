# Shared settings for the project's own targets.

include(GNUInstallDirs)

# Installed headers keep their folders (framework/core/Object.h, folio/Folio.h)
# under one directory of their own, so that a generic name like framework/
# never lands directly in a shared include directory.
set(FOLIO_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/folio)
set(FOLIO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Folio)

function(folio_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(FOLIO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# folio_library(NAME SOURCES ... [HEADERS ...] [PRIVATE_HEADERS ...] [DEPS ...]
#               [PRIVATE_DEPS ...])
#
# A static library of one layer. NAME is the name users see: the target is
# folio_NAME (a name that cannot clash inside another project's build), the
# alias and the installed target are Folio::NAME. Link layers through their
# Folio:: names. The public headers are the folder's *.h files (its
# subfolders too) but the PRIVATE_HEADERS, unless HEADERS lists them; they
# are installed with the library, in the development files' component.
# Private headers are the library's own business: no public header may
# include one (the install test checks it).
function(folio_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;PRIVATE_HEADERS;DEPS;PRIVATE_DEPS" ${ARGN})
  set(target folio_${name})
  add_library(${target} STATIC ${ARG_SOURCES})
  add_library(Folio::${name} ALIAS ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
  if(NOT ARG_HEADERS)
    file(GLOB_RECURSE ARG_HEADERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(TRANSFORM ARG_PRIVATE_HEADERS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    list(REMOVE_ITEM ARG_HEADERS ${ARG_PRIVATE_HEADERS})
  endif()
  target_sources(${target} PUBLIC
    FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR} FILES ${ARG_HEADERS})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  folio_target_settings(${target})
  install(TARGETS ${target} EXPORT FolioTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
    FILE_SET HEADERS DESTINATION ${FOLIO_INSTALL_INCLUDEDIR} COMPONENT dev)
  # Layers are defined bottom up; the pkg-config file lists them in reverse.
  set_property(GLOBAL APPEND PROPERTY FOLIO_INSTALLED_LIBRARIES ${target})
  set_property(GLOBAL APPEND PROPERTY FOLIO_COMPONENTS ${name})
endfunction()

# folio_bundle(NAME DEPS ...): one installed name for several libraries that
# are used together (Folio::framework is core, gfx, ui and the headless host).
function(folio_bundle name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  set(target folio_${name})
  add_library(${target} INTERFACE)
  add_library(Folio::${name} ALIAS ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
  target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  install(TARGETS ${target} EXPORT FolioTargets COMPONENT dev)
  set_property(GLOBAL APPEND PROPERTY FOLIO_COMPONENTS ${name})
endfunction()

# Pixel kernels are not vectorised at -O2 by GCC 12; they ask for -O3 in
# optimised builds only, so debug and sanitizer builds stay debuggable.
function(folio_hot_sources)
  set_source_files_properties(${ARGN} PROPERTIES
    COMPILE_OPTIONS "$<$<NOT:$<CONFIG:Debug>>:-O3>")
endfunction()

# folio_embed_file(TARGET NAME FILE): compiles FILE into TARGET as the byte
# array folio::NAME of folio::NAMESize bytes (a NUL follows them), rebuilt
# when the file changes. Resources such as form files live in the source
# tree as files and reach the library this way.
function(folio_embed_file target name file)
  get_filename_component(input ${file} ABSOLUTE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${name}.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name}
            -P ${PROJECT_SOURCE_DIR}/cmake/FolioEmbedFile.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/FolioEmbedFile.cmake
    COMMENT "Embedding ${file}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
