# Run by CPack once the packages' files are staged: removes the debug
# information of the static libraries, the program and the package library
# (the libraries shrink from about 170 MB to 11 MB, the program from 64 MB
# to 4.4 MB), keeping every symbol the linker needs.
find_program(FOLIO_STRIP NAMES strip REQUIRED)
file(GLOB_RECURSE folio_binaries ${CPACK_TEMPORARY_DIRECTORY}/*)
list(FILTER folio_binaries INCLUDE REGEX "(\\.a|\\.so|/bin/[^/]+)$")
foreach(binary ${folio_binaries})
  execute_process(COMMAND ${FOLIO_STRIP} --strip-debug ${binary} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
