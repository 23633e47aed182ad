# Programs that run the plug-in's code outside the engine, for the demo and end-to-end runs.
add_executable(korvat-link-demo ${CMAKE_SOURCE_DIR}/Sandbox/LinkDemo/LinkDemo.cpp)
target_link_libraries(korvat-link-demo PRIVATE korvat_link korvat_host_sim)
korvat_warnings(korvat-link-demo)
