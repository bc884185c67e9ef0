# googletest-cross.cmake -- GoogleTest built from Debian's sources with the cross compiler, for
# test programs that run under an emulator; it names its targets GTest::gtest and GTest::gtest_main
# itself. Nothing is downloaded.
set(PATCHER_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian: googletest)")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${PATCHER_GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)
