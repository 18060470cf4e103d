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

# The package's copyright file, machine-readable, with the licence from
# LICENSE; and its changelog. A package whose version has no Debian revision
# is native, so the Debian changelog is changelog.gz (lintian flags a
# changelog.Debian.gz there).
include(GNUInstallDirs)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" license "${license}")
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " TALLYROLL_LICENSE_TEXT " ${license}")
set(debian_doc ${CMAKE_BINARY_DIR}/debian)
configure_file(cmake/debian/copyright.in ${debian_doc}/copyright @ONLY)
configure_file(cmake/debian/changelog.in ${debian_doc}/changelog @ONLY)
add_custom_command(OUTPUT ${debian_doc}/changelog.gz
                   COMMAND gzip -9n -c changelog > changelog.gz
                   WORKING_DIRECTORY ${debian_doc}
                   DEPENDS ${debian_doc}/changelog)
add_custom_target(tallyroll_debian_doc ALL DEPENDS ${debian_doc}/changelog.gz)
install(FILES ${debian_doc}/copyright ${debian_doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# CPack calls ldconfig from postinst and postrm for a shared object below
# /usr/lib; the printers module is loaded by its path and needs none. Naming
# these two scripts here keeps CPack from writing them; as no such files
# exist, the package has no maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${debian_doc}/no-ldconfig/postinst;${debian_doc}/no-ldconfig/postrm")

include(CPack)
