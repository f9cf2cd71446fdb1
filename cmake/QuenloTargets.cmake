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
