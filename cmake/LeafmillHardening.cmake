# Debian's hardening for every build but the sanitizers': the flags
# dpkg-buildflags gives with hardening=+all (fortified string and memory
# functions, stack protector, format checks, read-only relocations bound at
# start), without its optimisation and debug flags, which the build type sets.
# Where dpkg-buildflags is missing (not Debian, Windows) nothing changes.
option(LEAFMILL_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(LEAFMILL_DPKG_BUILDFLAGS dpkg-buildflags)
if(LEAFMILL_HARDENING AND LEAFMILL_DPKG_BUILDFLAGS AND NOT LEAFMILL_SANITIZE AND NOT MSVC)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
              "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" "${LEAFMILL_DPKG_BUILDFLAGS}" --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    elseif(kind STREQUAL "CPPFLAGS")
      # Fortification needs the optimiser; unoptimised it is only a warning.
      foreach(flag IN LISTS flags)
        add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${flag}>")
      endforeach()
    else()
      add_compile_options(${flags})
    endif()
  endforeach()
endif()
