# The zip reader and the XML parser behind the EPUB, Word 2007+ and
# OpenDocument readers (Debian: libminizip-dev, libpugixml-dev).
#
# minizip (zlib's zip reader) rather than libzip: libzip brings libcrypto and
# libbz2, whose loading and relocation cost every start of the programs about
# 0.8 ms and 1.5 MB. Without pkg-config (Windows, vcpkg) its CMake package
# serves.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(MINIZIP QUIET IMPORTED_TARGET minizip)
endif()
if(TARGET PkgConfig::MINIZIP)
  add_library(leafmill_minizip ALIAS PkgConfig::MINIZIP)
else()
  find_package(unofficial-minizip REQUIRED CONFIG)
  add_library(leafmill_minizip ALIAS unofficial::minizip::minizip)
endif()
find_package(pugixml 1.11 REQUIRED CONFIG)

# The detector of the legacy encodings a text source may be in (Debian:
# libuchardet-dev, which installs no CMake package). It stays behind one
# function of src/text.
find_path(LEAFMILL_UCHARDET_INCLUDE uchardet.h PATH_SUFFIXES uchardet REQUIRED)
find_library(LEAFMILL_UCHARDET_LIBRARY uchardet REQUIRED)
add_library(leafmill_uchardet_shared INTERFACE)
target_include_directories(leafmill_uchardet_shared SYSTEM INTERFACE "${LEAFMILL_UCHARDET_INCLUDE}")
target_link_libraries(leafmill_uchardet_shared INTERFACE "${LEAFMILL_UCHARDET_LIBRARY}")

# The Kindle and Palm book reader (Debian: libmobi-dev, which installs no
# CMake package). It stays behind src/extract/mobi/LibmobiBook.cpp, in a module.
find_path(LEAFMILL_MOBI_INCLUDE mobi.h REQUIRED)
find_library(LEAFMILL_MOBI_LIBRARY mobi REQUIRED)
add_library(leafmill_mobi_shared INTERFACE)
target_include_directories(leafmill_mobi_shared SYSTEM INTERFACE "${LEAFMILL_MOBI_INCLUDE}")
target_link_libraries(leafmill_mobi_shared INTERFACE "${LEAFMILL_MOBI_LIBRARY}")

# The compiled help book reader (Debian: libchm-dev). It stays behind
# src/extract/chm/ChmArchive.cpp.
find_path(LEAFMILL_CHM_INCLUDE chm_lib.h REQUIRED)
find_library(LEAFMILL_CHM_LIBRARY chm REQUIRED)
add_library(leafmill_chm INTERFACE)
target_include_directories(leafmill_chm SYSTEM INTERFACE "${LEAFMILL_CHM_INCLUDE}")
target_link_libraries(leafmill_chm INTERFACE "${LEAFMILL_CHM_LIBRARY}")

# The DjVu reader (Debian: libdjvulibre-dev). It stays behind
# src/extract/djvu/DjvuDocument.cpp.
find_package(PkgConfig QUIET)
pkg_check_modules(DDJVUAPI REQUIRED IMPORTED_TARGET ddjvuapi)
add_library(leafmill_djvu_shared INTERFACE)
target_link_libraries(leafmill_djvu_shared INTERFACE PkgConfig::DDJVUAPI)
# The CommonMark parser behind the Markdown reader (Debian: libcmark-dev,
# whose CMake package also wants the cmark program). It stays behind
# src/extract/markdown/MarkdownToText.cpp.
find_path(LEAFMILL_CMARK_INCLUDE cmark.h REQUIRED)
find_library(LEAFMILL_CMARK_LIBRARY cmark REQUIRED)
add_library(leafmill_cmark_shared INTERFACE)
target_include_directories(leafmill_cmark_shared SYSTEM INTERFACE "${LEAFMILL_CMARK_INCLUDE}")
target_link_libraries(leafmill_cmark_shared INTERFACE "${LEAFMILL_CMARK_LIBRARY}")
