# cmake --install of the native tree puts quenlo-split, and only it, in PREFIX/bin.
# cmake -DTREE=... -DPREFIX=... -DVERSION=... -P install_test.cmake
file(REMOVE_RECURSE ${PREFIX})  # this test's own folder from an earlier run
execute_process(COMMAND ${CMAKE_COMMAND} --install ${TREE} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
if(NOT installed STREQUAL "bin/quenlo-split")
  message(FATAL_ERROR "installed: ${installed}; expected bin/quenlo-split alone")
endif()
execute_process(COMMAND ${PREFIX}/bin/quenlo-split --version OUTPUT_VARIABLE printed
                RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT printed STREQUAL "quenlo-split ${VERSION}\n")
  message(FATAL_ERROR "the installed quenlo-split --version: '${printed}' (status ${status})")
endif()
file(REMOVE_RECURSE ${PREFIX})
