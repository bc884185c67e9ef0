# package-windows.cmake -- the Windows ZIP: patcher.exe beside the README and the examples
install(FILES README.md DESTINATION .)
if(EXISTS ${PROJECT_SOURCE_DIR}/examples)
  install(DIRECTORY examples/ DESTINATION examples)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME patcher)
set(CPACK_PACKAGE_VENDOR "Patcher")
set(CPACK_PACKAGE_FILE_NAME patcher-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR})
include(CPack)
