// TAttribute: a value that is either set directly or read through a bound getter each time it is asked for.
#pragma once

#include <type_traits>

#include "Delegates/Delegate.h"

template <typename ObjectType>
class TAttribute
{
public:
	DECLARE_DELEGATE_RetVal(ObjectType, FGetter);

	/** An attribute with no value. */
	TAttribute()
		: Value()
		, bIsSet(false)
	{
	}

	/** An attribute with a constant value. */
	template <typename OtherType, typename = std::enable_if_t<std::is_constructible_v<ObjectType, const OtherType&> && !std::is_same_v<std::decay_t<OtherType>, TAttribute>>>
	TAttribute(const OtherType& InInitialValue)
		: Value(InInitialValue)
		, bIsSet(true)
	{
	}

	/** An attribute read through a getter. */
	static TAttribute Create(const FGetter& InGetter)
	{
		TAttribute Attribute;
		Attribute.Getter = InGetter;
		Attribute.bIsSet = true;
		return Attribute;
	}

	/** An attribute read through a lambda. */
	template <typename LambdaType, typename... PayloadTypes>
	[[nodiscard]] static TAttribute CreateLambda(LambdaType&& InCallable, PayloadTypes&&... InputPayload)
	{
		return Create(FGetter::CreateLambda(Forward<LambdaType>(InCallable), Forward<PayloadTypes>(InputPayload)...));
	}

	/** An attribute read through a method of a shared object. */
	template <class SourceType, typename MethodType, typename... PayloadTypes>
	[[nodiscard]] static TAttribute CreateSP(SourceType* InObject, MethodType InMethod, PayloadTypes&&... InputPayload)
	{
		return Create(FGetter::CreateSP(InObject, InMethod, Forward<PayloadTypes>(InputPayload)...));
	}

	/** Sets a constant value (unbinding any getter). */
	void Set(const ObjectType& InNewValue)
	{
		Getter.Unbind();
		Value = InNewValue;
		bIsSet = true;
	}

	bool IsSet() const { return bIsSet; }
	bool IsBound() const { return Getter.IsBound(); }

	/** The value: the getter's answer when one is bound, else the constant. */
	const ObjectType& Get() const
	{
		if (Getter.IsBound())
		{
			Value = Getter.Execute();
		}
		return Value;
	}

	const ObjectType& Get(const ObjectType& DefaultValue) const
	{
		return bIsSet ? Get() : DefaultValue;
	}

private:
	mutable ObjectType Value;
	bool bIsSet;
	FGetter Getter;
};
