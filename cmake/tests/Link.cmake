# The link's unit tests (dispatch, store, parameter form; the session and outbound bytes against the
# in-process host simulator) and the replay of the inbound-dispatch fuzz corpus.
file(GLOB KORVAT_LINK_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Unit/Link/*.cpp)
korvat_add_gtest(korvat_link_tests
  SOURCES ${KORVAT_LINK_TEST_SOURCES}
  LIBRARIES korvat_host_sim korvat_link)

# Replays every file of the fuzz corpus through the same entry point the fuzzer uses.
add_executable(korvat_fuzz_replay_inbound_dispatch
  ${CMAKE_SOURCE_DIR}/Tests/Fuzz/FuzzInboundDispatch.cpp
  ${CMAKE_SOURCE_DIR}/Tests/Fuzz/ReplayMain.cpp)
target_link_libraries(korvat_fuzz_replay_inbound_dispatch PRIVATE korvat_link)
korvat_warnings(korvat_fuzz_replay_inbound_dispatch)
set(KORVAT_INBOUND_CORPUS ${CMAKE_SOURCE_DIR}/Tests/Fuzz/corpus/inbound_dispatch)
if(WIN32)
  # Under Wine the Unix root is drive Z:.
  set(KORVAT_INBOUND_CORPUS "Z:${KORVAT_INBOUND_CORPUS}")
endif()
add_test(NAME Link.FuzzReplay.InboundDispatch COMMAND korvat_fuzz_replay_inbound_dispatch ${KORVAT_INBOUND_CORPUS})
set_tests_properties(Link.FuzzReplay.InboundDispatch PROPERTIES TIMEOUT 120)
