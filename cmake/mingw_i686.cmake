# mingw_i686.cmake -- toolchain file for 32-bit Windows programs (i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_common.cmake)
