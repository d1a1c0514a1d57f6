# Helpers shared by every folder's CMakeLists.txt.
include(GoogleTest)

set(TESSEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
option(TESSEL_SANITIZE "Build native code with AddressSanitizer and UndefinedBehaviorSanitizer" ON)

option(TESSEL_FUZZERS "Build the libFuzzer targets (native tree, clang)" ON)
set(TESSEL_FUZZING OFF)
if(TESSEL_FUZZERS AND NOT WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(TESSEL_FUZZING ON)
endif()

# Warnings are errors in our own code (not in GoogleTest's).
function(tessel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(NOT WIN32 AND TESSEL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(TESSEL_FUZZING)
    # Coverage for the fuzzers; harmless elsewhere.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link
                           -fsanitize-coverage-ignorelist=${TESSEL_ROOT}/cmake/fuzz-coverage-ignore.txt)
  endif()
  target_include_directories(${target} PUBLIC ${TESSEL_ROOT})
endfunction()

# Writes the .def of every export table we make, with plain names: the
# arguments after the module name are pairs of export name and argument
# bytes. 32-bit stdcall symbols carry @N, which -Wl,--kill-at then strips from
# the exported names. A module of "" writes no LIBRARY line: a program's
# export table carries its own file name.
function(tessel_def_file output module)
  if(module STREQUAL "")
    set(text "EXPORTS\n")
  else()
    set(text "LIBRARY ${module}\nEXPORTS\n")
  endif()
  set(entries ${ARGN})
  while(entries)
    list(POP_FRONT entries name bytes)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(APPEND text "  ${name}@${bytes}\n")
    else()
      string(APPEND text "  ${name}\n")
    endif()
  endwhile()
  file(WRITE ${output} "${text}")
endfunction()

# A DLL whose stdcall entry points are exported under plain names:
#   tessel_stdcall_dll(<name> [MODULE <module>] SOURCES ... [LIBS ...] ENTRIES <name bytes>...)
# builds <name>.dll; MODULE (default <name>.dll) is the module name its export
# table carries, ENTRIES the pairs that tessel_def_file takes.
function(tessel_stdcall_dll name)
  cmake_parse_arguments(PARSE_ARGV 1 D "" "MODULE" "SOURCES;LIBS;ENTRIES")
  if(NOT D_MODULE)
    set(D_MODULE ${name}.dll)
  endif()
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  tessel_def_file(${def} ${D_MODULE} ${D_ENTRIES})
  add_library(${name} SHARED ${D_SOURCES} ${def})
  tessel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${D_LIBS})
  target_link_options(${name} PRIVATE -Wl,--kill-at)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
endfunction()

# A platform-free core library: builds in both trees.
function(tessel_core name)
  add_library(${name} STATIC ${ARGN})
  tessel_warnings(${name})
endfunction()

# A native unit test (GoogleTest from the system), one CTest entry per case.
function(tessel_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  tessel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# A Win32 test run under Wine: one CTest entry per executable, since every
# start of a Windows process costs a Wine start-up.
function(tessel_win32_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  tessel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main gmock)
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS wine)
endfunction()

# The machine a Windows tree's binaries are built for, as the PE checks name it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TESSEL_MACHINE i386)
else()
  set(TESSEL_MACHINE amd64)
endif()

# A check of a built Windows binary that runs on the build host (no Wine):
# these also run for the i686 tree on hosts that cannot execute 32-bit code.
function(tessel_static_check name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS static)
endfunction()

# Checks that a binary exports what it should (see scripts/pe_exports.py).
function(tessel_check_exports target)
  tessel_static_check(${target}_exports python3 ${TESSEL_ROOT}/scripts/pe_exports.py
                      $<TARGET_FILE:${target}> --machine ${TESSEL_MACHINE} ${ARGN})
endfunction()

# What every deliverable's version resource says besides its own description
# (the version is the project version of the top-level CMakeLists.txt).
set(TESSEL_PRODUCT_NAME "Tessera")
set(TESSEL_COMPANY "The Tessera project")
set(TESSEL_COPYRIGHT "Copyright (c) 2026 The Tessera project contributors. MIT licence.")

# Gives a shipped binary its version resource, checks it statically and makes
# it part of the target `release`:
#   tessel_version_resource(<target> "<file description>")
# Descriptions are plain text without double quotes.
function(tessel_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(TESSEL_FILE_TYPE VFT_APP)
    set(suffix ${CMAKE_EXECUTABLE_SUFFIX})
  else()
    set(TESSEL_FILE_TYPE VFT_DLL)
    set(suffix ${CMAKE_SHARED_LIBRARY_SUFFIX})
  endif()
  get_target_property(TESSEL_INTERNAL_NAME ${target} OUTPUT_NAME)
  if(NOT TESSEL_INTERNAL_NAME)
    set(TESSEL_INTERNAL_NAME ${target})
  endif()
  set(TESSEL_ORIGINAL_FILENAME ${TESSEL_INTERNAL_NAME}${suffix})
  set(TESSEL_FILE_DESCRIPTION "${description}")
  set(TESSEL_VERSION_COMMAS "${CMAKE_PROJECT_VERSION_MAJOR},${CMAKE_PROJECT_VERSION_MINOR},${CMAKE_PROJECT_VERSION_PATCH},0")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${TESSEL_ROOT}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(release ${target})
  tessel_static_check(${target}_version python3 ${TESSEL_ROOT}/scripts/pe_version.py
                      $<TARGET_FILE:${target}> --machine ${TESSEL_MACHINE}
                      --product "${TESSEL_PRODUCT_NAME}" --version ${CMAKE_PROJECT_VERSION}
                      --description "${description}" --filename ${TESSEL_ORIGINAL_FILENAME})
endfunction()

# A libFuzzer target (native tree with clang only), run briefly as a test.
function(tessel_fuzzer name)
  cmake_parse_arguments(T "" "SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT TESSEL_FUZZING)
    return()
  endif()
  if(NOT T_SECONDS)
    set(T_SECONDS 10)
  endif()
  add_executable(${name} ${T_SOURCES})
  tessel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # The short run starts from the seed corpus kept in the repository
  # (fuzz/corpus/<name>/ beside the CMakeLists.txt); new inputs go to the
  # first folder, in the build tree, never into the sources.
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${T_SECONDS} -rss_limit_mb=2048 ${work} ${seeds})
  # Inputs that once crashed or ran away are replayed once each. They stay out
  # of the seeds: a slow one would hold back every mutation made from it.
  file(GLOB regressions ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/regressions/${name}/*)
  if(regressions)
    add_test(NAME ${name}_regressions COMMAND ${name} -rss_limit_mb=2048 ${regressions})
  endif()
endfunction()

# A benchmark: built in the native tree, run by scripts/bench.sh, never a timed test.
function(tessel_benchmark name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  tessel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
endfunction()

# Every Windows binary lands in bin/ so tests find DLLs beside themselves.
if(WIN32)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()
