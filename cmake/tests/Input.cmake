# The input packet parser: plain C++ under Source/KorvatPlugin/Private/Input, built on its own here (the
# module target takes only the files directly in Private/). Its unit tests and the replay of its fuzz corpus.
set(KORVAT_INPUT_DIR ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private/Input)
add_library(korvat_input_packet STATIC ${KORVAT_INPUT_DIR}/KorvatInputPacket.cpp)
target_include_directories(korvat_input_packet PUBLIC ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private)
korvat_warnings(korvat_input_packet)

file(GLOB KORVAT_INPUT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Unit/Input/*.cpp)
korvat_add_gtest(korvat_input_tests
  SOURCES ${KORVAT_INPUT_TEST_SOURCES}
  LIBRARIES korvat_input_packet)

# Replays every file of the fuzz corpus through the same entry point the fuzzer uses.
add_executable(korvat_fuzz_replay_input_packet
  ${CMAKE_SOURCE_DIR}/Tests/Fuzz/FuzzInputPacket.cpp
  ${CMAKE_SOURCE_DIR}/Tests/Fuzz/ReplayMain.cpp)
target_link_libraries(korvat_fuzz_replay_input_packet PRIVATE korvat_input_packet)
korvat_warnings(korvat_fuzz_replay_input_packet)
set(KORVAT_INPUT_CORPUS ${CMAKE_SOURCE_DIR}/Tests/Fuzz/corpus/input_packet)
if(WIN32)
  # Under Wine the Unix root is drive Z:.
  set(KORVAT_INPUT_CORPUS "Z:${KORVAT_INPUT_CORPUS}")
endif()
add_test(NAME Input.FuzzReplay.InputPacket COMMAND korvat_fuzz_replay_input_packet ${KORVAT_INPUT_CORPUS})
set_tests_properties(Input.FuzzReplay.InputPacket PROPERTIES TIMEOUT 120)
