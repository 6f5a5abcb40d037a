# Shared settings for the project's own targets.

function(folio_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(FOLIO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# folio_library(NAME SOURCES ... DEPS ...): a static library of one layer.
function(folio_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  folio_target_settings(${name})
  folio_register_library(${name})
endfunction()

# Pixel kernels are not vectorised at -O2 by GCC 12; they ask for -O3 in
# optimised builds only, so debug and sanitizer builds stay debuggable.
function(folio_hot_sources)
  set_source_files_properties(${ARGN} PROPERTIES
    COMPILE_OPTIONS "$<$<NOT:$<CONFIG:Debug>>:-O3>")
endfunction()

# Every project library registers itself, so tests and benchmarks can link
# whatever layers exist without a hand-kept list.
function(folio_register_library name)
  set_property(GLOBAL APPEND PROPERTY FOLIO_LIBRARIES ${name})
endfunction()
