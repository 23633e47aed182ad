// Accessors for the reflection data of native types; the generated code specialises them.
#pragma once

class UClass;
class UEnum;
class UScriptStruct;

template<typename ClassType>
UClass* StaticClass();

template<typename EnumType>
UEnum* StaticEnum();

template<typename StructType>
UScriptStruct* StaticStruct();
