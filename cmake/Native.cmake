# Host build: unit tests and benchmarks of the portable core.
find_package(GTest)
if(GTest_FOUND)
  include(GoogleTest)
  add_executable(core_tests tests/unit/template_fill_test.cpp tests/unit/path_check_test.cpp
    tests/unit/link_targets_test.cpp)
  target_link_libraries(core_tests PRIVATE torvane_core GTest::gtest_main)
  torvane_warnings(core_tests)
  gtest_discover_tests(core_tests)
else()
  message(STATUS "GoogleTest not found: the unit tests are left out")
endif()

find_package(benchmark)
if(benchmark_FOUND)
  add_executable(fill_bench bench/fill_bench.cpp)
  target_link_libraries(fill_bench PRIVATE torvane_core benchmark::benchmark)
  torvane_warnings(fill_bench)
endif()

# libFuzzer needs clang: the "fuzz" preset builds this alone.
if(TORVANE_FUZZ)
  add_executable(fill_fuzzer tests/fuzz/fill_fuzzer.cpp)
  target_link_libraries(fill_fuzzer PRIVATE torvane_core)
  target_compile_options(fill_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(fill_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  torvane_warnings(fill_fuzzer)
endif()
