add_executable(bench_pictures ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp)
target_link_libraries(bench_pictures PRIVATE kl_CustomControl kl_resources benchmark::benchmark keyloom_flags)
