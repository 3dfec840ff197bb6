# Install layout. The executable, the formula pictures and the help files share one program
# folder, because the program looks for them beside its real executable. On Linux that folder is
# lib/quintrel, bin/quintrel is a relative symbolic link into it, so the program finds its files
# from either path, and the desktop entry, the icons and the software-centre entry go where
# desktops look for them. On Windows the install folder is the program folder itself, with the
# DLLs, the plugins and the licences beside the program.
include(GNUInstallDirs)

if(WIN32)
    set(QUINTREL_INSTALL_APP_DIR ".")
else()
    set(QUINTREL_INSTALL_APP_DIR "lib/quintrel")
endif()
# The date of the release named by the project version, for the software-centre entry.
set(QUINTREL_RELEASE_DATE "2026-12-07")
set(QUINTREL_DESKTOP_ID "org.example.quintrel")

install(TARGETS Quintrel RUNTIME DESTINATION "${QUINTREL_INSTALL_APP_DIR}")
foreach(k RANGE 1 8)
    install(FILES "${PROJECT_SOURCE_DIR}/data/transforms${k}.wmf"
            DESTINATION "${QUINTREL_INSTALL_APP_DIR}")
endforeach()
# The help files are built by their own target; the rule comes alive with it.
if(TARGET quintrel_help)
    get_target_property(quintrel_help_files quintrel_help QUINTREL_FILES)
    install(FILES ${quintrel_help_files} DESTINATION "${QUINTREL_INSTALL_APP_DIR}")
endif()

if(WIN32)
    get_target_property(quintrel_runtime_files Quintrel QUINTREL_RUNTIME_FILES)
    foreach(file IN LISTS quintrel_runtime_files)
        get_filename_component(folder "${file}" DIRECTORY)
        install(FILES "${QUINTREL_APP_DIR}/${file}"
                DESTINATION "${QUINTREL_INSTALL_APP_DIR}/${folder}")
    endforeach()
    include("${CMAKE_CURRENT_LIST_DIR}/windows-licenses.cmake")
    return()  # the rest is the Linux desktop's and Debian's
endif()

set(quintrel_launcher "${CMAKE_BINARY_DIR}/install/quintrel")
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/install")
file(CREATE_LINK "../${QUINTREL_INSTALL_APP_DIR}/Quintrel" "${quintrel_launcher}" SYMBOLIC)
install(FILES "${quintrel_launcher}" DESTINATION "${CMAKE_INSTALL_BINDIR}")

set(quintrel_desktop_dir "${PROJECT_SOURCE_DIR}/data/desktop")
set(QUINTREL_METAINFO "${CMAKE_BINARY_DIR}/install/${QUINTREL_DESKTOP_ID}.metainfo.xml")
configure_file("${quintrel_desktop_dir}/${QUINTREL_DESKTOP_ID}.metainfo.xml.in"
               "${QUINTREL_METAINFO}" @ONLY)
install(FILES "${quintrel_desktop_dir}/${QUINTREL_DESKTOP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${QUINTREL_METAINFO}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

set(quintrel_icon_dir "${PROJECT_SOURCE_DIR}/data/icons")
foreach(size 16 32 48 256)
    install(FILES "${quintrel_icon_dir}/quintrel${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME quintrel.png)
endforeach()
install(FILES "${quintrel_icon_dir}/quintrel.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

# The manual page, and the copyright and changelog every Debian package carries. Manual pages and
# changelogs go compressed with gzip -9n: no name or time stamp inside, so the same text always
# gives the same bytes.
find_program(QUINTREL_GZIP gzip REQUIRED)
set(quintrel_doc_dir "${PROJECT_SOURCE_DIR}/data/debian")
set(quintrel_staged "${CMAKE_BINARY_DIR}/install")
configure_file("${PROJECT_SOURCE_DIR}/data/man/quintrel.1.in" "${quintrel_staged}/quintrel.1"
               @ONLY)
configure_file("${quintrel_doc_dir}/changelog" "${quintrel_staged}/changelog" COPYONLY)
foreach(page quintrel.1 changelog)
    execute_process(COMMAND "${QUINTREL_GZIP}" -9nc "${quintrel_staged}/${page}"
                    OUTPUT_FILE "${quintrel_staged}/${page}.gz" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES "${quintrel_staged}/quintrel.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${quintrel_doc_dir}/copyright" "${quintrel_staged}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/quintrel")
install(FILES "${quintrel_doc_dir}/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME quintrel)
# A stripped install (the package's) also drops the compiler's version comments, as Debian's
# own strip step does; strip without arguments keeps them.
set(quintrel_installed_program
    "${QUINTREL_INSTALL_APP_DIR}/$<TARGET_FILE_NAME:Quintrel>")
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${quintrel_installed_program}\"
        COMMAND_ERROR_IS_FATAL ANY)
endif()")
