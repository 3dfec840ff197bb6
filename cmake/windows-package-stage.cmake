# Run by cpack for the Windows packages once the program folder is staged and before it is packed
# (CPACK_PRE_BUILD_SCRIPTS). The installer keeps each file's modification time and sets it when
# installing, and the ZIP stores it too: every staged file and folder gets the commit's time
# (cmake/cpack_times.cmake sets SOURCE_DATE_EPOCH), not the time the build or the staging wrote it.
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}")
    message(FATAL_ERROR "no staged program folder at '${CPACK_TEMPORARY_DIRECTORY}'")
endif()
execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -exec
                        touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
                COMMAND_ERROR_IS_FATAL ANY)
