add_executable(bench_home ${CMAKE_CURRENT_LIST_DIR}/home.cpp)
target_link_libraries(bench_home PRIVATE kl_bench_support keyloom_ui keyloom_flags)
