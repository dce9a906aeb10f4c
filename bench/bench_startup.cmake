# bench_startup launches the built program and a bare Qt window in turn and watches an X display (xvfb-run) for their
# first window: it needs the XCB DAMAGE library (libxcb-damage0-dev, installed by scripts/setup).
if(TARGET velkor-keyloom)
  add_executable(bench_startup_bare ${CMAKE_CURRENT_LIST_DIR}/startup_bare.cpp)
  target_link_libraries(bench_startup_bare PRIVATE Qt6::Widgets keyloom_flags)
  pkg_check_modules(XCB_DAMAGE IMPORTED_TARGET xcb xcb-damage)
  if(XCB_DAMAGE_FOUND)
    add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/startup.cpp)
    target_link_libraries(bench_startup PRIVATE PkgConfig::XCB_DAMAGE keyloom_flags)
    target_compile_definitions(bench_startup PRIVATE KEYLOOM_PROGRAM="$<TARGET_FILE:velkor-keyloom>"
                                                     KEYLOOM_BARE_PROGRAM="$<TARGET_FILE:bench_startup_bare>")
    add_dependencies(bench_startup velkor-keyloom bench_startup_bare)
  else()
    message(STATUS "bench_startup is not built: libxcb-damage0-dev is missing")
  endif()
endif()
