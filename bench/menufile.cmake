# Reading and writing the example menu file: the format alone, and through the disk.
add_executable(bench_menufile bench_menufile.cpp)
target_include_directories(bench_menufile PRIVATE "${PROJECT_SOURCE_DIR}")
target_link_libraries(bench_menufile PRIVATE quintrel_menufile benchmark::benchmark)
