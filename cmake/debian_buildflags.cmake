# Debian's hardening flags from dpkg-buildflags, for the build the Debian package is made from:
# fortified C library calls, the strong stack protector, format-string checks, relocations made
# read-only and bound at start-up (relro, now) and a position-independent executable. They are
# read at every configure, so they follow the installed dpkg. The sanitizer and fuzz builds and
# the Windows cross-build go without: fortified calls bypass the sanitizers' checks, and the
# flags are for the host's own toolchain.
option(QUINTREL_DEBIAN_BUILDFLAGS "Compile and link with Debian's hardening flags" OFF)
if(NOT QUINTREL_DEBIAN_BUILDFLAGS)
    return()
endif()
if(QUINTREL_FUZZ OR CMAKE_CROSSCOMPILING OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux"
   OR CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    message(FATAL_ERROR "QUINTREL_DEBIAN_BUILDFLAGS is for native Linux builds "
                        "without sanitizers; turn it off for this build")
endif()

find_program(QUINTREL_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
# Every hardening feature, immediate binding included (Debian 12 leaves bindnow off unless
# asked), and Debian's reproducible-build maps: the checkout's path becomes "." in everything the
# compiler writes (__FILE__, the debug information), so no build path reaches the program, nor
# its build ID, which is a hash over the unstripped file. dpkg-buildflags maps the folder it runs
# in, hence the checkout. Debuggers find the sources when started in the checkout; test failures
# name files relative to it.
set(quintrel_maint_options "hardening=+all")
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env
                            "DEB_BUILD_MAINT_OPTIONS=${quintrel_maint_options}"
                            "${QUINTREL_DPKG_BUILDFLAGS}" --get ${kind}
                    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                    OUTPUT_VARIABLE quintrel_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
if(NOT quintrel_CXXFLAGS MATCHES "-ffile-prefix-map=")
    message(FATAL_ERROR "dpkg-buildflags gave no -ffile-prefix-map: the package would carry "
                        "the build's paths")
endif()
# Before the build type's own flags, as Debian's packaging helpers put them.
string(APPEND CMAKE_CXX_FLAGS " ${quintrel_CPPFLAGS} ${quintrel_CXXFLAGS}")
foreach(kind EXE SHARED MODULE)
    string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${quintrel_LDFLAGS}")
endforeach()
message(STATUS "Debian build flags: ${quintrel_CPPFLAGS} ${quintrel_CXXFLAGS}; "
               "linker: ${quintrel_LDFLAGS}")
