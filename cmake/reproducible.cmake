# Release files are a function of the commit: every time stamp that reaches a package is
# QUINTREL_SOURCE_DATE_EPOCH, the SOURCE_DATE_EPOCH of the configure run or, when that is not set,
# the time of the last commit. The build hands it to the tools that write times (strip, the help
# compilers, cpack and the archivers it runs); see cmake/package.cmake.
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    set(QUINTREL_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
    set(quintrel_epoch_origin "SOURCE_DATE_EPOCH")
else()
    find_package(Git QUIET)
    set(QUINTREL_SOURCE_DATE_EPOCH "")
    if(Git_FOUND)
        execute_process(COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
                        WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                        OUTPUT_VARIABLE QUINTREL_SOURCE_DATE_EPOCH
                        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        # A new commit or checkout changes the time: configure again then. logs/HEAD is written
        # on every change of HEAD, also in a linked worktree's own git folder.
        execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --absolute-git-dir
                        WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                        OUTPUT_VARIABLE quintrel_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE
                        ERROR_QUIET)
        if(quintrel_git_dir AND EXISTS "${quintrel_git_dir}/logs/HEAD")
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                         "${quintrel_git_dir}/logs/HEAD")
        endif()
    endif()
    set(quintrel_epoch_origin "the last commit")
    if(QUINTREL_SOURCE_DATE_EPOCH STREQUAL "")
        # A source tree without its history (an exported tarball) still builds, but its packages
        # carry the time they were made.
        string(TIMESTAMP QUINTREL_SOURCE_DATE_EPOCH "%s" UTC)
        set(quintrel_epoch_origin "the clock (no git history: set SOURCE_DATE_EPOCH for "
                                  "packages that can be rebuilt bit for bit)")
        message(WARNING "No git history in ${PROJECT_SOURCE_DIR} and no SOURCE_DATE_EPOCH: "
                        "the packages will carry the time they are made")
    endif()
endif()
if(NOT QUINTREL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH must be whole seconds since 1970, "
                        "not '${QUINTREL_SOURCE_DATE_EPOCH}'")
endif()
# The rest of the configure run sees it too, so string(TIMESTAMP) gives this time.
set(ENV{SOURCE_DATE_EPOCH} "${QUINTREL_SOURCE_DATE_EPOCH}")
string(TIMESTAMP quintrel_epoch_text "%Y-%m-%d %H:%M:%S UTC" UTC)
message(STATUS "Time stamps in the packages: ${quintrel_epoch_text} "
               "(${QUINTREL_SOURCE_DATE_EPOCH}), from ${quintrel_epoch_origin}")
