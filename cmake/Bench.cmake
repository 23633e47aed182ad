# Google Benchmark programs (Debian's libbenchmark-dev). Run by hand or by scripts/bench.sh, not by ctest.
find_package(benchmark REQUIRED)

add_executable(korvat_bench_link ${CMAKE_SOURCE_DIR}/Tests/Bench/BenchLink.cpp ${CMAKE_SOURCE_DIR}/Tests/Bench/AllocationCounter.cpp)
target_link_libraries(korvat_bench_link PRIVATE korvat_host_sim korvat_link benchmark::benchmark)
korvat_warnings(korvat_bench_link)
# The program replaces the global operator new/delete with malloc/free to count allocations; GCC cannot
# see that the pair matches.
target_compile_options(korvat_bench_link PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-mismatched-new-delete>)

# Instruction counts per idle step under callgrind (see scripts/bench.sh).
add_executable(korvat_idle_step_probe ${CMAKE_SOURCE_DIR}/Tests/Bench/IdleStepProbe.cpp)
target_link_libraries(korvat_idle_step_probe PRIVATE korvat_host_sim korvat_link)
korvat_warnings(korvat_idle_step_probe)

# Instruction and allocation counts of an idle connected frame of the runtime module in the stand-in engine.
if(TARGET korvat_sandbox)
  add_executable(korvat_module_frame_probe ${CMAKE_SOURCE_DIR}/Tests/Bench/ModuleFrameProbe.cpp ${CMAKE_SOURCE_DIR}/Tests/Bench/AllocationCounter.cpp)
  target_link_libraries(korvat_module_frame_probe PRIVATE korvat_sandbox korvat_host_sim)
  korvat_warnings(korvat_module_frame_probe)
  target_compile_options(korvat_module_frame_probe PRIVATE -Wno-unused-parameter
    $<$<CXX_COMPILER_ID:GNU>:-Wno-mismatched-new-delete>)
endif()

# The input packet walker against liblo (Debian's liblo-dev) decoding the same bundle. Left out, with a
# note, when liblo is not installed, so the other benchmarks still build.
find_path(KORVAT_LIBLO_INCLUDE_DIR lo/lo_lowlevel.h)
find_library(KORVAT_LIBLO_LIBRARY NAMES lo)
if(KORVAT_LIBLO_INCLUDE_DIR AND KORVAT_LIBLO_LIBRARY)
  if(NOT TARGET korvat_input_packet)
    add_library(korvat_input_packet STATIC ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private/Input/KorvatInputPacket.cpp)
    target_include_directories(korvat_input_packet PUBLIC ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private)
    korvat_warnings(korvat_input_packet)
  endif()
  add_executable(korvat_bench_input_packet ${CMAKE_SOURCE_DIR}/Tests/Bench/BenchInputPacket.cpp ${CMAKE_SOURCE_DIR}/Tests/Bench/AllocationCounter.cpp)
  target_include_directories(korvat_bench_input_packet PRIVATE ${KORVAT_LIBLO_INCLUDE_DIR})
  target_link_libraries(korvat_bench_input_packet PRIVATE korvat_input_packet ${KORVAT_LIBLO_LIBRARY} benchmark::benchmark)
  korvat_warnings(korvat_bench_input_packet)
  # Replaced operator new/delete over malloc/free, as in korvat_bench_link.
  target_compile_options(korvat_bench_input_packet PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-mismatched-new-delete>)
else()
  message(STATUS "liblo not found (Debian: liblo-dev): korvat_bench_input_packet is not built")
endif()

# Publishing values for the host through the runtime module against an snprintf encoder, in the stand-in engine.
if(TARGET korvat_sandbox)
  add_executable(korvat_bench_values ${CMAKE_SOURCE_DIR}/Tests/Bench/BenchValues.cpp ${CMAKE_SOURCE_DIR}/Tests/Bench/AllocationCounter.cpp)
  target_link_libraries(korvat_bench_values PRIVATE korvat_sandbox korvat_host_sim benchmark::benchmark)
  korvat_warnings(korvat_bench_values)
  # Engine headers name parameters they do not use; replaced operator new/delete as in korvat_bench_link.
  target_compile_options(korvat_bench_values PRIVATE -Wno-unused-parameter
    $<$<CXX_COMPILER_ID:GNU>:-Wno-mismatched-new-delete>)
endif()

# The value-id hash against zlib's crc32 (Debian's zlib1g-dev) on names of 8 to 64 bytes. Left out, with a
# note, when zlib is not installed.
find_package(ZLIB)
if(ZLIB_FOUND)
  add_executable(korvat_bench_value_id ${CMAKE_SOURCE_DIR}/Tests/Bench/BenchValueId.cpp)
  target_include_directories(korvat_bench_value_id PRIVATE ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private)
  target_link_libraries(korvat_bench_value_id PRIVATE korvat_value_id ZLIB::ZLIB benchmark::benchmark)
  korvat_warnings(korvat_bench_value_id)
else()
  message(STATUS "zlib not found (Debian: zlib1g-dev): korvat_bench_value_id is not built")
endif()
