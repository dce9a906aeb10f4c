add_executable(bench_monitor ${CMAKE_CURRENT_LIST_DIR}/monitor.cpp)
target_link_libraries(bench_monitor PRIVATE kl_USB keyloom_flags)
