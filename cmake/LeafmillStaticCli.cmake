# leafmill-cli is started once per document by scripts, so its start counts
# as much as the reading: linked against the shared ICU, libstdc++, pugixml,
# minizip and uchardet, the loader spends longer mapping and relocating them than a
# small document takes to read. Where their static archives are installed
# (Debian's -dev packages ship them) the command-line tool takes them in
# instead; the GUI and the tests keep the shared libraries, which Qt loads
# anyway.
#
# leafmill_static_or_shared(<name> <shared target> <archive names...>) makes
# the interface target leafmill_<name>: the archives for a target whose
# LEAFMILL_STATIC_LINK property is on, else the shared target.
include(CheckLinkerFlag)

set(LEAFMILL_STATIC_CLI_DEFAULT OFF)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT LEAFMILL_SANITIZE)
  set(LEAFMILL_STATIC_CLI_DEFAULT ON)
endif()
option(LEAFMILL_STATIC_CLI "Link leafmill-cli with the static archives of ICU, pugixml, minizip, uchardet and libstdc++"
  ${LEAFMILL_STATIC_CLI_DEFAULT})

set(leafmill_static_cli_ready ${LEAFMILL_STATIC_CLI})
set(leafmill_static_wanted "$<BOOL:$<TARGET_PROPERTY:LEAFMILL_STATIC_LINK>>")

function(leafmill_static_or_shared name shared)
  set(archives "")
  foreach(archive IN LISTS ARGN)
    find_library(LEAFMILL_ARCHIVE_${archive} NAMES lib${archive}.a)
    if(NOT LEAFMILL_ARCHIVE_${archive})
      message(STATUS "lib${archive}.a not found: leafmill-cli links the shared libraries")
      set(leafmill_static_cli_ready OFF PARENT_SCOPE)
      set(archives "")
      break()
    endif()
    list(APPEND archives "${LEAFMILL_ARCHIVE_${archive}}")
  endforeach()
  add_library(leafmill_${name} INTERFACE)
  if(NOT archives OR NOT LEAFMILL_STATIC_CLI)
    target_link_libraries(leafmill_${name} INTERFACE ${shared})
    return()
  endif()
  foreach(target IN LISTS shared)
    target_link_libraries(leafmill_${name} INTERFACE "$<$<NOT:${leafmill_static_wanted}>:${target}>")
  endforeach()
  foreach(archive IN LISTS archives)
    target_link_libraries(leafmill_${name} INTERFACE "$<${leafmill_static_wanted}:${archive}>")
  endforeach()
  # The archives need the include folders of the shared targets all the same.
  foreach(target IN LISTS shared)
    target_include_directories(leafmill_${name} SYSTEM INTERFACE
      "$<TARGET_PROPERTY:${target},INTERFACE_INCLUDE_DIRECTORIES>")
  endforeach()
endfunction()

# Marks `target` for the archives, with libstdc++ and libgcc taken in too and
# unused sections dropped; relative relocations are packed where the linker
# can, as most of what is left at the start is applying them.
function(leafmill_link_statically target)
  if(NOT leafmill_static_cli_ready)
    return()
  endif()
  set_target_properties(${target} PROPERTIES LEAFMILL_STATIC_LINK ON)
  target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,--gc-sections)
  check_linker_flag(CXX "-Wl,-z,pack-relative-relocs" LEAFMILL_LINKER_PACKS_RELOCATIONS)
  if(LEAFMILL_LINKER_PACKS_RELOCATIONS)
    target_link_options(${target} PRIVATE "-Wl,-z,pack-relative-relocs")
  endif()
endfunction()

# The libraries the core links, for every project that builds it (the
# program's and the fuzz targets').
leafmill_static_or_shared(icu "ICU::i18n;ICU::uc;ICU::data" icui18n icuuc icudata)
leafmill_static_or_shared(zip_and_xml "leafmill_minizip;pugixml::pugixml" minizip pugixml)
# zlib stays shared even there: a security fix to Debian's zlib must reach
# every program that inflates untrusted packages.
find_package(ZLIB REQUIRED)
target_link_libraries(leafmill_zip_and_xml INTERFACE ZLIB::ZLIB)
leafmill_static_or_shared(uchardet leafmill_uchardet_shared uchardet)
# djvulibre's own code is taken in too: as a shared library it brings the
# shared libstdc++ and tripled the tool's start. The library it uses that
# Debian tracks as an embedded copy (libjpeg) stays shared, as does chmlib,
# which has no archive in Debian. libmobi, which needs the shared libxml2 and
# through it the shared ICU and libstdc++, is in a module of its own
# (src/extract/mobi).
leafmill_static_or_shared(djvu leafmill_djvu_shared djvulibre)
target_link_libraries(leafmill_djvu INTERFACE "$<${leafmill_static_wanted}:jpeg>")
leafmill_static_or_shared(cmark leafmill_cmark_shared cmark)
