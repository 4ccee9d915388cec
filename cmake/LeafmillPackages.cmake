# The zip reader and the XML parser behind the EPUB, Word 2007+ and
# OpenDocument readers (Debian: libzip-dev, libpugixml-dev).
#
# libzip through pkg-config: Debian's CMake package file names the zipcmp
# tools, which libzip-dev does not install. Without pkg-config (Windows,
# vcpkg) its CMake package serves.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(LIBZIP QUIET IMPORTED_TARGET libzip>=1.7)
endif()
if(TARGET PkgConfig::LIBZIP)
  add_library(leafmill_libzip ALIAS PkgConfig::LIBZIP)
else()
  find_package(libzip 1.7 REQUIRED CONFIG)
  add_library(leafmill_libzip ALIAS libzip::zip)
endif()
find_package(pugixml 1.11 REQUIRED CONFIG)
