# Run by cpack once the Debian package's files are staged and before they are packed
# (CPACK_PRE_BUILD_SCRIPTS). The install rules give every file its mode, but the folders it makes
# on the way get theirs from the umask of whoever builds; in the package they are all 755.
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}")
    message(FATAL_ERROR "no staged package at '${CPACK_TEMPORARY_DIRECTORY}'")
endif()
execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -type d -exec chmod 755 {} +
                COMMAND_ERROR_IS_FATAL ANY)
