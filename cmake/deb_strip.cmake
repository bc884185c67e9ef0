# deb_strip.cmake -- strips every ELF file CPack has staged for the .deb, as Debian's own tools do
#
# Run by CPack before packing (CPACK_PRE_BUILD_SCRIPTS), so that every ELF file is caught however
# it was installed and dpkg-shlibdeps reads the files as shipped. Symbols and debugging sections
# go, and with them .comment (the compiler's name and version in every object) and .note; the
# build ID (.note.gnu.build-id) stays.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS staged)
  file(READ ${file} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46" AND NOT IS_SYMLINK ${file}) # "\177ELF"
    execute_process(COMMAND ${CPACK_PATCHER_STRIP} --remove-section=.comment --remove-section=.note
                            ${file} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
