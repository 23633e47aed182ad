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
