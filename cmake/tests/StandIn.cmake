# --- Core (strings, containers, math, engine services) --------------------------------------------
if(TARGET UnrealStandIn)
  # A module in its own shared library, for loading by name through the module manager.
  add_library(korvat_standin_core_test_module SHARED ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/CoreTestModule.cpp)
  target_link_libraries(korvat_standin_core_test_module PRIVATE UnrealStandInTesting)
  set_target_properties(korvat_standin_core_test_module PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  korvat_warnings(korvat_standin_core_test_module)
  if(MINGW)
    target_link_options(korvat_standin_core_test_module PRIVATE -static)
  endif()
  korvat_add_gtest(korvat_standin_core_tests
    SOURCES ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/CoreStringTests.cpp
            ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/CoreContainerTests.cpp
            ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/CoreMathTests.cpp
            ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/CoreServicesTests.cpp
            ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/CoreConsoleAndFilesTests.cpp
    LIBRARIES UnrealStandInTesting GTest::gtest_main)
  add_dependencies(korvat_standin_core_tests korvat_standin_core_test_module)
  target_compile_definitions(korvat_standin_core_tests PRIVATE
    CORE_TEST_MODULE_PATH="$<TARGET_FILE:korvat_standin_core_test_module>")
endif()
# --- End of Core ------------------------------------------------------------------------------------

# --- Reflection (UObject core and header tool) ---------------------------------------------------
if(TARGET UnrealStandIn)
  korvat_add_gtest(korvat_standin_reflection_tests
    SOURCES ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/ReflectionTests.cpp
            ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/ReflectionFixture.cpp
    LIBRARIES UnrealStandInTesting GTest::gtest_main)
  target_include_directories(korvat_standin_reflection_tests PRIVATE ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/HeaderTool/Public)
  target_compile_definitions(korvat_standin_reflection_tests PRIVATE FIXTUREMODULE_API=)
  korvat_reflect_headers(TARGET korvat_standin_reflection_tests MODULE FixtureModule API_MACRO FIXTUREMODULE_API
    MODULE_ROOT ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/HeaderTool
    HEADERS ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/HeaderTool/Public/ReflectionFixture.h)
endif()
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME standin_header_tool_parser
    COMMAND ${Python3_EXECUTABLE} -m unittest discover -s ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/HeaderTool -p "test_*.py")
endif()

# --- Engine classes and the TextureShare stand-in --------------------------------------------------
if(TARGET UnrealStandIn)
  file(GLOB KORVAT_STANDIN_ENGINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/Engine*.cpp)
  korvat_add_gtest(korvat_standin_engine_tests
    SOURCES ${KORVAT_STANDIN_ENGINE_TEST_SOURCES}
            ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EngineFixture/EngineFixtureClasses.cpp
    LIBRARIES UnrealStandInTesting UnrealStandInTextureSharePrivate GTest::gtest_main)
  target_include_directories(korvat_standin_engine_tests PRIVATE ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EngineFixture)
  target_compile_definitions(korvat_standin_engine_tests PRIVATE ENGINEFIXTURE_API=)
  korvat_reflect_headers(TARGET korvat_standin_engine_tests MODULE EngineFixture API_MACRO ENGINEFIXTURE_API
    MODULE_ROOT ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EngineFixture
    HEADERS ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EngineFixture/EngineFixtureClasses.h)
endif()

# --- Editor: Blueprint graphs, compiler expansion, details panel and Slate widgets --------------------
if(TARGET UnrealStandIn)
  file(GLOB KORVAT_STANDIN_EDITOR_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/Editor*Tests.cpp)
  korvat_add_gtest(korvat_standin_editor_tests
    SOURCES ${KORVAT_STANDIN_EDITOR_TEST_SOURCES}
            ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EditorFixture/EditorFixtureClasses.cpp
    LIBRARIES UnrealStandInTesting GTest::gtest_main)
  target_include_directories(korvat_standin_editor_tests PRIVATE ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EditorFixture)
  target_compile_definitions(korvat_standin_editor_tests PRIVATE EDITORFIXTURE_API=)
  korvat_reflect_headers(TARGET korvat_standin_editor_tests MODULE EditorFixture API_MACRO EDITORFIXTURE_API
    MODULE_ROOT ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EditorFixture
    HEADERS ${CMAKE_SOURCE_DIR}/Tests/Unit/StandIn/EditorFixture/EditorFixtureClasses.h)
endif()
