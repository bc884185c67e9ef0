# package_windows.cmake -- the Windows ZIP: a stripped patcher.exe beside a README for Windows users,
# the licence and the examples
#
# The texts get CRLF line ends, which every Windows editor shows as lines.
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/README.txt README.txt NEWLINE_STYLE CRLF @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt NEWLINE_STYLE CRLF @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
        DESTINATION .)

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
set(CPACK_PACKAGE_VENDOR "Patcher developers")
set(CPACK_PACKAGE_FILE_NAME patcher-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR})
# The symbol table and the runtimes' debugging sections are more than half of the file otherwise.
set(CPACK_STRIP_FILES ON)
include(CPack)
