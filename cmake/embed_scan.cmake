# Build-time script: lists every file under ASSETS_DIR and writes an assembler file that
# .incbin's each one and a C++ table naming them. Files are rewritten only when they change, and
# the assembler file carries each file's hash so that changed contents are linked again.
file(GLOB_RECURSE files RELATIVE ${ASSETS_DIR} ${ASSETS_DIR}/*)
list(FILTER files EXCLUDE REGEX "(^|/)\\.")  # stamps and other hidden files stay out
list(SORT files)

set(asm "# Generated: every file of the game's data, linked whole.\n")
string(APPEND asm "\t.section .rodata.snow_assets,\"a\"\n")
set(tab "// Generated: the table of embedded files.\n#include \"engine/stream.h\"\n\n")
set(decls "")
set(rows "")
set(i 0)
# Backslashes and quotes would end the C++ and assembler strings early.
function(quoted_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

foreach(f IN LISTS files)
  file(MD5 ${ASSETS_DIR}/${f} hash)
  file(SIZE ${ASSETS_DIR}/${f} size)
  quoted_string("${ASSETS_DIR}/${f}" asm_path)
  quoted_string("${f}" name)
  string(APPEND asm "\t.balign 16\n\t.global snow_asset_${i}\n"
    "snow_asset_${i}: # file ${i} ${hash}\n\t.incbin ${asm_path}\n\t.byte 0\n")
  string(APPEND decls "extern const std::uint8_t snow_asset_${i}[];\n")
  string(APPEND rows "    {${name}, snow_asset_${i}, ${size}u},\n")
  math(EXPR i "${i} + 1")
endforeach()
string(APPEND asm "\t.section .note.GNU-stack,\"\",@progbits\n")
if(i EQUAL 0)
  set(rows "    {nullptr, nullptr, 0},\n")
endif()
string(APPEND tab "extern \"C\" {\n${decls}}\n\n"
  "extern \"C\" const EmbeddedFile snow_embedded_files[] = {\n${rows}};\n"
  "extern \"C\" const std::size_t snow_embedded_count = ${i};\n")

function(write_if_changed path content)
  if(EXISTS ${path})
    file(READ ${path} old)
    if(old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE ${path} "${content}")
endfunction()
file(MAKE_DIRECTORY ${OUT_DIR})
write_if_changed(${OUT_DIR}/embedded_assets.S "${asm}")
write_if_changed(${OUT_DIR}/embedded_table.cpp "${tab}")
