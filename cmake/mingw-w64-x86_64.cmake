# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads),
# every program linked statically so it needs no compiler DLLs beside it.
# Programs built here run under wine64 when one is installed: CTest and test
# discovery then start the .exe files through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# Libraries and headers come from the cross sysroot only; the host's
# /usr/include never reaches this build (see cmake/windows.cmake for the
# header-only packages shared with the host).
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# 64-bit file offsets in the C runtime's descriptor calls.
set(CMAKE_C_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")

find_program(TAVREL_WINE wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TAVREL_WINE wine64)
if(TAVREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVREL_WINE})
endif()
