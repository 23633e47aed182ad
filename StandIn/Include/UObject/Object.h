// UObject: the base of every reflected class.
#pragma once

#include "CoreGlobals.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/ObjectPtr.h"

class UFunction;
class UWorld;
class FProperty;
class FConfigCacheIni;
struct FPropertyChangedEvent;
struct FPropertyChangedChainEvent;

class COREUOBJECT_API UObject : public UObjectBaseUtility
{
	DECLARE_CLASS(UObject, UObject, CLASS_Abstract | CLASS_Native | CLASS_Intrinsic, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DECLARE_WITHIN(UObject)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UObject)

public:
	UObject();
	UObject(const FObjectInitializer& ObjectInitializer);
	UObject(UObject&&) = delete;
	UObject(const UObject&) = delete;

	/** Called after the constructor and after the properties were initialised from the class default object. */
	virtual void PostInitProperties();
	virtual void PostLoad();
	/** First step of destruction: release resources; the object is still fully usable. */
	virtual void BeginDestroy();
	virtual bool IsReadyForFinishDestroy();
	virtual void FinishDestroy();
	bool ConditionalBeginDestroy();
	bool ConditionalFinishDestroy();

	/** The world this object lives in: its outer's world by default, and none without a world outer. */
	virtual UWorld* GetWorld() const;

	/** Calls Function on this object with the parameter block Parms laid out as the function's properties. */
	virtual void ProcessEvent(UFunction* Function, void* Parms);
	UFunction* FindFunction(FName InName) const;
	UFunction* FindFunctionChecked(FName InName) const;

	/** Creates a sub-object owned by this object, named SubobjectName. */
	template<class TReturnType>
	TReturnType* CreateDefaultSubobject(FName SubobjectName, bool bTransient = false)
	{
		return static_cast<TReturnType*>(CreateDefaultSubobject(SubobjectName, TReturnType::StaticClass(), TReturnType::StaticClass(), true, bTransient));
	}
	UObject* CreateDefaultSubobject(FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient);

	/**
	 * Saves the properties that carry RequiredPropertyFlags to the configuration system, in the section named
	 * by the class's path, then flushes the file (Filename, or the class's configuration name). Safe on the
	 * class default object. The stand-in saves bool and text-convertible number properties.
	 */
	void SaveConfig(uint64 RequiredPropertyFlags = CPF_Config, const TCHAR* Filename = nullptr, FConfigCacheIni* Config = GConfig,
		bool bAllowCopyToDefaultObject = true);

	/** Notes an upcoming change of the object for the transaction buffer; true if it was saved there. The
	 *  stand-in has no transaction buffer: nothing is recorded and the answer is false. */
	virtual bool Modify(bool bAlwaysMarkDirty = true);

#if WITH_EDITOR
	virtual void PreEditChange(FProperty* PropertyAboutToChange);
	virtual void PostEditChange();
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent);
	/** By default forwards to PostEditChangeProperty. */
	virtual void PostEditChangeChainProperty(FPropertyChangedChainEvent& PropertyChangedEvent);
#endif
};

/** True if Test is non-null, not marked as garbage and not unreachable. */
FORCEINLINE bool IsValid(const UObject* Test)
{
	return Test && !Test->HasAnyInternalFlags(EInternalObjectFlags::Garbage | EInternalObjectFlags::Unreachable);
}
