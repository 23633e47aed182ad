// Script (dynamic) delegates: bound to an object by weak reference and a function name, executed
// through reflection. Also the DECLARE_DYNAMIC_*DELEGATE* macros, whose bodies come from the header tool.
#pragma once

#include <type_traits>

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Misc/AssertionMacros.h"
#include "UObject/NameTypes.h"
#include "UObject/WeakObjectPtr.h"
#include "UObject/WeakObjectPtrTemplates.h"

class UObject;

template<typename TWeakPtr = FWeakObjectPtr>
class TScriptDelegate
{
public:
	TScriptDelegate() : Object(nullptr), FunctionName(NAME_None) {}

	/** Binds to the function named InFunctionName of InObject. The function is looked up when executed. */
	void BindUFunction(UObject* InObject, const FName& InFunctionName)
	{
		Object = InObject;
		FunctionName = InFunctionName;
	}

	/** True if the bound object is still alive. Does not check that the function still exists. */
	inline bool IsBound() const
	{
		return FunctionName != NAME_None && Object.Get() != nullptr;
	}
	inline bool IsBoundToObject(void const* InUserObject) const
	{
		return InUserObject && (InUserObject == GetUObject());
	}
	inline bool IsBoundToObjectEvenIfUnreachable(void const* InUserObject) const
	{
		return InUserObject && (InUserObject == GetUObjectEvenIfUnreachable());
	}
	inline bool IsCompactable() const
	{
		return FunctionName == NAME_None || !Object.Get(true);
	}

	void Unbind()
	{
		Object.Reset();
		FunctionName = NAME_None;
	}
	void Clear() { Unbind(); }

	FString ToString() const
	{
		if (Object.Get())
		{
			return FString(TEXT("bound: ")) + FunctionName.ToString();
		}
		return FString(TEXT("<Unbound>"));
	}

	inline UObject* GetUObject() { return (UObject*)Object.Get(); }
	inline const UObject* GetUObject() const { return (const UObject*)Object.Get(); }
	inline UObject* GetUObjectEvenIfUnreachable() { return (UObject*)Object.GetEvenIfUnreachable(); }
	inline const UObject* GetUObjectEvenIfUnreachable() const { return (const UObject*)Object.GetEvenIfUnreachable(); }
	inline FName GetFunctionName() const { return FunctionName; }

	/** Calls the bound function with the parameter block Parameters. Fatal when nothing is bound or
	 *  the object has no such function. */
	template<class UObjectTemplate>
	void ProcessDelegate(void* Parameters) const
	{
		checkf(Object.IsValid(), TEXT("ProcessDelegate() called with no object bound to delegate!"));
		checkf(FunctionName != NAME_None, TEXT("ProcessDelegate() called with no function name set!"));
		UObjectTemplate* ObjectPtr = static_cast<UObjectTemplate*>(Object.Get());
		auto* Function = ObjectPtr->FindFunctionChecked(FunctionName);
		ObjectPtr->ProcessEvent(Function, Parameters);
	}

	bool operator==(const TScriptDelegate& Other) const
	{
		return Object == Other.Object && FunctionName == Other.FunctionName;
	}
	bool operator!=(const TScriptDelegate& Other) const { return !(*this == Other); }

	friend uint32 GetTypeHash(const TScriptDelegate& Delegate)
	{
		return GetTypeHash(Delegate.Object) ^ GetTypeHash(Delegate.FunctionName);
	}

protected:
	TWeakPtr Object;
	FName FunctionName;
};

template<typename TWeakPtr = FWeakObjectPtr>
class TMulticastScriptDelegate
{
public:
	using InvocationListType = TArray<TScriptDelegate<TWeakPtr>>;

	inline bool IsBound() const
	{
		for (const TScriptDelegate<TWeakPtr>& Delegate : InvocationList)
		{
			if (Delegate.IsBound())
			{
				return true;
			}
		}
		return false;
	}
	bool Contains(const TScriptDelegate<TWeakPtr>& InDelegate) const { return InvocationList.Contains(InDelegate); }
	bool Contains(const UObject* InObject, FName InFunctionName) const
	{
		for (const TScriptDelegate<TWeakPtr>& Delegate : InvocationList)
		{
			if (Delegate.GetUObject() == InObject && Delegate.GetFunctionName() == InFunctionName)
			{
				return true;
			}
		}
		return false;
	}
	void Add(const TScriptDelegate<TWeakPtr>& InDelegate) { InvocationList.Add(InDelegate); }
	void AddUnique(const TScriptDelegate<TWeakPtr>& InDelegate)
	{
		if (!Contains(InDelegate))
		{
			Add(InDelegate);
		}
	}
	void Remove(const TScriptDelegate<TWeakPtr>& InDelegate) { InvocationList.Remove(InDelegate); }
	void Remove(const UObject* InObject, FName InFunctionName)
	{
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			if (InvocationList[Index].GetUObjectEvenIfUnreachable() == InObject && InvocationList[Index].GetFunctionName() == InFunctionName)
			{
				InvocationList.RemoveAt(Index);
			}
		}
	}
	void RemoveAll(const UObject* Object)
	{
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			if (InvocationList[Index].GetUObjectEvenIfUnreachable() == Object)
			{
				InvocationList.RemoveAt(Index);
			}
		}
	}
	void Clear() { InvocationList.Empty(); }

	/** Calls every bound function with the same parameter block, skipping dead objects. */
	template<class UObjectTemplate>
	void ProcessMulticastDelegate(void* Parameters) const
	{
		InvocationListType Copy = InvocationList;
		for (const TScriptDelegate<TWeakPtr>& Delegate : Copy)
		{
			if (Delegate.IsBound())
			{
				Delegate.template ProcessDelegate<UObjectTemplate>(Parameters);
			}
		}
	}

protected:
	InvocationListType InvocationList;
};

typedef TScriptDelegate<> FScriptDelegate;
typedef TMulticastScriptDelegate<> FMulticastScriptDelegate;

namespace UE::Delegates::Private
{
	/** "&UMyClass::OnEvent" becomes "OnEvent". */
	COREUOBJECT_API FName GetTrimmedMemberFunctionName(const TCHAR* InMacroFunctionName);
}
#define STATIC_FUNCTION_FNAME(str) UE::Delegates::Private::GetTrimmedMemberFunctionName(str)

/** Base of the classes DECLARE_DYNAMIC_DELEGATE_* declares. */
template<typename TWeakPtr, typename RetValType, typename... ParamTypes>
class TBaseDynamicDelegate : public TScriptDelegate<TWeakPtr>
{
public:
	TBaseDynamicDelegate() = default;
	explicit TBaseDynamicDelegate(const TScriptDelegate<TWeakPtr>& InScriptDelegate) : TScriptDelegate<TWeakPtr>(InScriptDelegate) {}

	template<class UserClass>
	void __Internal_BindDynamic(UserClass* InUserObject, RetValType (UserClass::*InMethodPtr)(ParamTypes...), FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		this->BindUFunction(InUserObject, InFunctionName);
	}
};

template<typename TWeakPtr, typename RetValType, typename... ParamTypes>
class TBaseDynamicMulticastDelegate : public TMulticastScriptDelegate<TWeakPtr>
{
public:
	typedef TBaseDynamicDelegate<TWeakPtr, RetValType, ParamTypes...> FDelegate;

	template<class UserClass>
	void __Internal_AddDynamic(UserClass* InUserObject, RetValType (UserClass::*InMethodPtr)(ParamTypes...), FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		FDelegate NewDelegate;
		NewDelegate.BindUFunction(InUserObject, InFunctionName);
		this->Add(NewDelegate);
	}
	template<class UserClass>
	void __Internal_AddUniqueDynamic(UserClass* InUserObject, RetValType (UserClass::*InMethodPtr)(ParamTypes...), FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		FDelegate NewDelegate;
		NewDelegate.BindUFunction(InUserObject, InFunctionName);
		this->AddUnique(NewDelegate);
	}
	template<class UserClass>
	void __Internal_RemoveDynamic(UserClass* InUserObject, RetValType (UserClass::*InMethodPtr)(ParamTypes...), FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		this->Remove(InUserObject, InFunctionName);
	}
	template<class UserClass>
	bool __Internal_IsAlreadyBound(UserClass* InUserObject, RetValType (UserClass::*InMethodPtr)(ParamTypes...), FName InFunctionName) const
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		return this->Contains(InUserObject, InFunctionName);
	}
};

#define BindDynamic(UserObject, FuncName) __Internal_BindDynamic(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))
#define AddDynamic(UserObject, FuncName) __Internal_AddDynamic(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))
#define AddUniqueDynamic(UserObject, FuncName) __Internal_AddUniqueDynamic(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))
#define RemoveDynamic(UserObject, FuncName) __Internal_RemoveDynamic(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))
#define IsAlreadyBound(UserObject, FuncName) __Internal_IsAlreadyBound(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))

#ifndef FUNC_CONCAT
#define FUNC_CONCAT(...) __VA_ARGS__
#endif

#define FUNC_DECLARE_DYNAMIC_DELEGATE(TWeakPtr, DynamicDelegateName, ExecFunction, FuncParamList, FuncParamPassThru, RetValType, ...) \
	class DynamicDelegateName : public TBaseDynamicDelegate<TWeakPtr, RetValType __VA_OPT__(,) __VA_ARGS__> \
	{ \
	public: \
		DynamicDelegateName() {} \
		explicit DynamicDelegateName(const TScriptDelegate<>& InScriptDelegate) : TBaseDynamicDelegate<TWeakPtr, RetValType __VA_OPT__(,) __VA_ARGS__>(InScriptDelegate) {} \
		inline RetValType Execute(FuncParamList) const { return ExecFunction(FuncParamPassThru); } \
		template<typename R = RetValType, typename = std::enable_if_t<std::is_void_v<R>>> \
		inline bool ExecuteIfBound(FuncParamList) const \
		{ \
			if (this->IsBound()) \
			{ \
				ExecFunction(FuncParamPassThru); \
				return true; \
			} \
			return false; \
		} \
	};

#define FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(TWeakPtr, DynamicMulticastDelegateName, ExecFunction, FuncParamList, FuncParamPassThru, ...) \
	class DynamicMulticastDelegateName : public TBaseDynamicMulticastDelegate<TWeakPtr, void __VA_OPT__(,) __VA_ARGS__> \
	{ \
	public: \
		DynamicMulticastDelegateName() {} \
		void Broadcast(FuncParamList) const { ExecFunction(FuncParamPassThru); } \
	};

#define STANDIN_DYNAMIC_DELEGATE_BODY BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _DELEGATE)

#define DECLARE_DYNAMIC_DELEGATE(DelegateName) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, , FUNC_CONCAT(*this), void)
#define DECLARE_DYNAMIC_DELEGATE_OneParam(DelegateName, Param1Type, Param1Name) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1), FUNC_CONCAT(*this, InParam1), void, Param1Type)
#define DECLARE_DYNAMIC_DELEGATE_TwoParams(DelegateName, Param1Type, Param1Name, Param2Type, Param2Name) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1, Param2Type InParam2), FUNC_CONCAT(*this, InParam1, InParam2), void, Param1Type, Param2Type)
#define DECLARE_DYNAMIC_DELEGATE_ThreeParams(DelegateName, Param1Type, Param1Name, Param2Type, Param2Name, Param3Type, Param3Name) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1, Param2Type InParam2, Param3Type InParam3), FUNC_CONCAT(*this, InParam1, InParam2, InParam3), void, Param1Type, Param2Type, Param3Type)
#define DECLARE_DYNAMIC_DELEGATE_RetVal(ReturnValueType, DelegateName) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, , FUNC_CONCAT(*this), ReturnValueType)
#define DECLARE_DYNAMIC_DELEGATE_RetVal_OneParam(ReturnValueType, DelegateName, Param1Type, Param1Name) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1), FUNC_CONCAT(*this, InParam1), ReturnValueType, Param1Type)
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE(DelegateName) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, , FUNC_CONCAT(*this))
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(DelegateName, Param1Type, Param1Name) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1), FUNC_CONCAT(*this, InParam1), Param1Type)
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(DelegateName, Param1Type, Param1Name, Param2Type, Param2Name) STANDIN_DYNAMIC_DELEGATE_BODY FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1, Param2Type InParam2), FUNC_CONCAT(*this, InParam1, InParam2), Param1Type, Param2Type)
