# The host side's unit tests (simulator, script parser, message descriptions).
file(GLOB KORVAT_HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Unit/Host/*.cpp)
korvat_add_gtest(korvat_host_tests
  SOURCES ${KORVAT_HOST_TEST_SOURCES}
  LIBRARIES korvat_host_sim korvat_test_support GTest::gtest_main)
