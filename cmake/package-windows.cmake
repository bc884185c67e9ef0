# package-windows.cmake -- the Windows ZIP: patcher.exe beside the README and the examples
install(FILES README.md DESTINATION .)

# Windows has no shell to run examples/make-examples.sh, so the ZIP carries the files it makes.
set(example_dir ${CMAKE_CURRENT_BINARY_DIR}/examples)
set(example_files ${example_dir}/demo-cartridge.bin ${example_dir}/demo-english.ips)
add_custom_command(OUTPUT ${example_files}
  COMMAND bash ${PROJECT_SOURCE_DIR}/examples/make-examples.sh ${example_dir} > /dev/null
  DEPENDS ${PROJECT_SOURCE_DIR}/examples/make-examples.sh)
add_custom_target(examples ALL DEPENDS ${example_files})
install(FILES ${example_files} DESTINATION examples)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME patcher)
set(CPACK_PACKAGE_VENDOR "Patcher")
set(CPACK_PACKAGE_FILE_NAME patcher-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR})
include(CPack)
