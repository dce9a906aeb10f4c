add_executable(bench_answer ${CMAKE_CURRENT_LIST_DIR}/answer.cpp)
target_link_libraries(bench_answer PRIVATE kl_Helper keyloom_flags)
