# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers. The -posix variants are
# used because the default win32 thread model has no std::thread or std::mutex, which Qt and the
# program need; their code then depends on libwinpthread-1.dll at run time.
#
# A Windows Qt (such as the one scripts/build-qt-windows.sh makes) must be named both as a prefix
# and as a find root, because packages are only looked for under the find roots:
#   -DCMAKE_PREFIX_PATH=<qt> -DCMAKE_FIND_ROOT_PATH=<qt>
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_W64_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_W64_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_W64_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_W64_TRIPLET}-windres)

# What is built is a function of its sources: the source folder's path becomes "." in what the
# compiler writes (__FILE__, debug information), and the linker leaves the time out of the PE
# header of programs and DLLs (0 instead of the link time).
set(CMAKE_C_FLAGS_INIT "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.")
set(CMAKE_CXX_FLAGS_INIT "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.")
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
endforeach()

# Headers, libraries and CMake packages come from the Windows sysroot (and from prefixes the
# caller adds to CMAKE_FIND_ROOT_PATH or CMAKE_PREFIX_PATH); programs run during the build are
# the host's own.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MINGW_W64_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
