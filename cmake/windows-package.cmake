# The Windows packages, made by cpack from the install rules: Quintrel-<version>-win64.exe, an
# installer made by NSIS (makensis, Debian package nsis) from the script in cmake/nsis/, and
# Quintrel-<version>-win64.zip, the same program folder for running without installing.
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_PACKAGE_FILE_NAME "Quintrel-${PROJECT_VERSION}-win64")
set(CPACK_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}/nsis")

set(CPACK_PACKAGE_INSTALL_DIRECTORY "Quintrel")
# Without the version, so a later release replaces this one's entry in the installed programs.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Quintrel")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME "Quintrel.exe")
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/data/icons/quintrel.ico")
set(CPACK_NSIS_MUI_UNIICON "${CPACK_NSIS_MUI_ICON}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")

# Both packages are a function of the commit and of the Windows Qt (see the README): the staged
# files get the commit's time before packing (makensis packs each folder's files sorted by
# name), then the ZIP is made again without the host's fields and the installer's header gets
# the commit's time.
find_program(QUINTREL_ZIP zip REQUIRED)
set(CPACK_QUINTREL_ZIP "${QUINTREL_ZIP}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/windows-package-stage.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/windows-package-finish.cmake")
