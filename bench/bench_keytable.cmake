add_executable(bench_keytable ${CMAKE_CURRENT_LIST_DIR}/keytable.cpp)
target_link_libraries(bench_keytable PRIVATE kl_bench_support keyloom_ui Qt6::Test keyloom_flags)
