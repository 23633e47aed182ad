// Cast between object types (and to native interfaces), checked against reflection data.
#pragma once

#include <type_traits>

#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/Object.h"

namespace ECastCheckedType
{
	enum Type
	{
		NullAllowed,
		NullChecked
	};
}

namespace StandInCasts
{
	template<typename T>
	concept NativeInterface = requires { typename T::UClassType; } && !std::is_base_of_v<UObject, T>;
}

/** Src as a To, or null if Src is null or not a To. */
template<typename To, typename From>
FORCEINLINE To* Cast(From* Src)
{
	if (!Src)
	{
		return nullptr;
	}
	if constexpr (StandInCasts::NativeInterface<To>)
	{
		const UObject* Object;
		if constexpr (StandInCasts::NativeInterface<std::remove_cv_t<From>>)
		{
			Object = Src->_getUObject();
		}
		else
		{
			Object = Src;
		}
		return Object ? (To*)Object->GetInterfaceAddress(To::UClassType::StaticClass()) : nullptr;
	}
	else if constexpr (StandInCasts::NativeInterface<std::remove_cv_t<From>>)
	{
		UObject* Object = Src->_getUObject();
		return Object && Object->IsA(To::StaticClass()) ? (To*)Object : nullptr;
	}
	else
	{
		return Src->IsA(To::StaticClass()) ? (To*)Src : nullptr;
	}
}

template<typename To, typename From>
FORCEINLINE To* Cast(const TObjectPtr<From>& Src)
{
	return Cast<To>(Src.Get());
}

/** Src as a To when its class is exactly To. */
template<typename To>
FORCEINLINE To* ExactCast(UObject* Src)
{
	return Src && Src->GetClass() == To::StaticClass() ? (To*)Src : nullptr;
}

/** Src as a To; fatal if it is not one (or if null, with NullChecked). */
template<typename To, typename From>
FORCEINLINE To* CastChecked(From* Src, ECastCheckedType::Type CheckType = ECastCheckedType::NullChecked)
{
	if (!Src)
	{
		checkf(CheckType == ECastCheckedType::NullAllowed, TEXT("Cast of nullptr to %ls failed"), TEXT("object"));
		return nullptr;
	}
	To* Result = Cast<To>(Src);
	checkf(Result, TEXT("Cast to a class the object is not failed"));
	return Result;
}
