# The fuzz targets of tests/fuzz, built by clang with libFuzzer as a project of their own inside
# the host build, when clang with fuzzer support is there. Each gets a bounded run in the tests.
find_program(QUILLET_FUZZ_CXX NAMES clang++ clang++-16 clang++-15 clang++-14)
set(QUILLET_FUZZ_SUPPORTED FALSE)
if(QUILLET_FUZZ_CXX)
  set(probe_dir ${CMAKE_BINARY_DIR}/fuzz-probe)
  file(MAKE_DIRECTORY ${probe_dir})
  file(WRITE ${probe_dir}/probe.cpp
    "#include <cstddef>\n#include <cstdint>\nextern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
  execute_process(COMMAND ${QUILLET_FUZZ_CXX} -fsanitize=fuzzer,address,undefined ${probe_dir}/probe.cpp -o ${probe_dir}/probe
    RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
  if(probe_result EQUAL 0)
    set(QUILLET_FUZZ_SUPPORTED TRUE)
  endif()
endif()

if(NOT QUILLET_FUZZ_SUPPORTED)
  message(STATUS "Fuzz targets left out: no clang++ with -fsanitize=fuzzer")
  return()
endif()

include(ExternalProject)
ExternalProject_Add(quillet_fuzz
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${QUILLET_FUZZ_CXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

# A few seconds each: enough to replay the seeds and try some thousand new inputs.
foreach(target reg_reader ini_profile shell_link text options)
  add_test(NAME fuzz.${target} COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz.sh ${target} 4 ${CMAKE_BINARY_DIR}/fuzz/ctest-corpus/${target})
  set_tests_properties(fuzz.${target} PROPERTIES ENVIRONMENT "QUILLET_FUZZ_DIR=${CMAKE_BINARY_DIR}/fuzz" TIMEOUT 120)
endforeach()
