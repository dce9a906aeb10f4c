# Helpers shared by the area CMakeLists files.

# keyloom_area_target(<out-var> <area-path>): the target name of an area, e.g. "Views/Keyboard/KeyLayout" -> kl_Views_Keyboard_KeyLayout.
function(keyloom_area_target out area)
  string(REPLACE "/" "_" name "${area}")
  set(${out} kl_${name} PARENT_SCOPE)
endfunction()

# keyloom_add_area(<area-path> <collecting-library>): adds src/<area-path> and links its target into the library. An
# area without its CMakeLists.txt is an error, not an area silently left out of the program.
function(keyloom_add_area area library)
  if(NOT EXISTS ${PROJECT_SOURCE_DIR}/src/${area}/CMakeLists.txt)
    message(FATAL_ERROR "source area src/${area} has no CMakeLists.txt")
  endif()
  add_subdirectory(${PROJECT_SOURCE_DIR}/src/${area} ${PROJECT_BINARY_DIR}/src/${area})
  keyloom_area_target(t ${area})
  target_link_libraries(${library} INTERFACE ${t})
endfunction()

# keyloom_area(LIBS <deps...>): a static library from the *.cpp of the calling folder (not its subfolders).
# An area that has no sources yet becomes an interface library, so other areas can already name it.
function(keyloom_area)
  cmake_parse_arguments(A "" "" "LIBS;EXCLUDE" ${ARGN})
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  keyloom_area_target(t ${rel})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  foreach(ex IN LISTS A_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "/${ex}$")
  endforeach()
  set(compiled ${srcs})
  list(FILTER compiled INCLUDE REGEX "\\.(cpp|qrc)$")
  if(NOT compiled)
    add_library(${t} INTERFACE)
    target_include_directories(${t} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${t} INTERFACE ${A_LIBS})
    return()
  endif()
  add_library(${t} STATIC ${srcs})
  target_include_directories(${t} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${t} PUBLIC ${A_LIBS} PRIVATE keyloom_flags)
endfunction()

# keyloom_test(<name> SOURCES <files...> LIBS <deps...> [THREADED] [GUI]): one GoogleTest program under CTest.
# THREADED suites also run in the ThreadSanitizer build; the others are skipped there.
function(keyloom_test name)
  cmake_parse_arguments(T "THREADED;GUI" "" "SOURCES;LIBS" ${ARGN})
  if(KEYLOOM_SANITIZE STREQUAL "thread" AND NOT T_THREADED)
    return()
  endif()
  # A suite with a missing file would otherwise drop out of the run unnoticed.
  foreach(src IN LISTS T_SOURCES)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${src} AND NOT EXISTS ${src})
      message(FATAL_ERROR "${name}: ${src} is missing")
    endif()
  endforeach()
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    set(main keyloom_test_main_gui)
  else()
    set(main keyloom_test_main_core)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} keyloom_test_support ${main} GTest::gtest GTest::gmock keyloom_flags)
  set(label unit)
  if(T_THREADED)
    set(label threaded)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${label} TIMEOUT 60 ENVIRONMENT QT_QPA_PLATFORM=offscreen)  # a hang fails fast
endfunction()

# Runs the tests of `target` that match `filter` once more as an ordinary user when the tests run as root: what root
# may do in a folder made read-only, a user may not.
function(keyloom_test_as_ordinary_user target filter)
  if(NOT TARGET ${target})
    return()
  endif()
  add_test(NAME ${target}.AsAnOrdinaryUser
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tests/support/as_ordinary_user.sh $<TARGET_FILE:${target}>
      --gtest_filter=${filter})
  set_tests_properties(${target}.AsAnOrdinaryUser PROPERTIES LABELS unit TIMEOUT 120
    ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()
