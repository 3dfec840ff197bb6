# Start-up benchmark: the program's start-up (probe) against a bare Qt window with the same
# controls (floor), both started as whole processes by a driver that prints medians. The probe
# sits in a folder with the formula pictures, as the program does, so the first picture is drawn.
set(quintrel_startup_dir "${CMAKE_CURRENT_BINARY_DIR}/startup")

add_executable(bench_startup_probe startup_probe.cpp first_paint.h)
target_link_libraries(bench_startup_probe PRIVATE quintrel_ui)
add_dependencies(bench_startup_probe quintrel_pictures)
set_target_properties(bench_startup_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                     "${quintrel_startup_dir}")
foreach(k RANGE 1 8)
    add_custom_command(TARGET bench_startup_probe POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                "${QUINTREL_APP_DIR}/transforms${k}.wmf" "${quintrel_startup_dir}/")
endforeach()

add_executable(bench_startup_floor startup_floor.cpp first_paint.h)
target_link_libraries(bench_startup_floor PRIVATE Qt6::Widgets)
set_target_properties(bench_startup_floor PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                     "${quintrel_startup_dir}")

# The driver runs on Linux; for the Windows programs it is given wrappers that start them under Wine.
if(WIN32)
    return()
endif()
add_executable(bench_startup startup_driver.cpp)
add_dependencies(bench_startup bench_startup_probe bench_startup_floor)
target_compile_definitions(bench_startup PRIVATE
    QUINTREL_STARTUP_PROBE="$<TARGET_FILE:bench_startup_probe>"
    QUINTREL_STARTUP_FLOOR="$<TARGET_FILE:bench_startup_floor>")
