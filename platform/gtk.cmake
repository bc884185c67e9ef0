# gtk.cmake -- the desktop back end: GTK 3 windows when a display can be opened. GTK is a module of
# its own, opened only when there is a display, so a terminal run never loads GTK's libraries; the
# core and the scripted test build never see a GTK header. Without it every run uses the terminal.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  option(PATCHER_GTK "Build the GTK 3 desktop back end" ON)
endif()
if(PATCHER_GTK)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
  # Beside the program in the build tree; PREFIX/lib/patcher once installed. It sees the platform
  # table's header but links none of the program.
  add_library(patcher_gtk MODULE platform_gtk.cpp)
  set_target_properties(patcher_gtk PROPERTIES PREFIX "" OUTPUT_NAME patcher-gtk
                                               CXX_VISIBILITY_PRESET hidden
                                               LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/app)
  target_include_directories(patcher_gtk PRIVATE $<TARGET_PROPERTY:patcher_host,INTERFACE_INCLUDE_DIRECTORIES>
                                                 ${PROJECT_BINARY_DIR}/layers/patcher_desktop)
  target_link_libraries(patcher_gtk PRIVATE PkgConfig::GTK3)
  install(TARGETS patcher_gtk LIBRARY DESTINATION lib/patcher)
  add_library(patcher_desktop STATIC platform_desktop_module.cpp)
  target_link_libraries(patcher_desktop PUBLIC patcher_host ${CMAKE_DL_LIBS})
else()
  add_library(patcher_desktop STATIC platform_no_desktop.cpp)
  target_link_libraries(patcher_desktop PUBLIC patcher_host)
endif()
patcher_layer(patcher_desktop platform)
