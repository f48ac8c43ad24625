# `cpack -G DEB` in the build folder makes propdesk_<version>_amd64.deb, installing under /usr, with
# the library dependencies that dpkg-shlibdeps finds in the programs.
set(CPACK_PACKAGE_NAME propdesk)
set(CPACK_PACKAGE_VENDOR "Orvandi")
set(CPACK_PACKAGE_CONTACT "Propdesk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Java .properties files with Japanese text")
set(CPACK_PACKAGE_DESCRIPTION
    "Propdesk opens Java .properties resource files, shows their \\\\uXXXX escapes as Japanese text
(code page 932), lets you edit, search and replace it, and saves it back escaped with the file's
own line ends. The package also holds propdesk-native2ascii, a command-line converter with the
same codec.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own Japanese texts (file dialog, message-box buttons) and a font with Japanese glyphs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})

include(CPack)
