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
