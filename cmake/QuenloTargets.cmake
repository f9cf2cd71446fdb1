# Helpers shared by every folder's CMakeLists.

# Our own code compiles without a single warning on every compiler.
function(quenlo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Every test has a time limit in seconds, so that a hang fails at once instead of
# holding CI: a minute or more above the slowest run measured on a busy machine
# (scripts/busy_machine.sh; the slowest under the common limit took 43 s, the
# package test). A test that needs more is given a limit of its own. The sanitizers'
# checks make the code several times slower.
set(QUENLO_TIME_LIMIT 120)
set(QUENLO_TIME_LIMIT_SCALE 1)
if(QUENLO_SANITIZE)
  set(QUENLO_TIME_LIMIT_SCALE 3)
endif()

# Gives a test the common time limit, or SECONDS when given.
function(quenlo_time_limit test)
  set(seconds ${QUENLO_TIME_LIMIT})
  if(ARGC GREATER 1)
    set(seconds ${ARGV1})
  endif()
  math(EXPR limit "${seconds} * ${QUENLO_TIME_LIMIT_SCALE}")
  set_tests_properties(${test} PROPERTIES TIMEOUT ${limit})
endfunction()

# A GoogleTest executable. Natively every test case becomes its own CTest test;
# under Wine one CTest test runs the whole executable, because starting a Windows
# process costs far more than running its tests. TIME_LIMIT: seconds for one case
# natively, for the whole executable under Wine, where the common limit is too short.
function(quenlo_add_gtest target)
  cmake_parse_arguments(ARG "" "TIME_LIMIT" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  quenlo_warnings(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    if(QUENLO_RUN_WINDOWS_TESTS)
      add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
      quenlo_time_limit(${target} ${ARG_TIME_LIMIT})
    endif()
  else()
    if(NOT ARG_TIME_LIMIT)
      set(ARG_TIME_LIMIT ${QUENLO_TIME_LIMIT})
    endif()
    math(EXPR limit "${ARG_TIME_LIMIT} * ${QUENLO_TIME_LIMIT_SCALE}")
    include(GoogleTest)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT ${limit})
  endif()
endfunction()

# The version resource of a shipped Windows executable, from the project's version.
function(quenlo_version_resource target description)
  set(QUENLO_FILE_DESCRIPTION "${description}")
  get_target_property(QUENLO_FILE_STEM ${target} OUTPUT_NAME)
  if(NOT QUENLO_FILE_STEM)
    set(QUENLO_FILE_STEM ${target})
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()
