# Loading, reading and drawing one formula picture into an image the size of the picture box.
add_executable(bench_wmf bench_wmf.cpp)
target_include_directories(bench_wmf PRIVATE "${PROJECT_SOURCE_DIR}")
target_compile_definitions(bench_wmf PRIVATE QUINTREL_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
target_link_libraries(bench_wmf PRIVATE quintrel_metafile_qt benchmark::benchmark)
