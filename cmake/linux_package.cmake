# linux_package.cmake -- the menu entry, icon, manual page and licence beside the program; the .deb
#
# `cmake --install` places them beside the program; `cpack -G DEB` in a build folder packs the same
# files, with the binaries stripped (deb_strip.cmake). The package's library dependencies are read
# from the program and the GTK module by dpkg-shlibdeps.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/linux_hardening.cmake)

set(patcher_contact "Patcher developers <patcher@example.org>")
set(linux_resources ${PROJECT_SOURCE_DIR}/resources/linux)

install(FILES ${linux_resources}/patcher.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The IPS patch type that the menu entry opens. In the .deb, dpkg's triggers of shared-mime-info and
# desktop-file-utils update the MIME and desktop databases for these two folders.
install(FILES ${linux_resources}/patcher-ips.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME patcher.xml)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icon/patcher.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page and the changelog go compressed, as Debian keeps them; -n leaves the time out of
# the gzip header, so the same sources give the same package.
set(manual_page ${CMAKE_CURRENT_BINARY_DIR}/patcher.1.gz)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${manual_page} ${changelog}
  COMMAND gzip -9nc ${linux_resources}/patcher.1 > ${manual_page}
  COMMAND gzip -9nc ${linux_resources}/changelog > ${changelog}
  DEPENDS ${linux_resources}/patcher.1 ${linux_resources}/changelog)
add_custom_target(linux_documents ALL DEPENDS ${manual_page} ${changelog})
install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The copyright file in Debian's machine-readable form, its licence text taken from LICENSE: the
# holder from the notice line, the terms indented one space, blank lines written as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" license_notice "${license}")
set(license_holder ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*\n(Permission)" "\\1" license_terms "${license}")
string(STRIP "${license_terms}" license_terms)
string(REPLACE "\n\n" "\n.\n" license_terms "${license_terms}")
string(REPLACE "\n" "\n " license_terms " ${license_terms}")
configure_file(${linux_resources}/copyright.in copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME patcher)
set(CPACK_PACKAGE_VENDOR "Patcher developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "applies IPS patches to your own cartridge or disk image")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Patcher applies an IPS patch, typically a fan translation, to a user's own\n\
copy of a cartridge ROM or floppy-disk image. It checks that the copy is the\n\
right one before patching and that the result is one the patch is known to\n\
produce. On a desktop it uses GTK 3 dialogs; without a display it asks on\n\
the terminal.")
set(CPACK_PACKAGE_CONTACT ${patcher_contact})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS librsvg2-common) # draws the SVG icon in menus
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PATCHER_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_strip.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_without_ldconfig.cmake)
# Folders the install creates are 0755 whatever the umask of the one who packs.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
