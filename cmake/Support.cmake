# Child processes, private named-object namespaces and a watchdog: shared by the multi-process tests and
# the sandbox, which runs korvat-host beside the engine.
if(WIN32)
  set(KORVAT_TEST_SUPPORT_BACKEND Win32)
else()
  set(KORVAT_TEST_SUPPORT_BACKEND Posix)
endif()
add_library(korvat_test_support STATIC
  ${CMAKE_SOURCE_DIR}/Tests/Support/ChildProcess.cpp
  ${CMAKE_SOURCE_DIR}/Tests/Support/ChildProcess_${KORVAT_TEST_SUPPORT_BACKEND}.cpp
  ${CMAKE_SOURCE_DIR}/Tests/Support/PrivateIpcRoot.cpp
  ${CMAKE_SOURCE_DIR}/Tests/Support/Watchdog.cpp)
target_include_directories(korvat_test_support PUBLIC ${CMAKE_SOURCE_DIR}/Tests/Support)
korvat_warnings(korvat_test_support)
if(NOT WIN32)
  find_package(Threads REQUIRED)
  target_link_libraries(korvat_test_support PUBLIC Threads::Threads)
endif()
