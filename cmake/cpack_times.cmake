# cpack reads this before it makes each package (CPACK_PROJECT_CONFIG_FILE). The packages' time
# stamps are the configure run's (cmake/reproducible.cmake), whatever the environment cpack runs
# in: cpack's DEB generator and the archivers it runs take them from SOURCE_DATE_EPOCH.
if(NOT CPACK_QUINTREL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "CPackConfig.cmake has no CPACK_QUINTREL_SOURCE_DATE_EPOCH: "
                        "configure the build again")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${CPACK_QUINTREL_SOURCE_DATE_EPOCH}")
