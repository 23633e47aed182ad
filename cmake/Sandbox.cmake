# Programs that run the plug-in's code outside the engine, for the demo and end-to-end runs.
add_executable(korvat-link-demo ${CMAKE_SOURCE_DIR}/Sandbox/LinkDemo/LinkDemo.cpp)
target_link_libraries(korvat-link-demo PRIVATE korvat_link korvat_host_sim)
korvat_warnings(korvat-link-demo)

# The plug-in's runtime module inside the stand-in engine: a library for the sandbox program and the tests.
if(TARGET KorvatPlugin)
  add_library(korvat_sandbox STATIC ${CMAKE_SOURCE_DIR}/Sandbox/Engine/SandboxEngine.cpp)
  target_include_directories(korvat_sandbox PUBLIC ${CMAKE_SOURCE_DIR}/Sandbox/Engine
    ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private ${KORVAT_LINK_DIR})
  target_link_libraries(korvat_sandbox PUBLIC UnrealStandInTesting KorvatPlugin korvat_link)
  target_compile_definitions(korvat_sandbox PRIVATE KORVAT_SANDBOX_MODULE_PATH="$<TARGET_FILE:KorvatPlugin>")
  korvat_warnings(korvat_sandbox)
  target_compile_options(korvat_sandbox PRIVATE -Wno-unused-parameter)
endif()
