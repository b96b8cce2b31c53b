# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (POSIX threads
# flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QS_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QS_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executable must run on a clean Windows machine: the C++ and GCC
# runtimes are linked in, leaving only system DLLs to import.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
