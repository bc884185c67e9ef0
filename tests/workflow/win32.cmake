# win32.cmake -- the Windows tests run in the test program under wine without a display: the Win32
# back end and the save. The scenarios through patcher.exe's real dialogs are played by the Linux
# desktop driver (tools/test-windows.sh).
target_sources(patcher_tests PRIVATE
  platform_win32_test.cpp
  save_patched_file_win32_test.cpp)
target_link_libraries(patcher_tests PRIVATE patcher_win32)
