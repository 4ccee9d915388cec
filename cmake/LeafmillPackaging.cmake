# A Debian package of the installation: `cpack -G DEB` in a build folder
# (scripts/package.sh). The library dependencies come from dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME leafmill)
set(CPACK_PACKAGE_VENDOR "Leafmill")
set(CPACK_PACKAGE_CONTACT "Leafmill developers <leafmill@leafmill.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns documents into books for the iPod Notes reader")
# The extended description as Debian shows it: lines of at most 80 columns,
# an empty line between paragraphs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Leafmill reduces documents to plain text and cuts the text into the small"
  "numbered page files the Notes reader of an iPod shows, in a folder named"
  "after the book. It reads plain text, HTML pages, RTF documents, Word"
  "97-2003 and 2007 and later documents, OpenDocument texts, EPUB books and"
  "PDF documents."
  ""
  "The pages can be made for the reader: in the encoding the iPod reads, with"
  "Previous and Next links, titles in the reader's menu and a contents note"
  "linking to the chapters. A preview shows a book as the iPod shows it."
  ""
  "The package holds the desktop program and leafmill-cli, which makes books"
  "from scripts and from standard input.")
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
