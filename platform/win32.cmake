# win32.cmake -- the Windows back end: message boxes, common file dialogs and the clipboard.
add_library(patcher_win32 STATIC platform_win32.cpp)
patcher_layer(patcher_win32 platform)
target_link_libraries(patcher_win32 PUBLIC patcher_host user32 comdlg32)
