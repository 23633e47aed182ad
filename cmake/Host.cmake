# The host side: the simulator library (a test double that plays the host) and the korvat-host tool.
file(GLOB KORVAT_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Host/Simulator/*.cpp)
add_library(korvat_host_sim STATIC ${KORVAT_HOST_SOURCES})
target_include_directories(korvat_host_sim PUBLIC ${CMAKE_SOURCE_DIR}/Host/Simulator)
target_link_libraries(korvat_host_sim PUBLIC korvat_link)
korvat_warnings(korvat_host_sim)

file(GLOB KORVAT_HOST_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Host/Tool/*.cpp)
add_executable(korvat-host ${KORVAT_HOST_TOOL_SOURCES})
target_link_libraries(korvat-host PRIVATE korvat_host_sim)
korvat_warnings(korvat-host)
