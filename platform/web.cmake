# web.cmake -- the browser edition's back end: the page's dialogs and the browser's clipboard.
add_library(patcher_web STATIC platform_web.cpp)
patcher_layer(patcher_web platform)
target_link_libraries(patcher_web PUBLIC patcher_host)
