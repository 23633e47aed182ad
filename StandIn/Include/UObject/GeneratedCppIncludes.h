// Everything the header tool's registration code needs.
#pragma once

#include <cstddef>
#include <new>

#include "UObject/Class.h"
#include "UObject/Interface.h"
#include "UObject/Package.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/Stack.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"

#include <type_traits>

namespace UECodeGen_Private
{
	/** The kind of a property whose type another module declares: the engine's header tool knows every
	 *  module's types; this one asks the compiler, and an enumeration must then be a reflected one. */
	template<typename T>
	constexpr EPropertyKind KindOfOtherModuleType()
	{
		if constexpr (std::is_enum_v<T>)
		{
			return EPropertyKind::Enum;
		}
		else if constexpr (requires { T::StaticStruct(); })
		{
			return EPropertyKind::Struct;
		}
		else
		{
			return EPropertyKind::Other;
		}
	}

	template<typename T>
	UObject* RelatedTypeOfOtherModuleType()
	{
		if constexpr (std::is_enum_v<T>)
		{
			return StaticEnum<T>();
		}
		else if constexpr (requires { T::StaticStruct(); })
		{
			return T::StaticStruct();
		}
		else
		{
			return nullptr;
		}
	}

	/** Whether T is the native side of a UINTERFACE (its generated body names the interface class). */
	template<typename T>
	inline constexpr bool TIsReflectedNativeInterface = requires { typename T::UClassType; };
}
