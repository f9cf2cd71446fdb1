# Helpers shared by every folder's CMakeLists.

# Our own code compiles without a single warning on every compiler.
function(quenlo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A GoogleTest executable. Natively every test case becomes its own CTest test;
# under Wine one CTest test runs the whole executable, because starting a Windows
# process costs far more than running its tests.
function(quenlo_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  quenlo_warnings(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    if(QUENLO_RUN_WINDOWS_TESTS)
      add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    endif()
  else()
    include(GoogleTest)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
