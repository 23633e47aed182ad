# libFuzzer targets (clang). Each corpus lives under Tests/Fuzz/corpus/<target>/ and is replayed by the
# ordinary test run through a plain driver (cmake/tests/Link.cmake).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KORVAT_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang)")
endif()

set(KORVAT_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

# The link again with coverage and sanitizers, so the fuzzer sees inside it.
file(GLOB KORVAT_FUZZ_LINK_SOURCES CONFIGURE_DEPENDS ${KORVAT_LINK_DIR}/*.cpp ${KORVAT_LINK_DIR}/Platform/*.cpp)
add_library(korvat_link_fuzzing STATIC ${KORVAT_FUZZ_LINK_SOURCES})
target_include_directories(korvat_link_fuzzing PUBLIC ${KORVAT_LINK_DIR})
target_compile_options(korvat_link_fuzzing PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
find_package(Threads REQUIRED)
target_link_libraries(korvat_link_fuzzing PUBLIC Threads::Threads)
korvat_warnings(korvat_link_fuzzing)

add_executable(korvat_fuzz_inbound_dispatch ${CMAKE_SOURCE_DIR}/Tests/Fuzz/FuzzInboundDispatch.cpp)
target_compile_options(korvat_fuzz_inbound_dispatch PRIVATE ${KORVAT_FUZZ_FLAGS})
target_link_options(korvat_fuzz_inbound_dispatch PRIVATE ${KORVAT_FUZZ_FLAGS})
target_link_libraries(korvat_fuzz_inbound_dispatch PRIVATE korvat_link_fuzzing)
korvat_warnings(korvat_fuzz_inbound_dispatch)

# The input packet parser with coverage and sanitizers (it is not in the link library).
add_library(korvat_input_packet_fuzzing STATIC ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private/Input/KorvatInputPacket.cpp)
target_include_directories(korvat_input_packet_fuzzing PUBLIC ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private)
target_compile_options(korvat_input_packet_fuzzing PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
korvat_warnings(korvat_input_packet_fuzzing)

add_executable(korvat_fuzz_input_packet ${CMAKE_SOURCE_DIR}/Tests/Fuzz/FuzzInputPacket.cpp)
target_compile_options(korvat_fuzz_input_packet PRIVATE ${KORVAT_FUZZ_FLAGS})
target_link_options(korvat_fuzz_input_packet PRIVATE ${KORVAT_FUZZ_FLAGS})
target_link_libraries(korvat_fuzz_input_packet PRIVATE korvat_input_packet_fuzzing)
korvat_warnings(korvat_fuzz_input_packet)

# Every fuzz target, for scripts that build them all.
add_custom_target(korvat_fuzz_all DEPENDS korvat_fuzz_inbound_dispatch korvat_fuzz_input_packet)
