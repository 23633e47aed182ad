# GoogleTest: Debian's prebuilt libraries natively; built from Debian's sources for cross builds.
if(CMAKE_CROSSCOMPILING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Adds a GoogleTest program whose tests ctest runs one by one (discovered at test time, so a cross
# build never runs Wine while building).
function(korvat_add_gtest Target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${Target} ${ARG_SOURCES})
  target_link_libraries(${Target} PRIVATE ${ARG_LIBRARIES} GTest::gtest)
  korvat_warnings(${Target})
  gtest_discover_tests(${Target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 120)
endfunction()
