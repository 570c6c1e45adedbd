# SPDX-License-Identifier: MIT
# The Debian package, made by CPack (`make package`, or `cpack` in a build
# directory): everything the project installs, under /usr, with the program
# stripped. dpkg-shlibdeps works out the libraries it needs (Qt's X11
# platform plugin comes with libqt6gui6); the font that the sign's designed
# font resolves to is added by hand.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora Project")
set(CPACK_PACKAGE_CONTACT "Velmora Project <velmora@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/velmora/velmora)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scrolling message sign for the desktop")
set(CPACK_PACKAGE_DESCRIPTION [[
Velmora shows one line of text moving from right to left in a thin window,
in a chosen colour on a chosen background. When the text has left the window
it comes back in at the right.

The message, its speed and its colours are set from the sign's right-click
menu and kept in two small Shift-JIS text files; the menu entry runs the sign
in the user's configuration directory, which the first start fills with an
example. Japanese text is shown with IPA P Gothic.]])

# Always /usr, whatever prefix the build directory was configured with.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the install creates are 0755 whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# Qt's own texts (the text box's context menu) in the interface's language,
# and fonts for the scripts the designed font lacks (Latin beyond ASCII,
# Hangul and the rest of CJK, Arabic, Hebrew, Devanagari…, colour emoji),
# which fontconfig's fallback draws a message in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-noto-core, fonts-noto-cjk, fonts-noto-color-emoji")

include(CPack)
