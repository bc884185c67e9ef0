# mingw_x86_64.cmake -- toolchain file for 64-bit Windows programs (x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_common.cmake)
