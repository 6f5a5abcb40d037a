# Writes INPUT as a C++ byte array named folio::NAME (with folio::NAMESize)
# to OUTPUT. Run by folio_embed_file at build time.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keeps the file readable in a debugger.
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n\n"
  "namespace folio {\n"
  "extern const unsigned char ${NAME}[];\n"
  "extern const std::size_t ${NAME}Size;\n"
  "const unsigned char ${NAME}[] = {\n${bytes}0};\n"
  "const std::size_t ${NAME}Size = ${size};\n"
  "} // namespace folio\n")
# An unchanged file keeps its time, so nothing rebuilds for nothing.
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
