# `cpack -G DEB` in a build folder with the window: lodestar_<version>_amd64.deb, which installs
# under /usr what `cmake --install` installs (the programs with their data in /usr/lib/lodestar,
# the links in /usr/bin, the desktop entry and icons, the manual pages and the completions).
# Its dependencies are found by dpkg-shlibdeps from the programs themselves: the Qt 6 and PCRE2
# runtime packages and the C++ library, at the versions the build machine has.
set(CPACK_PACKAGE_NAME lodestar)
set(CPACK_PACKAGE_VENDOR Lodestar)
set(CPACK_PACKAGE_CONTACT "Lodestar developers <lodestar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "regular-expression search and replace for text files and folders")
set(CPACK_PACKAGE_DESCRIPTION
    "Lodestar searches a file or the files of a folder with a regular expression, shows the \
matches in the source and replaces them, keeping backups that Restore takes back. The desktop \
program (lodestar) and the command-line tool (lodestar-cli, which also works as a filter in a \
pipe) share one engine.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # lodestar_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
include(CPack)
