# win32.cmake -- the Windows tests: the Win32 back end and the save in the test program (run under
# wine without a display), and end-to-end runs of patcher.exe through its real dialogs.
target_sources(patcher_tests PRIVATE
  platform_win32_test.cpp
  save_patched_file_win32_test.cpp)
target_link_libraries(patcher_tests PRIVATE patcher_win32)

# Each scenario starts patcher.exe under wine on a virtual display of its own and drives its
# dialogs with xdotool; they share one wine prefix, built fresh first, and so run one at a time.
set(end_to_end ${CMAKE_CURRENT_SOURCE_DIR}/end_to_end_win32.sh)
add_test(NAME end_to_end_win32.prefix
  COMMAND bash ${end_to_end} $<TARGET_FILE:patcher> ${CMAKE_BINARY_DIR} prefix)
set_tests_properties(end_to_end_win32.prefix PROPERTIES
  FIXTURES_SETUP wine_end_to_end RESOURCE_LOCK wine_end_to_end TIMEOUT 300)
foreach(scenario whole_run cancel replace non_ascii)
  add_test(NAME end_to_end_win32.${scenario}
    COMMAND bash ${end_to_end} $<TARGET_FILE:patcher> ${CMAKE_BINARY_DIR} ${scenario})
  set_tests_properties(end_to_end_win32.${scenario} PROPERTIES
    FIXTURES_REQUIRED wine_end_to_end RESOURCE_LOCK wine_end_to_end TIMEOUT 240)
endforeach()
