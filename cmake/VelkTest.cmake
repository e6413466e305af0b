# velk_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test executable per component; CTest sees every test case.
function(velk_add_test name)
  if(NOT VELK_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  # The label is the executable, so that a run can pick the tests of some executables.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 LABELS ${name})
endfunction()
