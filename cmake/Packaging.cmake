# cmake --install: the three programs in bin/, the desktop entry, icons,
# metainfo and man pages under share/ (see src/resources). make package: a
# Debian package whose dependencies dpkg-shlibdeps reads from the binaries.

include(GNUInstallDirs)
install(TARGETS veskar veskar-cli veskar-unit-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veskar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "Veskar maintainers <veskar@veskar.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lone-worker monitoring unit programmer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Edits the whole configuration of a lone-worker monitoring unit (users,\n"
    "system and Modbus settings, callout directories, audio levels), keeps it\n"
    "in data files, prints a summary with configuration warnings and programs\n"
    "the unit over a serial line. Includes veskar-cli and a simulated unit for\n"
    "trying it without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
