# Run by cpack after it has made the Windows packages (CPACK_POST_BUILD_SCRIPTS).
#
# The ZIP is made again from the same staged folder by Info-ZIP's zip, because cpack's archiver
# adds fields of the host to every entry (the builder's user and group, the access and change
# times) and writes the entries' times in the time zone it runs in. Here the entries come in one
# fixed order (sorted by their bytes), without folders of their own or extra fields (-X -D), with
# the staged times (the commit's, cmake/windows-package-stage.cmake) written as UTC.
#
# The installer's PE header carries the time its stub was built at, from the nsis package:
# makensis copies it as it is. It becomes the commit's time, like every other program's. The
# installer's integrity check leaves out its first 512 bytes, which hold the header, and the
# header's checksum is 0 (not kept), so nothing else changes.

# Writes SOURCE_DATE_EPOCH into the TimeDateStamp of a PE file's COFF header, in place.
function(set_pe_time path)
    file(READ "${path}" dos LIMIT 2 HEX)
    file(READ "${path}" pe_offset OFFSET 60 LIMIT 4 HEX)
    string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" pe_offset "${pe_offset}")
    math(EXPR pe_offset "0x${pe_offset}")
    file(READ "${path}" signature OFFSET ${pe_offset} LIMIT 4 HEX)
    if(NOT dos STREQUAL "4d5a" OR NOT signature STREQUAL "50450000" OR pe_offset GREATER 500)
        message(FATAL_ERROR "${path} has no PE header in its first 512 bytes")
    endif()
    math(EXPR time_offset "${pe_offset} + 8")
    math(EXPR time "$ENV{SOURCE_DATE_EPOCH}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" time "${time}")
    string(LENGTH "${time}" digits)
    if(digits GREATER 8)
        message(FATAL_ERROR "SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH} does not fit a PE header")
    endif()
    string(SUBSTRING "00000000" ${digits} -1 padding)
    string(REGEX REPLACE "(..)(..)(..)(..)" "\\\\x\\4\\\\x\\3\\\\x\\2\\\\x\\1" bytes
           "${padding}${time}")
    execute_process(COMMAND printf "${bytes}"
                    COMMAND dd "of=${path}" bs=1 seek=${time_offset} conv=notrunc status=none
                    COMMAND_ERROR_IS_FATAL ANY)
endfunction()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.exe$")
        set_pe_time("${package}")
        continue()
    elseif(NOT package MATCHES "\\.zip$")
        continue()
    endif()
    # The ZIP holds one folder, the staged one, by its name.
    get_filename_component(stage_parent "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY)
    get_filename_component(top "${CPACK_TEMPORARY_DIRECTORY}" NAME)
    file(GLOB_RECURSE entries LIST_DIRECTORIES false RELATIVE "${stage_parent}"
         "${CPACK_TEMPORARY_DIRECTORY}/*")
    if(NOT entries)
        message(FATAL_ERROR "nothing staged in ${CPACK_TEMPORARY_DIRECTORY}")
    endif()
    # CMake's list sort compares bytes, as LC_ALL=C sort does.
    list(SORT entries)
    list(JOIN entries "\n" entry_lines)
    set(list_file "${stage_parent}/${top}.zip-entries")
    file(WRITE "${list_file}" "${entry_lines}\n")
    file(REMOVE "${package}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0
                            "${CPACK_QUINTREL_ZIP}" -X -D -9 -q "${package}" -@
                    WORKING_DIRECTORY "${stage_parent}"
                    INPUT_FILE "${list_file}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
