# terminal.cmake -- the back end for machines without a display: standard error and input.
add_library(patcher_terminal STATIC platform_terminal.cpp)
patcher_layer(patcher_terminal platform)
target_link_libraries(patcher_terminal PUBLIC patcher_host)
