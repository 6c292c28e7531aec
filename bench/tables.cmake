# Benchmarks of the start-up tables and the lens remaps (make bench runs
# every bench_* executable).
find_package(benchmark REQUIRED)
add_executable(bench_tables ${CMAKE_CURRENT_LIST_DIR}/bench_tables.cpp)
target_link_libraries(bench_tables PRIVATE tables tools benchmark::benchmark benchmark::benchmark_main)
