# Programs that run the plug-in's code outside Unreal, for the main job and the end-to-end tests.
# The plug-in's runtime module inside the stand-in engine: a library for the sandbox program and the tests.
if(TARGET KorvatPlugin)
  add_library(korvat_sandbox STATIC ${CMAKE_SOURCE_DIR}/Sandbox/Engine/SandboxEngine.cpp)
  target_include_directories(korvat_sandbox PUBLIC ${CMAKE_SOURCE_DIR}/Sandbox/Engine
    ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private ${KORVAT_LINK_DIR})
  target_link_libraries(korvat_sandbox PUBLIC UnrealStandInTesting KorvatPlugin korvat_link)
  target_compile_definitions(korvat_sandbox PRIVATE KORVAT_SANDBOX_MODULE_PATH="$<TARGET_FILE:KorvatPlugin>"
    KORVAT_SANDBOX_EDITOR_MODULE_PATH="$<TARGET_FILE:KorvatEditorPlugin>")
  add_dependencies(korvat_sandbox KorvatEditorPlugin)
  korvat_warnings(korvat_sandbox)
  target_compile_options(korvat_sandbox PRIVATE -Wno-unused-parameter)

  # The main job: the module in the engine beside a korvat-host process.
  add_executable(korvat-sandbox ${CMAKE_SOURCE_DIR}/Sandbox/Main/KorvatSandbox.cpp
    ${CMAKE_SOURCE_DIR}/Sandbox/Main/KorvatDemoBlueprint.cpp ${CMAKE_SOURCE_DIR}/Sandbox/Main/KorvatNodesAct.cpp)
  # The editor act builds graphs from the editor module's node classes.
  target_link_libraries(korvat-sandbox PRIVATE korvat_sandbox korvat_test_support KorvatEditorPlugin)
  # The demo's Blueprint is a reflected object, as a project's Blueprint class is.
  target_include_directories(korvat-sandbox PRIVATE ${CMAKE_SOURCE_DIR}/Sandbox/Main)
  target_compile_definitions(korvat-sandbox PRIVATE KORVATSANDBOX_API=)
  korvat_reflect_headers(TARGET korvat-sandbox MODULE KorvatSandbox API_MACRO KORVATSANDBOX_API
    MODULE_ROOT ${CMAKE_SOURCE_DIR}/Sandbox/Main HEADERS ${CMAKE_SOURCE_DIR}/Sandbox/Main/KorvatDemoBlueprint.h)
  add_dependencies(korvat-sandbox korvat-host KorvatPlugin)
  target_compile_definitions(korvat-sandbox PRIVATE KORVAT_HOST_TOOL_PATH="$<TARGET_FILE:korvat-host>")
  korvat_warnings(korvat-sandbox)
  target_compile_options(korvat-sandbox PRIVATE -Wno-unused-parameter)
endif()
