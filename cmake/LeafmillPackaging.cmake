# A Debian package of the installation: `cpack -G DEB` in a build folder
# (scripts/package.sh). The library dependencies come from dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME leafmill)
set(CPACK_PACKAGE_VENDOR "Leafmill")
set(CPACK_PACKAGE_CONTACT "Leafmill developers <leafmill@leafmill.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns documents into books for the iPod Notes reader")
set(CPACK_PACKAGE_DESCRIPTION
  "Leafmill reduces plain text, HTML, RTF, Word, PDF and other documents to plain text and cuts it into the small numbered page files the iPod Notes reader shows. A desktop program and the command-line tool leafmill-cli.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://leafmill.example.org")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window face ships as a Debian package; Chinese texts want a CJK face.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
set(CPACK_GENERATOR DEB)
include(CPack)
