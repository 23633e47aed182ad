# The stand-in's reflection header tool: generates <Header>.generated.h files and the registration
# source of a module from its headers, at build time.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KORVAT_HEADER_TOOL ${CMAKE_SOURCE_DIR}/StandIn/HeaderTool/korvat_header_tool.py)

# korvat_module_reflected_headers(<out var> <module dir>)
# The headers of a module's Public and Private folders that include their .generated.h, as the engine's
# header tool finds them.
function(korvat_module_reflected_headers OutVar ModuleDir)
  file(GLOB Headers CONFIGURE_DEPENDS ${ModuleDir}/Public/*.h ${ModuleDir}/Private/*.h)
  set(Reflected)
  foreach(Header IN LISTS Headers)
    file(STRINGS ${Header} GeneratedInclude REGEX "^#include \".*\\.generated\\.h\"")
    if(GeneratedInclude)
      list(APPEND Reflected ${Header})
    endif()
  endforeach()
  set(${OutVar} ${Reflected} PARENT_SCOPE)
endfunction()

# korvat_reflect_headers(TARGET <target> MODULE <Module> API_MACRO <MODULE_API>
#                        HEADERS <absolute header paths...> [MODULE_ROOT <dir>] [PACKAGE </Script/Name>])
# Runs the tool when a header or the tool changes; the *.generated.h files land in a per-target
# directory added to the target's public include path, and <Module>.init.gen.cpp (the registration
# code) is compiled into the target.
function(korvat_reflect_headers)
  cmake_parse_arguments(ARG "" "TARGET;MODULE;API_MACRO;MODULE_ROOT;PACKAGE" "HEADERS" ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_MODULE OR NOT ARG_API_MACRO OR NOT ARG_HEADERS)
    message(FATAL_ERROR "korvat_reflect_headers needs TARGET, MODULE, API_MACRO and HEADERS")
  endif()
  set(GenDir ${CMAKE_BINARY_DIR}/Reflect/${ARG_TARGET})
  # A target may hold several modules (the stand-in engine does): each after the first gets its own directory.
  get_target_property(ReflectedModules ${ARG_TARGET} KORVAT_REFLECTED_MODULES)
  if(ReflectedModules)
    set(GenDir ${CMAKE_BINARY_DIR}/Reflect/${ARG_TARGET}/${ARG_MODULE})
  endif()
  set_property(TARGET ${ARG_TARGET} APPEND PROPERTY KORVAT_REFLECTED_MODULES ${ARG_MODULE})
  set(IncDir ${GenDir}/Inc)
  set(InitFile ${GenDir}/${ARG_MODULE}.init.gen.cpp)
  set(Outputs ${InitFile})
  foreach(Header IN LISTS ARG_HEADERS)
    get_filename_component(Base ${Header} NAME_WE)
    list(APPEND Outputs ${IncDir}/${Base}.generated.h)
  endforeach()
  set(ListFile ${GenDir}/headers.txt)
  string(REPLACE ";" "\n" HeaderLines "${ARG_HEADERS}")
  file(GENERATE OUTPUT ${ListFile} CONTENT "${HeaderLines}\n")
  set(Extra)
  if(ARG_MODULE_ROOT)
    list(APPEND Extra --module-root ${ARG_MODULE_ROOT})
  endif()
  if(ARG_PACKAGE)
    list(APPEND Extra --package ${ARG_PACKAGE})
  endif()
  add_custom_command(
    OUTPUT ${Outputs}
    COMMAND ${Python3_EXECUTABLE} ${KORVAT_HEADER_TOOL}
            --module ${ARG_MODULE} --api-macro ${ARG_API_MACRO}
            --output-dir ${IncDir} --init-file ${InitFile} ${Extra}
            --headers-file ${ListFile}
    DEPENDS ${ARG_HEADERS} ${KORVAT_HEADER_TOOL} ${ListFile}
    COMMENT "Reflecting ${ARG_MODULE} headers"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE ${Outputs})
  target_include_directories(${ARG_TARGET} PUBLIC $<BUILD_INTERFACE:${IncDir}>)
endfunction()

# The stand-in engine's own reflected classes: every header under StandIn/Include that includes
# its .generated.h. Headers of the BlueprintGraph module (their classes carry BLUEPRINTGRAPH_API) are
# reflected as that module, so their types live in /Script/BlueprintGraph as the engine's do; the
# others are reflected as Engine.
if(TARGET UnrealStandIn)
  file(GLOB_RECURSE KorvatStandInHeaders CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/StandIn/Include/*.h)
  set(KorvatStandInReflected)
  set(KorvatStandInBlueprintGraphReflected)
  foreach(Header IN LISTS KorvatStandInHeaders)
    file(STRINGS ${Header} GeneratedInclude REGEX "^#include \".*\\.generated\\.h\"")
    if(GeneratedInclude)
      file(STRINGS ${Header} BlueprintGraphClass REGEX "^class BLUEPRINTGRAPH_API ")
      if(BlueprintGraphClass)
        list(APPEND KorvatStandInBlueprintGraphReflected ${Header})
      else()
        list(APPEND KorvatStandInReflected ${Header})
      endif()
    endif()
  endforeach()
  if(KorvatStandInReflected)
    korvat_reflect_headers(TARGET UnrealStandIn MODULE Engine API_MACRO ENGINE_API
                           MODULE_ROOT ${CMAKE_SOURCE_DIR}/StandIn/Include HEADERS ${KorvatStandInReflected})
  endif()
  if(KorvatStandInBlueprintGraphReflected)
    korvat_reflect_headers(TARGET UnrealStandIn MODULE BlueprintGraph API_MACRO BLUEPRINTGRAPH_API
                           MODULE_ROOT ${CMAKE_SOURCE_DIR}/StandIn/Include HEADERS ${KorvatStandInBlueprintGraphReflected})
  endif()
endif()
