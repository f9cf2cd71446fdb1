# The protections each system offers its programs, for every target of the tree (the
# tests then exercise the same code that ships).
#
# Linux: what Debian builds its own packages with (dpkg-buildflags, hardening=+all):
# strong stack protector, fortified calls, format checks, PIE, full RELRO with BIND_NOW.
# Windows: the same stack protector and fortified calls (MinGW-w64 implements both through
# GCC's libssp, linked statically by the toolchain's -static: a libssp-0.dll beside the
# program would be one more DLL to plant), and ASLR (64-bit: high entropy) and DEP, asked
# for by name rather than left to the linker's defaults.
include(CheckPIESupported)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
add_link_options(-fstack-protector-strong)  # the driver then links libssp where it is needed
# Fortify needs the optimiser (glibc says so with a #warning, an error under -Werror); a
# compiler that sets its own level is overruled, not redefined.
add_compile_options(-U_FORTIFY_SOURCE $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)

if(WIN32)
  add_link_options(LINKER:--dynamicbase LINKER:--nxcompat)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_link_options(LINKER:--high-entropy-va)
  endif()
else()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  check_pie_supported()
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
