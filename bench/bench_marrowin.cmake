add_executable(bench_marrowin ${CMAKE_CURRENT_LIST_DIR}/marrowin.cpp)
target_link_libraries(bench_marrowin PRIVATE keyloom_ui keyloom_flags)
