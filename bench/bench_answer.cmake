add_executable(bench_answer ${CMAKE_CURRENT_LIST_DIR}/answer.cpp)
target_include_directories(bench_answer PRIVATE ${PROJECT_SOURCE_DIR}/tests/helper)  # its loopback server
target_link_libraries(bench_answer PRIVATE kl_Helper keyloom_flags)
