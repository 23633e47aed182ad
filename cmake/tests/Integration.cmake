# Multi-process tests of the link: the real HostLink in this process and in child link processes (the test
# program started again with --child-link) against the korvat-host tool and the in-process host simulator.
file(GLOB KORVAT_INTEGRATION_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Integration/*.cpp)
korvat_add_gtest(korvat_integration_tests
  SOURCES ${KORVAT_INTEGRATION_TEST_SOURCES}
  LIBRARIES korvat_host_sim korvat_link korvat_test_support)
target_compile_definitions(korvat_integration_tests PRIVATE KORVAT_HOST_TOOL_PATH="$<TARGET_FILE:korvat-host>")
add_dependencies(korvat_integration_tests korvat-host)
