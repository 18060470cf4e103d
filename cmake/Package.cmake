# The Debian package, built by CPack from the install rules (scripts/package):
# tallyroll_<version>_<arch>.deb with the program, its headless command, the
# printers module, the menu entry, the icons, the AppStream entry and the
# manual page. dpkg-shlibdeps works out the libraries the binaries need.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallyroll)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The tallyroll developers <tallyroll@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TALLYROLL_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "adding machine with a paper tape you can correct and print")
# The summary is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "tallyroll works like an office adding machine: every number typed goes on a
paper tape with the operator applied to it, and every total and grand total is
written under it. Any number on the tape can be corrected later; the whole tape
is then worked out again. It prints the tape with a title and the date.
.
tallyroll-vnc runs it on a machine without a display, through a private VNC
server on the loopback address with a password made for each run.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's platform plugins
# (the X11 one among them).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The headless command's X server, password tool and X utilities, the window
# manager it starts, the font the printed tape asks for, and Qt's Wayland
# plugin (without it a Wayland desktop runs the program through XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "tigervnc-standalone-server, tigervnc-tools, xauth, x11-utils, openbox, fonts-liberation2, qt6-wayland")
include(CPack)
