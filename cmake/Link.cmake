# The host link and its platform layer: plain C++ shared by the runtime module, the host simulator and tests.
set(KORVAT_LINK_DIR ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private/Link)

if(WIN32)
  set(KORVAT_PLATFORM_BACKEND Win32)
else()
  set(KORVAT_PLATFORM_BACKEND Posix)
endif()

# Handles.cpp is shared by both backends; the rest is chosen by backend.
file(GLOB KORVAT_PLATFORM_SOURCES CONFIGURE_DEPENDS ${KORVAT_LINK_DIR}/Platform/*_${KORVAT_PLATFORM_BACKEND}.cpp)
list(APPEND KORVAT_PLATFORM_SOURCES ${KORVAT_LINK_DIR}/Platform/Handles.cpp)
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
