# The host side: the simulator library (a test double that plays the host) and the korvat-host tool.

# The value-id hash, shared with the runtime module (plain C++): the host names ids with it.
if(NOT TARGET korvat_value_id)
  add_library(korvat_value_id STATIC ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private/KorvatValueId.cpp)
  korvat_warnings(korvat_value_id)
endif()

file(GLOB KORVAT_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Host/Simulator/*.cpp)
add_library(korvat_host_sim STATIC ${KORVAT_HOST_SOURCES})
target_include_directories(korvat_host_sim PUBLIC ${CMAKE_SOURCE_DIR}/Host/Simulator)
# Only the hash's header is wanted from the module's private folder; consumers of the library do not see it.
target_include_directories(korvat_host_sim PRIVATE ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private)
target_link_libraries(korvat_host_sim PUBLIC korvat_link PRIVATE korvat_value_id)
korvat_warnings(korvat_host_sim)

file(GLOB KORVAT_HOST_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Host/Tool/*.cpp)
add_executable(korvat-host ${KORVAT_HOST_TOOL_SOURCES})
target_link_libraries(korvat-host PRIVATE korvat_host_sim)
korvat_warnings(korvat-host)
