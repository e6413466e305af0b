# libFuzzer targets for the parsers that card data reaches (configure with CC=clang CXX=clang++).
# Every library gets the fuzzer's coverage hooks and the sanitizers, so a fuzzer sees their code
# paths and their faults; only the fuzzers themselves link the libFuzzer main.
option(VELK_FUZZ "Build the libFuzzer targets and their seed generator (clang only)" OFF)

if(NOT VELK_FUZZ)
  return()
endif()

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VELK_FUZZ needs clang: configure with CC=clang CXX=clang++")
endif()
if(NOT VELK_BUILD_TESTS)
  message(FATAL_ERROR "VELK_FUZZ needs VELK_BUILD_TESTS: the fuzzers stand on the test doubles")
endif()

# UBSan must abort, or libFuzzer would carry on past undefined behaviour without a report.
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

# Builds every fuzzer and the seed generator: cmake --build <dir> --target velk_fuzzers.
add_custom_target(velk_fuzzers)
set(VELK_FUZZER_DIR ${CMAKE_BINARY_DIR}/fuzzers)

# velk_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
# One executable per fuzzer, all in <build>/fuzzers so that the scripts find them by name.
function(velk_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELK_FUZZER_DIR})
  add_dependencies(velk_fuzzers ${name})
endfunction()
