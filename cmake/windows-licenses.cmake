# The licences that go with the Windows program folder: Quintrel's own (LICENSE.txt), a notice
# (THIRD-PARTY.txt) saying which licence covers each bundled DLL and where its source is, and the
# texts it refers to in licenses\. The texts are Debian's: the LGPL 3 from common-licenses and
# the copyright files of the packages the DLLs come from, which give every part's terms in full.
set(quintrel_license_dir "${CMAKE_BINARY_DIR}/licenses")

# name in licenses\ = Debian's file
set(quintrel_license_texts
    "LGPL-3.txt=/usr/share/common-licenses/LGPL-3"
    "Qt-copyright.txt=/usr/share/doc/libqt6core6/copyright"
    "GCC-copyright.txt=/usr/share/doc/gcc-mingw-w64-base/copyright"
    "mingw-w64-copyright.txt=/usr/share/doc/mingw-w64-common/copyright")
foreach(entry IN LISTS quintrel_license_texts)
    string(REPLACE "=" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 path)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "${path} is missing: the Windows package ships it as licenses/${name}")
    endif()
    install(FILES "${path}" DESTINATION "${QUINTREL_INSTALL_APP_DIR}/licenses" RENAME "${name}")
endforeach()

# The notice names the options the Qt was configured with, as its build script recorded them in
# the cache's stamp (the first line is the build's date): an option's value on a line of its own
# joins the option.
set(quintrel_qt_stamp "${QUINTREL_QT_WINDOWS}/quintrel-complete.stamp")
if(NOT EXISTS "${quintrel_qt_stamp}")
    message(FATAL_ERROR "${QUINTREL_QT_WINDOWS} was not made by scripts/build-qt-windows.sh, "
                        "which the Windows package's licence notice names as Qt's build")
endif()
file(STRINGS "${quintrel_qt_stamp}" quintrel_qt_options)
list(POP_FRONT quintrel_qt_options)
set(quintrel_qt_option_lines)
foreach(option IN LISTS quintrel_qt_options)
    if(option MATCHES "^-" OR NOT quintrel_qt_option_lines)
        list(APPEND quintrel_qt_option_lines "${option}")
    else()
        list(POP_BACK quintrel_qt_option_lines previous)
        list(APPEND quintrel_qt_option_lines "${previous} ${option}")
    endif()
endforeach()
list(JOIN quintrel_qt_option_lines "\n    " QUINTREL_QT_OPTIONS)

# The versions of the Debian packages the compiler's runtime DLLs are copied from.
foreach(package gcc-mingw-w64-x86-64-posix-runtime mingw-w64-x86-64-dev)
    execute_process(COMMAND dpkg-query -W "-f=\${Version}" ${package}
                    OUTPUT_VARIABLE version COMMAND_ERROR_IS_FATAL ANY)
    string(MAKE_C_IDENTIFIER "${package}" key)
    set(QUINTREL_VERSION_${key} "${version}")
endforeach()

configure_file("${PROJECT_SOURCE_DIR}/data/windows/THIRD-PARTY.txt.in"
               "${quintrel_license_dir}/THIRD-PARTY.txt" @ONLY)
install(FILES "${quintrel_license_dir}/THIRD-PARTY.txt" DESTINATION "${QUINTREL_INSTALL_APP_DIR}")
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION "${QUINTREL_INSTALL_APP_DIR}"
        RENAME LICENSE.txt)
