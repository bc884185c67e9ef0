# mingw_common.cmake -- cross-compiling for Windows with mingw-w64 on Debian; included by the
# toolchain file of each target (mingw_x86_64.cmake, mingw_i686.cmake) once it has set mingw_triple.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread-model compilers: the default win32 ones have no std::mutex or std::thread,
# which GoogleTest needs.
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread go into every program, so that patcher.exe runs alone.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows programs built here run under wine: the tests' own programs, and test discovery.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
