# Warnings on and treated as errors for our own code.
function(snow_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()

# snow_subsystem(<target> DEPS <targets...>): a static library of every .cpp in the calling
# folder. One folder is one subsystem, so a new source file needs no edit here.
function(snow_subsystem target)
  cmake_parse_arguments(S "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")  # a program's entry is not library code
  if(NOT sources)  # a subsystem whose first sources have not landed yet
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${S_DEPS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${S_DEPS})
  snow_warnings(${target})
endfunction()
