# deb_without_ldconfig.cmake -- takes the ldconfig calls that CPack writes out of the .deb
#
# CPack gives a package postinst and postrm scripts that run ldconfig whenever it holds a shared
# object under /usr/lib, a folder below it included. This one's only shared object is the GTK
# module in /usr/lib/patcher, which the program opens by its path and the dynamic linker's cache
# never lists, so the scripts would do nothing (and Debian runs ldconfig by trigger where it is
# due). Run by CPack after packing (CPACK_POST_BUILD_SCRIPTS); scripts with anything else in them
# are kept.
set(ldconfig_only "^#!/bin/sh\n\nset -e\n\nif \\[ \"\\$1\" = \"[a-z]+\" \\]; then\n\tldconfig\nfi\n$")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/repack)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  foreach(script IN ITEMS ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
    if(EXISTS ${script})
      file(READ ${script} text)
      if(text MATCHES "${ldconfig_only}")
        file(REMOVE ${script})
      endif()
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
