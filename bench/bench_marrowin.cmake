add_executable(bench_marrowin ${CMAKE_CURRENT_LIST_DIR}/marrowin.cpp)
target_link_libraries(bench_marrowin PRIVATE kl_bench_support keyloom_ui keyloom_flags)
