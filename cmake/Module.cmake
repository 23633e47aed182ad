# The plug-in's runtime module, built as the engine builds it: a shared library loaded by the module
# manager under the name "KorvatPlugin", exporting only what carries KORVATPLUGIN_API.
if(NOT TARGET UnrealStandIn)
  return()
endif()

set(KORVAT_MODULE_DIR ${CMAKE_SOURCE_DIR}/Source/KorvatPlugin)
# Every source of the module but the link's, which korvat_link builds (and shares with the host and tests).
file(GLOB_RECURSE KORVAT_MODULE_SOURCES CONFIGURE_DEPENDS ${KORVAT_MODULE_DIR}/Private/*.cpp)
list(FILTER KORVAT_MODULE_SOURCES EXCLUDE REGEX "/Private/Link/")
add_library(KorvatPlugin SHARED ${KORVAT_MODULE_SOURCES})
target_include_directories(KorvatPlugin
  PUBLIC ${KORVAT_MODULE_DIR}/Public
  PRIVATE ${KORVAT_MODULE_DIR}/Private ${KORVAT_LINK_DIR})
target_link_libraries(KorvatPlugin PUBLIC UnrealStandIn PRIVATE korvat_link UnrealStandInTextureSharePrivate)
target_compile_definitions(KorvatPlugin PRIVATE KORVATPLUGIN_API=DLLEXPORT INTERFACE KORVATPLUGIN_API=DLLIMPORT)
set_target_properties(KorvatPlugin PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON PREFIX "")
korvat_warnings(KorvatPlugin)
# Engine code names the parameters it does not use, as the engine's own interfaces do.
target_compile_options(KorvatPlugin PRIVATE -Wno-unused-parameter)
if(MINGW)
  target_link_options(KorvatPlugin PRIVATE -static)
endif()

# Reflection for the headers that declare engine types.
korvat_module_reflected_headers(KORVAT_MODULE_REFLECTED ${KORVAT_MODULE_DIR})
korvat_reflect_headers(TARGET KorvatPlugin MODULE KorvatPlugin API_MACRO KORVATPLUGIN_API
  MODULE_ROOT ${KORVAT_MODULE_DIR} HEADERS ${KORVAT_MODULE_REFLECTED})

# The editor module, loaded after the runtime module in editor builds.
set(KORVAT_EDITOR_MODULE_DIR ${CMAKE_SOURCE_DIR}/Source/KorvatEditorPlugin)
file(GLOB_RECURSE KORVAT_EDITOR_MODULE_SOURCES CONFIGURE_DEPENDS ${KORVAT_EDITOR_MODULE_DIR}/Private/*.cpp)
add_library(KorvatEditorPlugin SHARED ${KORVAT_EDITOR_MODULE_SOURCES})
# As its Build.cs says: the runtime module's module object and link header are reached through its folders.
target_include_directories(KorvatEditorPlugin
  PUBLIC ${KORVAT_EDITOR_MODULE_DIR}/Public
  PRIVATE ${KORVAT_EDITOR_MODULE_DIR}/Private ${KORVAT_MODULE_DIR}/Private ${KORVAT_LINK_DIR})
target_link_libraries(KorvatEditorPlugin PUBLIC KorvatPlugin UnrealStandIn)
target_compile_definitions(KorvatEditorPlugin PRIVATE KORVATEDITORPLUGIN_API=DLLEXPORT INTERFACE KORVATEDITORPLUGIN_API=DLLIMPORT)
set_target_properties(KorvatEditorPlugin PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON PREFIX "")
korvat_warnings(KorvatEditorPlugin)
target_compile_options(KorvatEditorPlugin PRIVATE -Wno-unused-parameter)
if(MINGW)
  target_link_options(KorvatEditorPlugin PRIVATE -static)
endif()

korvat_module_reflected_headers(KORVAT_EDITOR_MODULE_REFLECTED ${KORVAT_EDITOR_MODULE_DIR})
korvat_reflect_headers(TARGET KorvatEditorPlugin MODULE KorvatEditorPlugin API_MACRO KORVATEDITORPLUGIN_API
  MODULE_ROOT ${KORVAT_EDITOR_MODULE_DIR} HEADERS ${KORVAT_EDITOR_MODULE_REFLECTED})
