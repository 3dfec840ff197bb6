# The packages cpack builds. On Linux the Debian package, quintrel_<version>_<arch>.deb:
# dpkg-shlibdeps works out the libraries the executable links; the rest are what it opens at run
# time: the Qt help viewer for the Help menu and the metric twins of the fonts the formula
# pictures are drawn in. On Windows an installer and a ZIP of the same program folder
# (cmake/windows-package.cmake).
set(CPACK_PACKAGE_NAME "quintrel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Quintrel developers")
# No mail reaches the project yet; the reserved .invalid domain says so instead of pretending.
set(CPACK_PACKAGE_CONTACT "The Quintrel developers <dev@quintrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "time and frequency grids for the discrete Fourier transform")
# Every time stamp in a package is the commit's (cmake/reproducible.cmake), also when cpack runs
# later or elsewhere than the configure run.
set(CPACK_QUINTREL_SOURCE_DATE_EPOCH "${QUINTREL_SOURCE_DATE_EPOCH}")
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/cpack_times.cmake")

if(WIN32)
    include("${CMAKE_CURRENT_LIST_DIR}/windows-package.cmake")
    include(CPack)
    return()
endif()

set(CPACK_GENERATOR "DEB")
# Lines of the long description stay under 80 columns, the control file's width.
set(CPACK_PACKAGE_DESCRIPTION
    "Quintrel calculates time and frequency grids and conversion formulas for\n"
    "the Fourier Transform: from the sampling interval and the number of points\n"
    "it gives the frequency spacing (and back), the time and frequency grids in\n"
    "transform order, and a picture of the transform formulas for the chosen\n"
    "conventions.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "math")
# No Homepage field: the project has no web site of its own yet.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "assistant-qt6, fonts-liberation, fonts-urw-base35")
# The package's own modes, whatever the umask of the build and of cpack: folders 755, the
# members of the .deb 644 as dpkg-deb writes them.
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/deb_stage_modes.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/deb_member_modes.cmake")

include(CPack)
