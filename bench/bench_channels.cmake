add_executable(bench_channels ${CMAKE_CURRENT_LIST_DIR}/channels.cpp)
target_link_libraries(bench_channels PRIVATE kl_VelkorDevice benchmark::benchmark keyloom_flags)
