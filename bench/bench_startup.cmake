if(TARGET kl_app)
  add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/startup.cpp)
  target_link_libraries(bench_startup PRIVATE kl_app keyloom_ui keyloom_flags)
endif()
