# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: cpack -G DEB in a build folder makes vellumix_<version>_amd64.deb.
# Run-time libraries are found by dpkg-shlibdeps. What the program needs that no library link
# names is listed here, as found by running it in a clean Debian root (tools/check-package.sh):
# Qt's SQLite driver (the help engine reads the help file through it), the faces the windows
# are laid out for, and the certificate store mail over TLS verifies servers with. The
# desktop's secret store (which keeps the mail password) is recommended; the tools the import
# and export converters wrap are only suggested (a converter whose tool is missing is not
# offered, and the program says which package provides it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumix)
set(CPACK_PACKAGE_VERSION ${VELLUMIX_VERSION_TEXT})
set(CPACK_PACKAGE_VENDOR Kestrelwick)
set(CPACK_PACKAGE_CONTACT "Vellumix developers <developers@vellumix.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Programs are stripped as Debian strips them (PackageStrip.cmake), not by CPack's plain strip.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageStrip.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multi-document plain-text editor")
# The long description: CPack puts the summary before it as the synopsis and indents every
# line, an empty line becoming the paragraph mark.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vellumix keeps many plain-text workspaces in one main window. It offers
recent and favourite files, backup copies on save, case conversion,
alignment, date and time stamps, special characters, find and replace,
a spell checker with its own dictionaries in seven languages, word count,
sending a workspace as e-mail over SMTP (with TLS and authentication),
import and export of other document formats, and printing with preview.

The package also holds vellumix-spell, the spell engine on the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vellumix.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, fonts-dejavu-core, fonts-liberation2, ca-certificates")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring | kwalletmanager")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pandoc, libreoffice-writer-nogui | libreoffice-writer")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
