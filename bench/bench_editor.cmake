add_executable(bench_editor ${CMAKE_CURRENT_LIST_DIR}/editor.cpp)
target_link_libraries(bench_editor PRIVATE kl_bench_support keyloom_ui keyloom_flags)
