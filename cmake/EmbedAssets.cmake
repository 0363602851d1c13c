# Generated data and how it travels inside the executable.
#
# Each build-time generator (pictures, sounds, levels) writes into SNOW_ASSETS_DIR at the path of
# the file's registered name and touches a stamp file. snow_embed_assets() links every file under
# SNOW_ASSETS_DIR into a target with one assembler .incbin per file, plus a table of
# (path, bytes, size) that the start-up registers in the "incbin::" registry.

set_property(GLOBAL PROPERTY SNOW_ASSET_STAMPS "")
set_property(GLOBAL PROPERTY SNOW_ASSET_TARGETS "")
set(SNOW_EMBED_SCAN_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_scan.cmake)

# snow_generate_assets(<name> STAMP <file> COMMAND <cmd...> [DEPENDS <files/targets...>])
# Runs the command when its dependencies change; it must write into SNOW_ASSETS_DIR. With
# SNOW_PREBUILT_ASSETS set, nothing is generated (the prebuilt folder is used as it is).
function(snow_generate_assets name)
  cmake_parse_arguments(GEN "" "STAMP" "COMMAND;DEPENDS" ${ARGN})
  if(SNOW_PREBUILT_ASSETS)
    return()
  endif()
  add_custom_command(
    OUTPUT ${GEN_STAMP}
    COMMAND ${GEN_COMMAND}
    COMMAND ${CMAKE_COMMAND} -E touch ${GEN_STAMP}
    DEPENDS ${GEN_DEPENDS}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Generating ${name}"
    VERBATIM USES_TERMINAL)
  add_custom_target(assets_${name} ALL DEPENDS ${GEN_STAMP})
  set_property(GLOBAL APPEND PROPERTY SNOW_ASSET_STAMPS ${GEN_STAMP})
  set_property(GLOBAL APPEND PROPERTY SNOW_ASSET_TARGETS assets_${name})
endfunction()

# snow_embed_assets(<library target>): an object library holding every generated file.
function(snow_embed_assets target)
  get_property(stamps GLOBAL PROPERTY SNOW_ASSET_STAMPS)
  get_property(generators GLOBAL PROPERTY SNOW_ASSET_TARGETS)
  set(out ${CMAKE_BINARY_DIR}/embed)
  add_custom_command(
    OUTPUT ${out}/embedded_assets.S ${out}/embedded_table.cpp
    COMMAND ${CMAKE_COMMAND} -DASSETS_DIR=${SNOW_ASSETS_DIR} -DOUT_DIR=${out}
            -P ${SNOW_EMBED_SCAN_SCRIPT}
    # The generator targets order the build; their stamps say when to scan again. (A file made
    # in another folder cannot be named as a dependency by itself in every generator.)
    DEPENDS ${generators} ${stamps} ${SNOW_EMBED_SCAN_SCRIPT}
    COMMENT "Embedding generated data"
    VERBATIM)
  # An object library, not a static one: the engine refers to the table only weakly, and a weak
  # reference never pulls a member out of an archive, so a static library would link as empty.
  add_library(${target} OBJECT ${out}/embedded_assets.S ${out}/embedded_table.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()
