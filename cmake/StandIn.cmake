# The stand-in for the parts of Unreal Engine 5.5 that the plug-in calls: one shared library, so engine
# globals exist once for every module loaded into a process, as in the engine.
file(GLOB_RECURSE KORVAT_STANDIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/StandIn/Source/*.cpp)
if(NOT KORVAT_STANDIN_SOURCES)
  return()
endif()
add_library(UnrealStandIn SHARED ${KORVAT_STANDIN_SOURCES})
# Engine headers are third-party code to the plug-in: included as system headers, as the engine's would be.
target_include_directories(UnrealStandIn SYSTEM PUBLIC ${CMAKE_SOURCE_DIR}/StandIn/Include)
target_compile_definitions(UnrealStandIn PRIVATE STANDIN_BUILDING_ENGINE=1)
# The library implements its own test controls, and opens module libraries by name (dlopen).
target_include_directories(UnrealStandIn PRIVATE ${CMAKE_SOURCE_DIR}/StandIn/Testing)
target_link_libraries(UnrealStandIn PRIVATE ${CMAKE_DL_LIBS})
if(MINGW)
  # Carry the C++ runtime inside the DLL, as the test programs do (-static), so it runs under Wine
  # without libstdc++-6.dll, libgcc_s_seh-1.dll and libwinpthread-1.dll beside it.
  target_link_options(UnrealStandIn PRIVATE -static)
endif()
set_target_properties(UnrealStandIn PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
korvat_warnings(UnrealStandIn)
include(${CMAKE_SOURCE_DIR}/cmake/HeaderTool.cmake OPTIONAL)

# Headers of the TextureShare plug-in's modules that the engine keeps in their Private folders. A module
# outside the plug-in reaches them only by adding those folders to its include paths, as the runtime
# module's rules do.
add_library(UnrealStandInTextureSharePrivate INTERFACE)
target_include_directories(UnrealStandInTextureSharePrivate SYSTEM INTERFACE
  ${CMAKE_SOURCE_DIR}/StandIn/Private/TextureShare ${CMAKE_SOURCE_DIR}/StandIn/Private/TextureShareCore)
target_link_libraries(UnrealStandIn PRIVATE UnrealStandInTextureSharePrivate)

# Test controls of the stand-in, for tests and the sandbox only: plug-in code never sees them.
add_library(UnrealStandInTesting INTERFACE)
target_include_directories(UnrealStandInTesting SYSTEM INTERFACE ${CMAKE_SOURCE_DIR}/StandIn/Testing)
target_link_libraries(UnrealStandInTesting INTERFACE UnrealStandIn)
