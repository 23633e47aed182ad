# The runtime module's tests: its plain helpers compiled straight into a unit-test program, and the module
# library loaded into the stand-in engine by the sandbox, against the in-process host simulator and child
# processes of the test program.
if(NOT TARGET UnrealStandIn)
  return()
endif()

set(KORVAT_MODULE_PRIVATE_DIR ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin/Private)

file(GLOB KORVAT_MODULE_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Unit/Module/*.cpp)
korvat_add_gtest(korvat_module_unit_tests
  SOURCES ${KORVAT_MODULE_UNIT_TEST_SOURCES}
          ${KORVAT_MODULE_PRIVATE_DIR}/KorvatValueId.cpp
          ${KORVAT_MODULE_PRIVATE_DIR}/KorvatLaunchId.cpp
  LIBRARIES UnrealStandInTesting korvat_link GTest::gtest_main)
target_include_directories(korvat_module_unit_tests PRIVATE ${KORVAT_MODULE_PRIVATE_DIR} ${KORVAT_LINK_DIR})
# Engine code names the parameters it does not use, as the engine's own interfaces do.
target_compile_options(korvat_module_unit_tests PRIVATE -Wno-unused-parameter)

if(TARGET korvat_sandbox)
  file(GLOB KORVAT_MODULE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Tests/Integration/Module/*.cpp)
  korvat_add_gtest(korvat_module_tests
    SOURCES ${KORVAT_MODULE_TEST_SOURCES}
    LIBRARIES korvat_sandbox korvat_host_sim korvat_test_support UnrealStandInTextureSharePrivate KorvatEditorPlugin)
  target_compile_options(korvat_module_tests PRIVATE -Wno-unused-parameter)
  # A reflected receiver that the module's dynamic delegates are bound to, as a Blueprint's custom event is.
  set(KORVAT_MODULE_FIXTURE_DIR ${CMAKE_SOURCE_DIR}/Tests/Integration/Module/ModuleFixture)
  target_sources(korvat_module_tests PRIVATE ${KORVAT_MODULE_FIXTURE_DIR}/KorvatTestReceiver.cpp
    # The plain value-id hash, to compute the ids the tests expect independently of the module's name hashing.
    ${KORVAT_MODULE_PRIVATE_DIR}/KorvatValueId.cpp)
  target_include_directories(korvat_module_tests PRIVATE ${KORVAT_MODULE_FIXTURE_DIR})
  target_compile_definitions(korvat_module_tests PRIVATE KORVATTESTFIXTURE_API=)
  korvat_reflect_headers(TARGET korvat_module_tests MODULE KorvatTestFixture API_MACRO KORVATTESTFIXTURE_API
    MODULE_ROOT ${KORVAT_MODULE_FIXTURE_DIR}
    HEADERS ${KORVAT_MODULE_FIXTURE_DIR}/KorvatTestReceiver.h)
endif()
