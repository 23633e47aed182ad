# The platform layer's tests: one program, written against the platform interface, run natively for
# the POSIX backend and under Wine for the Win32 backend.
file(GLOB KORVAT_PLATFORM_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Unit/Platform/*.cpp)
if(WIN32)
  list(FILTER KORVAT_PLATFORM_TEST_SOURCES EXCLUDE REGEX "_Posix\\.cpp$")
else()
  list(FILTER KORVAT_PLATFORM_TEST_SOURCES EXCLUDE REGEX "_Win32\\.cpp$")
endif()
korvat_add_gtest(korvat_platform_tests SOURCES ${KORVAT_PLATFORM_TEST_SOURCES} LIBRARIES korvat_platform)
