# cmake --install of the native tree puts quenlo-split, and only it, in PREFIX/bin,
# and its manual page in PREFIX/share/man/man1.
# cmake -DTREE=... -DPREFIX=... -DVERSION=... -P install_test.cmake
file(REMOVE_RECURSE ${PREFIX})  # this test's own folder from an earlier run
execute_process(COMMAND ${CMAKE_COMMAND} --install ${TREE} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
if(NOT installed STREQUAL "bin/quenlo-split;share/man/man1/quenlo-split.1")
  message(FATAL_ERROR "installed: ${installed}; expected bin/quenlo-split and its manual page")
endif()
file(READ ${PREFIX}/share/man/man1/quenlo-split.1 page)
if(NOT page MATCHES "^[.]TH QUENLO-SPLIT 1 \"\" \"Quenlo ${VERSION}\"")
  message(FATAL_ERROR "the installed manual page does not carry version ${VERSION}")
endif()
execute_process(COMMAND ${PREFIX}/bin/quenlo-split --version OUTPUT_VARIABLE printed
                RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT printed STREQUAL "quenlo-split ${VERSION}\n")
  message(FATAL_ERROR "the installed quenlo-split --version: '${printed}' (status ${status})")
endif()
file(REMOVE_RECURSE ${PREFIX})
