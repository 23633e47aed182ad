# The host link and its platform layer: plain C++ shared by the runtime module, the host simulator and tests.
set(KORVAT_LINK_DIR ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private/Link)

# Every backend source is compiled everywhere, as the engine's build does; each compiles to nothing on
# the platforms it is not for.
file(GLOB KORVAT_PLATFORM_SOURCES CONFIGURE_DEPENDS ${KORVAT_LINK_DIR}/Platform/*.cpp)
add_library(korvat_platform STATIC ${KORVAT_PLATFORM_SOURCES})
target_include_directories(korvat_platform PUBLIC ${KORVAT_LINK_DIR})
korvat_warnings(korvat_platform)
if(WIN32)
  target_link_libraries(korvat_platform PUBLIC ole32 user32)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(korvat_platform PUBLIC Threads::Threads)
endif()

file(GLOB KORVAT_LINK_SOURCES CONFIGURE_DEPENDS ${KORVAT_LINK_DIR}/*.cpp)
add_library(korvat_link STATIC ${KORVAT_LINK_SOURCES})
target_link_libraries(korvat_link PUBLIC korvat_platform)
korvat_warnings(korvat_link)
