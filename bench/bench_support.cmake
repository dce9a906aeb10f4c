# What the bench programs share (BenchSupport.h).
add_library(kl_bench_support STATIC ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
target_include_directories(kl_bench_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kl_bench_support PUBLIC keyloom_ui PRIVATE keyloom_flags)
