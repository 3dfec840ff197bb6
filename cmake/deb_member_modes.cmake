# Run by cpack after it has made the Debian package (CPACK_POST_BUILD_SCRIPTS). cpack writes the
# package's three members to disk first and copies their modes from there into the ar headers,
# so they follow the umask cpack ran under; dpkg-deb always writes 100644. This writes that mode
# into each member's header, in place: the header is text, the rest of the file is left alone.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    file(SIZE "${package}" size)
    file(READ "${package}" magic LIMIT 8)
    if(NOT magic STREQUAL "!<arch>\n")
        message(FATAL_ERROR "${package} is not an ar archive")
    endif()
    # Each member: a 60-byte header (name 16, time 12, owner 6, group 6, mode 8, size 10, "`\n"),
    # then its data, padded to an even length.
    set(offset 8)
    while(offset LESS size)
        file(READ "${package}" header OFFSET ${offset} LIMIT 60)
        string(LENGTH "${header}" length)
        if(NOT length EQUAL 60 OR NOT header MATCHES "`\n$")
            message(FATAL_ERROR "${package}: no ar member header at byte ${offset}")
        endif()
        string(SUBSTRING "${header}" 40 8 mode)
        string(SUBSTRING "${header}" 48 10 member_size)
        string(STRIP "${member_size}" member_size)
        if(NOT mode STREQUAL "100644  ")
            math(EXPR mode_offset "${offset} + 40")
            execute_process(COMMAND printf "100644  "
                            COMMAND dd "of=${package}" bs=1 seek=${mode_offset} conv=notrunc
                                    status=none
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()
        math(EXPR offset "${offset} + 60 + ${member_size} + ${member_size} % 2")
    endwhile()
endforeach()
