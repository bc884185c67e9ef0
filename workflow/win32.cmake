# win32.cmake -- the Windows program: Win32 dialogs and clipboard, the Windows file system, WinMain,
# and the manifest, icon and version resource compiled in with windres.
add_library(patcher_file_system STATIC file_system_win32.cpp)
target_link_libraries(patcher_file_system PUBLIC patcher_core)
target_link_libraries(patcher_core INTERFACE patcher_file_system)

add_library(patcher_win32 STATIC platform_win32.cpp)
target_link_libraries(patcher_win32 PUBLIC patcher_core user32 comdlg32)

set(PATCHER_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources/windows)
configure_file(${PATCHER_RESOURCE_DIR}/patcher.rc.in patcher.rc @ONLY)

# WIN32 makes a GUI program (-mwindows): no console window opens beside the dialogs.
add_executable(patcher WIN32 main_win32.cpp ${CMAKE_CURRENT_BINARY_DIR}/patcher.rc)
target_link_libraries(patcher PRIVATE patcher_core patcher_win32 shell32)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/patcher.rc PROPERTIES OBJECT_DEPENDS
  "${PATCHER_RESOURCE_DIR}/patcher.manifest;${PATCHER_RESOURCE_DIR}/patcher.ico")
install(TARGETS patcher RUNTIME DESTINATION .)
