# calvorn_library(<name> [DEPS <targets>...] [DIR <dir>] [EXCLUDE <regex>])
# A static library of every .cpp under DIR (default: the current source dir),
# less the files matching EXCLUDE, compiled with the project's warnings. Headers
# are included as "<folder>/<file>.h" from the repository root.
function(calvorn_library name)
  cmake_parse_arguments(ARG "" "DIR;EXCLUDE" "DEPS;PRIVATE_DEPS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  file(GLOB_RECURSE hdrs CONFIGURE_DEPENDS ${ARG_DIR}/*.h)
  if(ARG_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "${ARG_EXCLUDE}")
    list(FILTER hdrs EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  add_library(${name} STATIC ${srcs} ${hdrs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  target_compile_options(${name} PRIVATE ${CALVORN_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# calvorn_test(<folder> [DEPS <targets>...])
# One GoogleTest binary per test folder: every *_test.cpp under tests/<folder>.
function(calvorn_test folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*_test.cpp)
  if(NOT srcs)
    return()
  endif()
  set(name tests_${folder})
  add_executable(${name} ${srcs})
  target_compile_options(${name} PRIVATE ${CALVORN_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} test_support GTest::gtest)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# calvorn_embed_resources(<target> <type> <id> <file> [<type> <id> <file> ...])
# Defines OBJECT library <target> whose objects register the files as embedded
# resources (platform/base/resource.h). Link it into a program or test binary:
# its objects are always kept, so the registration runs before main.
function(calvorn_embed_resources target)
  set(args ${ARGN})
  set(files)
  list(LENGTH args n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 2 ${last} 3)
    list(GET args ${i} f)
    list(APPEND files ${f})
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND embed ${out} ${args}
    DEPENDS embed ${files}
    COMMENT "Embedding resources of ${target}" VERBATIM)
  add_library(${target} OBJECT ${out})
  target_link_libraries(${target} PUBLIC platform_base)
endfunction()
