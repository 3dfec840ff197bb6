# One forward transfer with its summary texts, through the in-memory window.
add_executable(bench_core bench_core.cpp)
target_include_directories(bench_core PRIVATE "${PROJECT_SOURCE_DIR}")
target_link_libraries(bench_core PRIVATE quintrel_core benchmark::benchmark)
