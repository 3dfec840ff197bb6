# GoogleTest for the Windows build: no mingw-w64 build of it is packaged, so Debian's sources
# (package googletest) are built along with the tests, as GTest::gtest and GTest::gtest_main.
set(QUINTREL_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest's sources")
if(NOT EXISTS "${QUINTREL_GTEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "No GoogleTest sources in ${QUINTREL_GTEST_SOURCE} (Debian package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory("${QUINTREL_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)

# Listing a suite's tests starts the program under Wine, which takes seconds when Wine's server is
# not yet up (and the first time, when the prefix is made): far more than the 5 s CMake allows.
include(GoogleTest)
function(gtest_discover_tests)
    _gtest_discover_tests(${ARGV} DISCOVERY_TIMEOUT 120)
endfunction()
