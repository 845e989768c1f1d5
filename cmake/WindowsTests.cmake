# Windows tests, run under Wine by ctest through CMAKE_CROSSCOMPILING_EMULATOR. GoogleTest
# is built from its sources where they are named and present (Debian has none built for
# mingw), else it is an installed package.
set(TORVANE_GOOGLETEST_SOURCE "" CACHE PATH "GoogleTest's sources, built for the tests")
if(EXISTS "${TORVANE_GOOGLETEST_SOURCE}/CMakeLists.txt")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TORVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest)
  if(NOT GTest_FOUND)
    message(STATUS "GoogleTest not found: the Windows tests and benchmarks are left out")
    return()
  endif()
endif()
include(GoogleTest)

add_library(test_support INTERFACE)
target_link_libraries(test_support INTERFACE torvane_platform)

function(torvane_windows_test target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE test_support GTest::gtest_main ${torvane_static_runtime})
  torvane_warnings(${target})
  # Discovering at build time would pay a cold Wine start for every test program.
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
endfunction()

torvane_windows_test(platform_tests tests/platform/platform_test.cpp)

torvane_windows_test(e2e_tests
  tests/e2e/go_test.cpp
  tests/e2e/picker_test.cpp
  tests/e2e/window_test.cpp)
target_link_libraries(e2e_tests PRIVATE ole32 oleaut32 oleacc uuid)
# The link pictures' targets, as the build configured them (links/link_targets.hpp).
target_include_directories(e2e_tests PRIVATE ${CMAKE_BINARY_DIR})

# The double-byte tests, which the plain run leaves out, in code page 932. Wine takes a
# process's code page from its Unix locale, and the programs it starts inherit it;
# scripts/wine-session provides the Japanese locale.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME CodePage932.UnderAJapaneseLocale
    COMMAND env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
            ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:e2e_tests>
            --gtest_also_run_disabled_tests --gtest_filter=DISABLED_CodePage932.*)
endif()

# Stands in for the browser, the mail program and the command interpreter.
add_executable(recorder WIN32 tests/e2e/recorder.cpp)
target_link_libraries(recorder PRIVATE test_support ${torvane_static_runtime})
torvane_warnings(recorder)
add_dependencies(e2e_tests Brelix recorder planted_library)

# Planted beside a copy of the program under the names of system libraries.
add_library(planted_library SHARED tests/e2e/planted_library.cpp)
set_target_properties(planted_library PROPERTIES PREFIX "")
target_link_libraries(planted_library PRIVATE test_support ${torvane_static_runtime})
torvane_warnings(planted_library)

# The benchmarks (bench/run-benchmarks): the fill through the file layer, and start-up and Go
# timings against a minimal window program.
add_executable(fill_file_bench bench/fill_file_bench.cpp)
target_link_libraries(fill_file_bench PRIVATE torvane_platform psapi ${torvane_static_runtime})
torvane_warnings(fill_file_bench)
add_executable(floor_window WIN32 bench/floor_window.cpp)
target_link_libraries(floor_window PRIVATE ole32 ${torvane_static_runtime})
target_compile_definitions(floor_window PRIVATE ${torvane_windows_definitions})
torvane_warnings(floor_window)
add_executable(launch_bench bench/launch_bench.cpp)
target_link_libraries(launch_bench PRIVATE test_support psapi ${torvane_static_runtime})
torvane_warnings(launch_bench)
add_dependencies(launch_bench Brelix floor_window)

if(MINGW)
  # MinGW links a program with wmain or wWinMain only when told so; MSVC finds them itself.
  target_link_options(recorder PRIVATE -municode)
  target_link_options(floor_window PRIVATE -municode)
endif()
