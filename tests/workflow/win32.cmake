# win32.cmake -- the Windows tests: the Win32 back end and the save in the test program (run under
# wine without a display), and end-to-end runs of patcher.exe through its real dialogs.
target_sources(patcher_tests PRIVATE
  platform_win32_test.cpp
  save_patched_file_win32_test.cpp)
target_link_libraries(patcher_tests PRIVATE patcher_win32)
