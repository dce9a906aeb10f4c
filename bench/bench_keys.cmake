add_executable(bench_keys ${CMAKE_CURRENT_LIST_DIR}/keys.cpp)
target_link_libraries(bench_keys PRIVATE kl_bench_support keyloom_ui keyloom_flags)
