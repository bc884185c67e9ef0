# linux_package.cmake -- the desktop entry and icon that put "Patcher" in the menu, and the .deb
#
# `cmake --install` places them beside the program; `cpack -G DEB` in a build folder packs the same
# files. The package's library dependencies are read from the program itself by dpkg-shlibdeps.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/patcher.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icon/patcher.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME patcher)
set(CPACK_PACKAGE_VENDOR "Patcher developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "applies IPS patches to your own cartridge or disk image")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Patcher applies an IPS patch, typically a fan translation, to a user's own copy of a\n\
cartridge ROM or floppy-disk image. It checks that the copy is the right one before patching\n\
and that the result is one the patch is known to produce. On a desktop it uses GTK 3 dialogs;\n\
without a display it asks on the terminal.")
set(CPACK_PACKAGE_CONTACT "Patcher developers")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS librsvg2-common) # draws the SVG icon in menus
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
