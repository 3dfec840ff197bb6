# The Windows program folder: beside Quintrel.exe (and the pictures and help that data/ puts
# there) go the Qt and mingw runtime DLLs and the plugins Qt loads from the program's folder, so
# the folder runs as it is, copied anywhere. The copies are stripped; the originals keep their
# symbols for debugging the tests.
set(quintrel_qt_modules Core Gui Widgets)
set(quintrel_qt_plugins platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle)
set(quintrel_runtime_dlls libstdc++-6 libgcc_s_seh-1 libwinpthread-1)

# The runtime DLLs are the ones the compiler links against: it names where they are.
set(quintrel_runtime_paths)
foreach(dll IN LISTS quintrel_runtime_dlls)
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll}.dll
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll}.dll is")
    endif()
    list(APPEND quintrel_runtime_paths "${path}")
endforeach()

set(quintrel_copy_commands)
set(quintrel_app_files)  # relative to the program folder
foreach(module IN LISTS quintrel_qt_modules)
    list(APPEND quintrel_copy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different
         "$<TARGET_FILE:Qt6::${module}>" "${QUINTREL_APP_DIR}")
    list(APPEND quintrel_app_files "$<TARGET_FILE_NAME:Qt6::${module}>")
endforeach()
foreach(path IN LISTS quintrel_runtime_paths)
    get_filename_component(name "${path}" NAME)
    list(APPEND quintrel_app_files "${name}")
endforeach()
foreach(plugin IN LISTS quintrel_qt_plugins)
    get_filename_component(folder "${plugin}" DIRECTORY)
    list(APPEND quintrel_copy_commands
         COMMAND ${CMAKE_COMMAND} -E make_directory "${QUINTREL_APP_DIR}/${folder}"
         COMMAND ${CMAKE_COMMAND} -E copy_if_different
                 "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${plugin}.dll" "${QUINTREL_APP_DIR}/${folder}")
    list(APPEND quintrel_app_files "${plugin}.dll")
endforeach()
list(TRANSFORM quintrel_app_files PREPEND "${QUINTREL_APP_DIR}/" OUTPUT_VARIABLE quintrel_app_dlls)
# Without a qt.conf, Qt works its prefix out from where Qt6Core.dll is: the program's folder, but
# the folder above it when that one looks like a Qt installation (it has lib\libQt6Core.a), and
# then it looks in that folder's plugins\ first, ahead of the program's own, and may load another
# program's platform plugin. With this one the prefix is the program's folder (a relative Prefix
# is taken from the folder qt.conf is in), and so are the plugins.
file(CONFIGURE OUTPUT "${QUINTREL_APP_DIR}/qt.conf" NEWLINE_STYLE CRLF CONTENT
"; Qt's folders are the program's own: plugins only from platforms\\ and styles\\ beside Quintrel.exe.
[Paths]
Prefix=.
Plugins=.
")
list(APPEND quintrel_app_files qt.conf)
# The install rules take the stripped copies from here.
set_property(TARGET Quintrel PROPERTY QUINTREL_RUNTIME_FILES ${quintrel_app_files})
add_custom_command(TARGET Quintrel POST_BUILD ${quintrel_copy_commands}
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different ${quintrel_runtime_paths}
                           "${QUINTREL_APP_DIR}"
                   # The copies lose their symbols (libstdc++ alone drops from 23 to 2 MB), and
                   # so does the program, here rather than when installing: strip writes a time
                   # into a Windows program's header (the commit's, from SOURCE_DATE_EPOCH, not
                   # the clock's), and the installer and the ZIP must hold this folder's bytes.
                   COMMAND ${CMAKE_COMMAND} -E env
                           "SOURCE_DATE_EPOCH=${QUINTREL_SOURCE_DATE_EPOCH}"
                           "${CMAKE_STRIP}" --strip-unneeded ${quintrel_app_dlls}
                   COMMAND ${CMAKE_COMMAND} -E env
                           "SOURCE_DATE_EPOCH=${QUINTREL_SOURCE_DATE_EPOCH}"
                           "${CMAKE_STRIP}" "$<TARGET_FILE:Quintrel>"
                   COMMENT "Copying the Qt and runtime DLLs and the Qt plugins beside Quintrel.exe"
                   VERBATIM)
