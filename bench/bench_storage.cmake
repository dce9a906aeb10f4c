add_executable(bench_storage ${CMAKE_CURRENT_LIST_DIR}/storage.cpp)
target_link_libraries(bench_storage PRIVATE kl_bench_support kl_SQLite SQLiteCpp sqlite3 keyloom_flags)
