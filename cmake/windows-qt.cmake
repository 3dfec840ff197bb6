# Toolchain for the windows preset: the mingw-w64 compilers, the Windows Qt that
# scripts/build-qt-windows.sh keeps in its cache, and Wine to run what the build makes (test
# discovery and the tests themselves).
#
#   QUINTREL_QT_WINDOWS  the Windows Qt (default /var/cache/quintrel/qt6-6.4.2-mingw64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")

if(DEFINED ENV{QUINTREL_QT_WINDOWS} AND NOT "$ENV{QUINTREL_QT_WINDOWS}" STREQUAL "")
    set(QUINTREL_QT_WINDOWS "$ENV{QUINTREL_QT_WINDOWS}")
else()
    set(QUINTREL_QT_WINDOWS "/var/cache/quintrel/qt6-6.4.2-mingw64")
endif()
if(NOT EXISTS "${QUINTREL_QT_WINDOWS}/lib/cmake/Qt6/Qt6Config.cmake")
    message(FATAL_ERROR "No Windows Qt in ${QUINTREL_QT_WINDOWS}: run scripts/build-qt-windows.sh")
endif()

# Packages are only looked for under the find roots, so the Qt is named as both.
list(APPEND CMAKE_PREFIX_PATH "${QUINTREL_QT_WINDOWS}")
list(APPEND CMAKE_FIND_ROOT_PATH "${QUINTREL_QT_WINDOWS}")
# moc, rcc and uic are the host's Qt of the same version.
set(QT_HOST_PATH "/usr" CACHE PATH "")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
