#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"
#include "Containers/Map.h"
#include "CoreGlobals.h"

#include <map>
#include <mutex>
#include <vector>

DEFINE_LOG_CATEGORY(LogConsoleResponse);
DEFINE_LOG_CATEGORY_STATIC(LogConsoleManager, Log, All);

namespace
{
	// The SetBy priorities with their names, weakest first.
	struct FSetByName
	{
		EConsoleVariableFlags SetBy;
		const TCHAR* Name;
	};

	const FSetByName SetByNames[] = {
		{ECVF_SetByConstructor, TEXT("Constructor")},
		{ECVF_SetByScalability, TEXT("Scalability")},
		{ECVF_SetByGameSetting, TEXT("GameSetting")},
		{ECVF_SetByProjectSetting, TEXT("ProjectSetting")},
		{ECVF_SetBySystemSettingsIni, TEXT("SystemSettingsIni")},
		{ECVF_SetByPluginLowPriority, TEXT("PluginLowPriority")},
		{ECVF_SetByDeviceProfile, TEXT("DeviceProfile")},
		{ECVF_SetByPluginHighPriority, TEXT("PluginHighPriority")},
		{ECVF_SetByConsoleVariablesIni, TEXT("ConsoleVariablesIni")},
		{ECVF_SetByHotfix, TEXT("Hotfix")},
		{ECVF_SetByPreview, TEXT("Preview")},
		{ECVF_SetByCommandline, TEXT("Commandline")},
		{ECVF_SetByCode, TEXT("Code")},
		{ECVF_SetByConsole, TEXT("Console")},
	};

	/** Only a space ends the name in console input (a tab belongs to it), as in the engine. */
	inline bool IsNameSeparator(TCHAR Value)
	{
		return Value == TCHAR(' ');
	}

	/** Takes the characters up to the first space and skips the spaces after them. */
	FString GetTextSection(const TCHAR*& It)
	{
		FString Result;
		while (*It && !IsNameSeparator(*It))
		{
			Result += *It++;
		}
		while (IsNameSeparator(*It))
		{
			++It;
		}
		return Result;
	}

	bool MatchesPrefix(const TCHAR* Stream, const TCHAR* Pattern)
	{
		for (; *Pattern; ++Stream, ++Pattern)
		{
			if (FChar::ToLower(*Stream) != FChar::ToLower(*Pattern))
			{
				return false;
			}
		}
		return true;
	}

	template <typename T>
	struct TConsoleValue;

	template <>
	struct TConsoleValue<bool>
	{
		static void FromString(bool& Out, const TCHAR* In) { LexFromString(Out, In); }
		static bool GetBool(bool Value) { return Value; }
		static int32 GetInt(bool Value) { return Value ? 1 : 0; }
		static float GetFloat(bool Value) { return Value ? 1.0f : 0.0f; }
		static FString GetString(bool Value) { return Value ? TEXT("true") : TEXT("false"); }
		static FString ToTypeString(bool Value) { return GetString(Value); }
	};

	template <>
	struct TConsoleValue<int32>
	{
		static void FromString(int32& Out, const TCHAR* In) { LexFromString(Out, In); }
		static bool GetBool(int32 Value) { return Value != 0; }
		static int32 GetInt(int32 Value) { return Value; }
		static float GetFloat(int32 Value) { return static_cast<float>(Value); }
		static FString GetString(int32 Value) { return FString::Printf(TEXT("%d"), Value); }
		static FString ToTypeString(int32 Value) { return GetString(Value); }
	};

	template <>
	struct TConsoleValue<float>
	{
		static void FromString(float& Out, const TCHAR* In) { LexFromString(Out, In); }
		static bool GetBool(float Value) { return Value != 0.0f; }
		static int32 GetInt(float Value) { return static_cast<int32>(Value); }
		static float GetFloat(float Value) { return Value; }
		static FString GetString(float Value) { return FString::Printf(TEXT("%g"), Value); }
		/** The engine's TTypeToString<float> (LexToString) prints with %f: history and default value read "1.000000". */
		static FString ToTypeString(float Value) { return FString::Printf(TEXT("%f"), Value); }
	};

	template <>
	struct TConsoleValue<FString>
	{
		static void FromString(FString& Out, const TCHAR* In) { Out = In; }
		static bool GetBool(const FString& Value)
		{
			bool Out = false;
			LexFromString(Out, *Value);
			return Out;
		}
		static int32 GetInt(const FString& Value)
		{
			int32 Out = 0;
			LexFromString(Out, *Value);
			return Out;
		}
		static float GetFloat(const FString& Value)
		{
			float Out = 0.0f;
			LexFromString(Out, *Value);
			return Out;
		}
		static FString GetString(const FString& Value) { return Value; }
		static FString ToTypeString(const FString& Value) { return Value; }
	};
}

const TCHAR* GetConsoleVariableSetByName(EConsoleVariableFlags ConsoleVariableFlags)
{
	const uint32 SetBy = static_cast<uint32>(ConsoleVariableFlags) & ECVF_SetByMask;
	for (const FSetByName& Entry : SetByNames)
	{
		if (static_cast<uint32>(Entry.SetBy) == SetBy)
		{
			return Entry.Name;
		}
	}
	return TEXT("<UNKNOWN>");
}

EConsoleVariableFlags GetConsoleVariableSetByValue(const TCHAR* SetByName)
{
	for (const FSetByName& Entry : SetByNames)
	{
		if (FCString::Stricmp(SetByName, Entry.Name) == 0)
		{
			return Entry.SetBy;
		}
	}
	return ECVF_SetByMask;
}

class FConsoleManager;

/** What every variable shares: help, flags, the change callbacks and the priority rule. */
class FConsoleVariableBase : public IConsoleVariable
{
public:
	FConsoleVariableBase(const TCHAR* InHelp, EConsoleVariableFlags InFlags)
		: Flags(InFlags)
	{
		SetHelp(InHelp);
		ApplyPreviewIfScalability();
	}

	virtual const TCHAR* GetHelp() const override { return *Help; }
	virtual void SetHelp(const TCHAR* Value) override
	{
		check(Value);
		Help = Value;
	}
	virtual EConsoleVariableFlags GetFlags() const override { return Flags; }
	virtual void SetFlags(const EConsoleVariableFlags Value) override
	{
		Flags = Value;
		ApplyPreviewIfScalability();
	}
	virtual IConsoleVariable* AsVariable() override { return this; }

	/** Replaces the callback set by an earlier call. */
	virtual void SetOnChangedCallback(const FConsoleVariableDelegate& Callback) override
	{
		OnChangedCallback.Remove(LegacyDelegateHandle);
		LegacyDelegateHandle = OnChangedCallback.Add(Callback);
	}
	virtual FConsoleVariableMulticastDelegate& OnChangedDelegate() override { return OnChangedCallback; }

	/** Prints the value kept at each priority (only once the variable has been set). */
	virtual void LogHistory(FOutputDevice& Ar) = 0;

protected:
	void ApplyPreviewIfScalability()
	{
		if ((static_cast<uint32>(Flags) & ECVF_Scalability) != 0 && (static_cast<uint32>(Flags) & ECVF_ExcludeFromPreview) == 0)
		{
			Flags = static_cast<EConsoleVariableFlags>(static_cast<uint32>(Flags) | ECVF_Preview);
		}
	}

	/** A value set below the current priority is ignored and reported. */
	bool CanChange(EConsoleVariableFlags SetBy) const;

	/** Records the priority of the value just applied and tells the callbacks and the sinks. */
	void OnChanged(EConsoleVariableFlags SetBy, bool bForce);

	FString Help;
	EConsoleVariableFlags Flags;
	FConsoleVariableMulticastDelegate OnChangedCallback;
	FDelegateHandle LegacyDelegateHandle;
};

/**
 * A variable of type T. bool, int32, float and FString variables hold their value in a TConsoleVariableData;
 * reference variables keep their own copy and write every applied value to the referenced C++ variable.
 */
template <class T>
class FConsoleVariable : public FConsoleVariableBase
{
public:
	FConsoleVariable(T DefaultValue, const TCHAR* InHelp, EConsoleVariableFlags InFlags, T* InRefValue = nullptr)
		: FConsoleVariableBase(InHelp, InFlags)
		, Data(DefaultValue)
		, RefValue(InRefValue)
		, ConstructedValue(DefaultValue)
	{
	}

	virtual void Set(const TCHAR* InValue, EConsoleVariableFlags SetBy, FName Tag) override
	{
		(void)Tag;
		T Converted{};
		TConsoleValue<T>::FromString(Converted, InValue ? InValue : TEXT(""));
		// The value is remembered at its priority even when it does not win.
		bHasHistory = true;
		History[static_cast<uint32>(SetBy) & ECVF_SetByMask] = Converted;
		if (CanChange(SetBy))
		{
			Apply(Converted, SetBy, false);
		}
	}

	virtual void Unset(EConsoleVariableFlags SetBy, FName Tag) override
	{
		(void)Tag;
		if (!bHasHistory)
		{
			return;
		}
		if (SetBy == ECVF_SetByMask)
		{
			for (const FSetByName& Entry : SetByNames)
			{
				Unset(Entry.SetBy, Tag);
			}
			return;
		}
		const uint32 UnsetPri = static_cast<uint32>(SetBy) & ECVF_SetByMask;
		if (UnsetPri == ECVF_SetByConstructor || History.erase(UnsetPri) == 0)
		{
			return;
		}
		const uint32 CurrentPri = static_cast<uint32>(Flags) & ECVF_SetByMask;
		if (UnsetPri >= CurrentPri)
		{
			const auto Highest = History.rbegin();
			UE_LOG(LogConsoleManager, Display, TEXT(" |-> Unsetting %s, now %s"), *IConsoleManager::Get().FindConsoleObjectName(this),
				*TConsoleValue<T>::ToTypeString(Highest->second));
			Apply(Highest->second, static_cast<EConsoleVariableFlags>(Highest->first), true);
		}
	}

	virtual bool GetBool() const override { return TConsoleValue<T>::GetBool(Value()); }
	virtual int32 GetInt() const override { return TConsoleValue<T>::GetInt(Value()); }
	virtual float GetFloat() const override { return TConsoleValue<T>::GetFloat(Value()); }
	virtual FString GetString() const override { return TConsoleValue<T>::GetString(Value()); }
	virtual FString GetDefaultValue() override { return TConsoleValue<T>::ToTypeString(ConstructedValue); }

	virtual bool IsVariableBool() const override { return std::is_same_v<T, bool>; }
	virtual bool IsVariableInt() const override { return std::is_same_v<T, int32>; }
	virtual bool IsVariableFloat() const override { return std::is_same_v<T, float>; }
	virtual bool IsVariableString() const override { return std::is_same_v<T, FString>; }

	// A variable answers with its data only for its own type (null for the others, as the engine's typed variables
	// do); a reference variable has none and leaves the question to IConsoleObject, which reports the misuse.
	virtual TConsoleVariableData<bool>* AsVariableBool() override
	{
		return RefValue ? IConsoleObject::AsVariableBool() : DataAs<bool>();
	}
	virtual TConsoleVariableData<int32>* AsVariableInt() override
	{
		return RefValue ? IConsoleObject::AsVariableInt() : DataAs<int32>();
	}
	virtual TConsoleVariableData<float>* AsVariableFloat() override
	{
		return RefValue ? IConsoleObject::AsVariableFloat() : DataAs<float>();
	}
	virtual TConsoleVariableData<FString>* AsVariableString() override
	{
		return RefValue ? IConsoleObject::AsVariableString() : DataAs<FString>();
	}

	virtual void LogHistory(FOutputDevice& Ar) override
	{
		if (!bHasHistory)
		{
			return;
		}
		Ar.Logf(TEXT("\nHISTORY"));
		for (const auto& [Priority, HistoryValue] : History)
		{
			Ar.Logf(TEXT("%s: %s"), GetConsoleVariableSetByName(static_cast<EConsoleVariableFlags>(Priority)),
				*TConsoleValue<T>::ToTypeString(HistoryValue));
		}
	}

private:
	virtual void Release() override { delete this; }

	const T& Value() const { return Data.ShadowedValue[0]; }

	template <typename U>
	TConsoleVariableData<U>* DataAs()
	{
		if constexpr (std::is_same_v<T, U>)
		{
			return &Data;
		}
		else
		{
			return nullptr;
		}
	}

	void Apply(const T& NewValue, EConsoleVariableFlags SetBy, bool bForce)
	{
		checkf(IsInGameThread(), TEXT("Console variables can only be changed on the game thread"));
		Data.ShadowedValue[0] = NewValue;
		Data.ShadowedValue[1] = NewValue;
		if (RefValue)
		{
			*RefValue = NewValue;
		}
		OnChanged(SetBy, bForce);
	}

	TConsoleVariableData<T> Data;
	T* RefValue;
	T ConstructedValue;
	bool bHasHistory = false;
	/** The last value set at each priority; the constructor's value is the weakest. */
	std::map<uint32, T> History{{static_cast<uint32>(ECVF_SetByConstructor), ConstructedValue}};
};

/** What every command shares: help and flags. */
class FConsoleCommandBase : public IConsoleCommand
{
public:
	FConsoleCommandBase(const TCHAR* InHelp, EConsoleVariableFlags InFlags)
		: Help(InHelp)
		, Flags(InFlags)
	{
		check(InHelp);
	}

	virtual const TCHAR* GetHelp() const override { return *Help; }
	virtual void SetHelp(const TCHAR* InValue) override
	{
		check(InValue);
		check(*InValue != 0);
		Help = InValue;
	}
	virtual EConsoleVariableFlags GetFlags() const override { return Flags; }
	virtual void SetFlags(const EConsoleVariableFlags Value) override { Flags = Value; }
	virtual IConsoleCommand* AsCommand() override { return this; }

private:
	virtual void Release() override { delete this; }

	FString Help;
	EConsoleVariableFlags Flags;
};

/** A command bound to one of the delegate kinds; Execute passes what it takes of (Args, World, Output). */
template <typename DelegateType>
class FConsoleCommandWithDelegate : public FConsoleCommandBase
{
public:
	FConsoleCommandWithDelegate(const DelegateType& InDelegate, const TCHAR* InHelp, EConsoleVariableFlags InFlags)
		: FConsoleCommandBase(InHelp, InFlags)
		, Delegate(InDelegate)
	{
	}

	virtual bool Execute(const TArray<FString>& Args, UWorld* InWorld, FOutputDevice& OutputDevice) override
	{
		if constexpr (std::is_same_v<DelegateType, FConsoleCommandDelegate>)
		{
			return Delegate.ExecuteIfBound();
		}
		else if constexpr (std::is_same_v<DelegateType, FConsoleCommandWithArgsDelegate>)
		{
			return Delegate.ExecuteIfBound(Args);
		}
		else if constexpr (std::is_same_v<DelegateType, FConsoleCommandWithWorldDelegate>)
		{
			return Delegate.ExecuteIfBound(InWorld);
		}
		else if constexpr (std::is_same_v<DelegateType, FConsoleCommandWithWorldAndArgsDelegate>)
		{
			return Delegate.ExecuteIfBound(Args, InWorld);
		}
		else if constexpr (std::is_same_v<DelegateType, FConsoleCommandWithArgsAndOutputDeviceDelegate>)
		{
			return Delegate.ExecuteIfBound(Args, OutputDevice);
		}
		else if constexpr (std::is_same_v<DelegateType, FConsoleCommandWithWorldArgsAndOutputDeviceDelegate>)
		{
			return Delegate.ExecuteIfBound(Args, InWorld, OutputDevice);
		}
		else
		{
			static_assert(std::is_same_v<DelegateType, FConsoleCommandWithOutputDeviceDelegate>, "Unknown console command delegate");
			return Delegate.ExecuteIfBound(OutputDevice);
		}
	}

private:
	DelegateType Delegate;
};

/** A command handled by an Exec function: known by name only. */
class FConsoleCommandExec : public FConsoleCommandBase
{
public:
	using FConsoleCommandBase::FConsoleCommandBase;

	virtual bool Execute(const TArray<FString>& Args, UWorld* InWorld, FOutputDevice& OutputDevice) override
	{
		(void)Args;
		(void)InWorld;
		(void)OutputDevice;
		return false;
	}
};

class FConsoleManager : public IConsoleManager
{
public:
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, bool DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariable<bool>(DefaultValue, Help, static_cast<EConsoleVariableFlags>(Flags)))->AsVariable();
	}
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariable<int32>(DefaultValue, Help, static_cast<EConsoleVariableFlags>(Flags)))->AsVariable();
	}
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, float DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariable<float>(DefaultValue, Help, static_cast<EConsoleVariableFlags>(Flags)))->AsVariable();
	}
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		return RegisterConsoleVariable(Name, FString(DefaultValue), Help, Flags);
	}
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const FString& DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		// String variables have no render-thread copy.
		check((Flags & static_cast<uint32>(ECVF_RenderThreadSafe)) == 0);
		return AddConsoleObject(Name, new FConsoleVariable<FString>(DefaultValue, Help, static_cast<EConsoleVariableFlags>(Flags)))->AsVariable();
	}
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, bool& RefValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariable<bool>(RefValue, Help, static_cast<EConsoleVariableFlags>(Flags), &RefValue))->AsVariable();
	}
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, int32& RefValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariable<int32>(RefValue, Help, static_cast<EConsoleVariableFlags>(Flags), &RefValue))->AsVariable();
	}
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, float& RefValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariable<float>(RefValue, Help, static_cast<EConsoleVariableFlags>(Flags), &RefValue))->AsVariable();
	}
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, FString& RefValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariable<FString>(RefValue, Help, static_cast<EConsoleVariableFlags>(Flags), &RefValue))->AsVariable();
	}

	virtual void CallAllConsoleVariableSinks() override
	{
		check(IsInGameThread());
		if (bCallAllConsoleVariableSinks)
		{
			// The list may change while the sinks run.
			const TArray<FConsoleCommandDelegate> Sinks = ConsoleVariableChangeSinks;
			for (const FConsoleCommandDelegate& Sink : Sinks)
			{
				Sink.ExecuteIfBound();
			}
			bCallAllConsoleVariableSinks = false;
		}
	}
	virtual FConsoleVariableSinkHandle RegisterConsoleVariableSink_Handle(const FConsoleCommandDelegate& Command) override
	{
		ConsoleVariableChangeSinks.Add(Command);
		return FConsoleVariableSinkHandle(Command.GetHandle());
	}
	virtual void UnregisterConsoleVariableSink_Handle(FConsoleVariableSinkHandle Handle) override
	{
		ConsoleVariableChangeSinks.RemoveAll([&Handle](const FConsoleCommandDelegate& Delegate) { return Handle.HasSameHandle(Delegate); });
	}

	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandDelegate& Command, uint32 Flags) override
	{
		return AddCommand(Name, Help, Command, Flags);
	}
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsDelegate& Command, uint32 Flags) override
	{
		return AddCommand(Name, Help, Command, Flags);
	}
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldDelegate& Command, uint32 Flags) override
	{
		return AddCommand(Name, Help, Command, Flags);
	}
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldAndArgsDelegate& Command, uint32 Flags) override
	{
		return AddCommand(Name, Help, Command, Flags);
	}
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsAndOutputDeviceDelegate& Command, uint32 Flags) override
	{
		return AddCommand(Name, Help, Command, Flags);
	}
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags) override
	{
		return AddCommand(Name, Help, Command, Flags);
	}
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithOutputDeviceDelegate& Command, uint32 Flags) override
	{
		return AddCommand(Name, Help, Command, Flags);
	}
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleCommandExec(Help, static_cast<EConsoleVariableFlags>(Flags)))->AsCommand();
	}

	virtual void UnregisterConsoleObject(IConsoleObject* ConsoleObject, bool bKeepState) override
	{
		if (!ConsoleObject)
		{
			return;
		}
		std::lock_guard<std::recursive_mutex> Lock(Mutex);
		const FString ObjName = FindConsoleObjectName(ConsoleObject);
		if (!ObjName.IsEmpty())
		{
			UnregisterConsoleObject(*ObjName, bKeepState);
		}
	}

	virtual void UnregisterConsoleObject(const TCHAR* Name, bool bKeepState) override
	{
		std::lock_guard<std::recursive_mutex> Lock(Mutex);
		IConsoleObject* Object = FindConsoleObject(Name);
		if (!Object)
		{
			return;
		}
		ConsoleObjectUnregisteredDelegate.Broadcast(Name, Object);
		IConsoleVariable* CVar = Object->AsVariable();
		if (CVar)
		{
			ConsoleVariableUnregisteredDelegate.Broadcast(CVar);
		}
		if (CVar && bKeepState)
		{
			// Kept so that a module registering the name again (after a reload) finds the value. The flags are
			// replaced, not added to, as the engine does.
			CVar->SetFlags(ECVF_Unregistered);
		}
		else
		{
			const FString Key(Name);
			ConsoleObjects.Remove(Key);
			Object->Release();
		}
	}

	virtual IConsoleVariable* FindConsoleVariable(const TCHAR* Name, bool bTrackFrequentCalls) const override
	{
		IConsoleObject* Obj = FindConsoleObject(Name, bTrackFrequentCalls);
		if (Obj)
		{
			if (Obj->TestFlags(ECVF_Unregistered))
			{
				return nullptr;
			}
			return Obj->AsVariable();
		}
		return nullptr;
	}

	virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool bTrackFrequentCalls = true) const override
	{
		(void)bTrackFrequentCalls;
		std::lock_guard<std::recursive_mutex> Lock(Mutex);
		const FEntry* Entry = ConsoleObjects.Find(FString(Name));
		IConsoleObject* Obj = Entry ? Entry->Object : nullptr;
		if (Obj && Obj->TestFlags(ECVF_CreatedFromIni))
		{
			return nullptr;
		}
		return Obj;
	}

	virtual FString FindConsoleObjectName(const IConsoleObject* Obj) const override
	{
		check(Obj);
		std::lock_guard<std::recursive_mutex> Lock(Mutex);
		for (const auto& Pair : ConsoleObjects)
		{
			if (Pair.Value.Object == Obj)
			{
				return Pair.Value.Name;
			}
		}
		return FString();
	}

	virtual void ForEachConsoleObjectThatStartsWith(const FConsoleObjectVisitor& Visitor, const TCHAR* ThatStartsWith) const override
	{
		check(Visitor.IsBound());
		check(ThatStartsWith);
		for (const FEntry& Entry : Snapshot())
		{
			if (MatchesPrefix(*Entry.Name, ThatStartsWith))
			{
				Visitor.Execute(*Entry.Name, Entry.Object);
			}
		}
	}

	virtual void ForEachConsoleObjectThatContains(const FConsoleObjectVisitor& Visitor, const TCHAR* ThatContains) const override
	{
		check(Visitor.IsBound());
		check(ThatContains);
		TArray<FString> Words;
		FString(ThatContains).ParseIntoArray(Words, TEXT(" "), true);
		const int32 ContainsLength = FCString::Strlen(ThatContains);
		for (const FEntry& Entry : Snapshot())
		{
			if (ContainsLength == 1)
			{
				if (MatchesPrefix(*Entry.Name, ThatContains))
				{
					Visitor.Execute(*Entry.Name, Entry.Object);
				}
				continue;
			}
			bool bMatchesAll = Words.Num() > 0;
			for (const FString& Word : Words)
			{
				bMatchesAll = bMatchesAll && Entry.Name.Contains(Word, ESearchCase::IgnoreCase);
			}
			if (bMatchesAll)
			{
				Visitor.Execute(*Entry.Name, Entry.Object);
			}
		}
	}

	virtual bool ProcessUserConsoleInput(const TCHAR* InInput, FOutputDevice& Ar, UWorld* InWorld) override;

	virtual bool IsNameRegistered(const TCHAR* Name) const override
	{
		std::lock_guard<std::recursive_mutex> Lock(Mutex);
		return ConsoleObjects.Contains(FString(Name));
	}

	virtual FConsoleVariableMulticastDelegate& OnCVarUnregistered() override { return ConsoleVariableUnregisteredDelegate; }
	virtual FConsoleObjectWithNameMulticastDelegate& OnConsoleObjectUnregistered() override { return ConsoleObjectUnregisteredDelegate; }

	/** A variable was changed: the sinks are due at the next CallAllConsoleVariableSinks. */
	void OnCVarChanged() { bCallAllConsoleVariableSinks = true; }

private:
	struct FEntry
	{
		/** The name as registered (lookups ignore case). */
		FString Name;
		IConsoleObject* Object = nullptr;
	};

	template <typename DelegateType>
	IConsoleCommand* AddCommand(const TCHAR* Name, const TCHAR* Help, const DelegateType& Command, uint32 Flags)
	{
		return AddConsoleObject(Name, new FConsoleCommandWithDelegate<DelegateType>(Command, Help, static_cast<EConsoleVariableFlags>(Flags)))->AsCommand();
	}

	TArray<FEntry> Snapshot() const
	{
		std::lock_guard<std::recursive_mutex> Lock(Mutex);
		TArray<FEntry> Result;
		for (const auto& Pair : ConsoleObjects)
		{
			Result.Add(Pair.Value);
		}
		return Result;
	}

	/**
	 * Adds Obj under Name. A name that is taken is reported (except by an unregistered variable); a variable keeps
	 * the existing variable of that name (its value stays, it takes the new flags and help, the new one is released);
	 * a command replaces the existing command. A command and a variable can never replace each other.
	 */
	IConsoleObject* AddConsoleObject(const TCHAR* Name, IConsoleObject* Obj)
	{
		check(Name);
		check(*Name != 0);
		check(Obj);
		std::lock_guard<std::recursive_mutex> Lock(Mutex);
		const FString Key(Name);
		FEntry* Existing = ConsoleObjects.Find(Key);

		if (Obj->GetFlags() & ECVF_Scalability)
		{
			// Scalability options can be neither cheats nor read only: the options menu must be able to set them.
			check(!(Obj->GetFlags() & ECVF_Cheat));
			check(!(Obj->GetFlags() & ECVF_ReadOnly));
		}
		if ((Obj->GetFlags() & ECVF_RenderThreadSafe) && Obj->AsCommand())
		{
			checkf(false, TEXT("ECVF_RenderThreadSafe is not supported for console commands"));
		}

		if (!Existing)
		{
			ConsoleObjects.Add(Key, FEntry{Key, Obj});
			return Obj;
		}

		IConsoleObject* ExistingObj = Existing->Object;
		const bool bCanUpdateOrReplaceObj = ExistingObj->AsVariable() && ExistingObj->TestFlags(ECVF_Unregistered);
		if (!bCanUpdateOrReplaceObj)
		{
			UE_LOG(LogConsoleManager, Warning, TEXT("Console object named '%s' already exists but is being registered again, but we weren't expected it to be! (FConsoleManager::AddConsoleObject)"), Name);
		}

		IConsoleVariable* ExistingVar = ExistingObj->AsVariable();
		IConsoleCommand* ExistingCmd = ExistingObj->AsCommand();
		IConsoleVariable* Var = Obj->AsVariable();
		IConsoleCommand* Cmd = Obj->AsCommand();
		if ((ExistingVar != nullptr) != (Var != nullptr))
		{
			UE_LOG(LogConsoleManager, Fatal, TEXT("Console object named '%s' can't be replaced with the new one of different type!"), Name);
		}

		if (ExistingVar && Var)
		{
			ExistingVar->SetFlags(Var->GetFlags());
			ExistingVar->SetHelp(Var->GetHelp());
			Var->Release();
			return ExistingVar;
		}
		if (ExistingCmd && Cmd)
		{
			*Existing = FEntry{Key, Cmd};
			ExistingCmd->Release();
			return Cmd;
		}
		return nullptr;
	}

	mutable std::recursive_mutex Mutex;
	TMap<FString, FEntry> ConsoleObjects;
	TArray<FConsoleCommandDelegate> ConsoleVariableChangeSinks;
	bool bCallAllConsoleVariableSinks = false;
	FConsoleVariableMulticastDelegate ConsoleVariableUnregisteredDelegate;
	FConsoleObjectWithNameMulticastDelegate ConsoleObjectUnregisteredDelegate;
};

bool FConsoleVariableBase::CanChange(EConsoleVariableFlags SetBy) const
{
	const uint32 OldPri = static_cast<uint32>(Flags) & ECVF_SetByMask;
	const uint32 NewPri = static_cast<uint32>(SetBy) & ECVF_SetByMask;
	const bool bRet = NewPri >= OldPri;
	if (!bRet)
	{
		const FString CVarName = IConsoleManager::Get().FindConsoleObjectName(this);
		const FString Message = FString::Printf(TEXT("Setting the console variable '%s' with 'SetBy%s' was ignored as it is lower priority than the previous 'SetBy%s'. Value remains '%s'"),
			CVarName.IsEmpty() ? TEXT("unknown?") : *CVarName,
			GetConsoleVariableSetByName(static_cast<EConsoleVariableFlags>(NewPri)),
			GetConsoleVariableSetByName(static_cast<EConsoleVariableFlags>(OldPri)),
			*GetString());
		if (OldPri == ECVF_SetByConsoleVariablesIni || OldPri == ECVF_SetByCommandline || OldPri == ECVF_SetBySystemSettingsIni || OldPri == ECVF_SetByHotfix)
		{
			// Set by a hand-edited ini or the command line: a deliberate override.
			UE_LOG(LogConsoleManager, Verbose, TEXT("%s"), *Message);
		}
		else if (NewPri == ECVF_SetByScalability && OldPri == ECVF_SetByDeviceProfile)
		{
			UE_LOG(LogConsoleManager, Log, TEXT("%s"), *Message);
		}
		else
		{
			UE_LOG(LogConsoleManager, Warning, TEXT("%s"), *Message);
		}
	}
	return bRet;
}

void FConsoleVariableBase::OnChanged(EConsoleVariableFlags SetBy, bool bForce)
{
	const bool bMarkSinks = (static_cast<uint32>(SetBy) & ECVF_Set_NoSinkCall_Unsafe) == 0;
	// SetBy may carry set flags: they are not kept.
	SetBy = static_cast<EConsoleVariableFlags>(static_cast<uint32>(SetBy) & ~static_cast<uint32>(ECVF_SetFlagMask));
	check(bForce || CanChange(SetBy));
	Flags = static_cast<EConsoleVariableFlags>((static_cast<uint32>(Flags) & ECVF_FlagMask) | static_cast<uint32>(SetBy));
	if (bMarkSinks)
	{
		static_cast<FConsoleManager&>(IConsoleManager::Get()).OnCVarChanged();
	}
	OnChangedCallback.Broadcast(this);
}

bool FConsoleManager::ProcessUserConsoleInput(const TCHAR* InInput, FOutputDevice& Ar, UWorld* InWorld)
{
	check(InInput);

	const TCHAR* It = InInput;
	FString Param1 = GetTextSection(It);
	if (Param1.IsEmpty())
	{
		return false;
	}

	// A trailing '?' asks for the help.
	const bool bCommandEndedInQuestion = Param1.EndsWith(TEXT("?"), ESearchCase::CaseSensitive);
	if (bCommandEndedInQuestion)
	{
		Param1.MidInline(0, Param1.Len() - 1, EAllowShrinking::No);
	}

	// "<cvar>@<platform>" asks for another platform's value, which this build does not hold.
	FString PlatformName;
	if (Param1.Contains(TEXT("@")))
	{
		FString Left, Right;
		Param1.Split(TEXT("@"), &Left, &Right);
		if (Left.Len() && Right.Len())
		{
			Param1 = Left;
			PlatformName = Right;
			Right.Split(TEXT("/"), &PlatformName, nullptr);
		}
	}

	IConsoleObject* CObj = FindConsoleObject(*Param1);
	if (!CObj || CObj->TestFlags(ECVF_Unregistered))
	{
		return false;
	}

	// The registered spelling, for the messages.
	Param1 = FindConsoleObjectName(CObj);

	IConsoleCommand* CCmd = CObj->AsCommand();
	IConsoleVariable* CVar = CObj->AsVariable();

	if (!PlatformName.IsEmpty())
	{
		if (CVar == nullptr)
		{
			Ar.Logf(TEXT("Ignoring platform portion (@%s), which is only valid for looking up CVars"), *PlatformName);
		}
		else
		{
			Ar.Logf(TEXT("Unable to lookup a CVar value on another platform in this build"));
			return false;
		}
	}

	if (CCmd)
	{
		TArray<FString> Args;
		FString(It).ParseIntoArrayWS(Args);

		const bool bShowHelp = bCommandEndedInQuestion || (Args.Num() == 1 && Args[0] == TEXT("?"));
		if (bShowHelp)
		{
			Ar.Logf(TEXT("HELP for '%s':\n%s"), *Param1, CCmd->GetHelp());
		}
		else
		{
			// False when no delegate ran (a command handled by an Exec function).
			return CCmd->Execute(Args, InWorld, Ar);
		}
	}
	else if (CVar)
	{
		bool bShowHelp = bCommandEndedInQuestion;
		bool bShowCurrentState = false;

		if (*It == 0)
		{
			bShowCurrentState = true;
		}
		else
		{
			FString Param2 = FString(It).TrimStartAndEnd();
			const bool bReadOnly = CVar->TestFlags(ECVF_ReadOnly);

			if (Param2.Len() >= 2)
			{
				if (Param2[0] == TCHAR('\"') && Param2[Param2.Len() - 1] == TCHAR('\"'))
				{
					Param2.MidInline(1, Param2.Len() - 2, EAllowShrinking::No);
				}
				// Probably copied from an ini file.
				if (Param2.Len() > 0 && Param2[0] == TCHAR('='))
				{
					Ar.Logf(TEXT("Warning: Processing the console input parameters the leading '=' is ignored (only needed for ini files)."));
					Param2.MidInline(1, Param2.Len() - 1, EAllowShrinking::No);
				}
			}

			if (Param2 == TEXT("?"))
			{
				bShowHelp = true;
			}
			else if (bReadOnly)
			{
				Ar.Logf(TEXT("Error: %s is read only!"), *Param1);
			}
			else
			{
				CVar->Set(*Param2, ECVF_SetByConsole);
				Ar.Logf(TEXT("%s = \"%s\""), *Param1, *CVar->GetString());
			}
		}

		if (bShowHelp)
		{
			const bool bReadOnly = CVar->TestFlags(ECVF_ReadOnly);
			Ar.Logf(TEXT("HELP for '%s'%s:\n%s"), *Param1, bReadOnly ? TEXT("(ReadOnly)") : TEXT(""), CVar->GetHelp());
			bShowCurrentState = true;
		}

		if (bShowCurrentState)
		{
			static_cast<FConsoleVariableBase*>(CVar)->LogHistory(Ar);
			Ar.Logf(TEXT("%s = \"%s\"      LastSetBy: %s"), *Param1, *CVar->GetString(), GetConsoleVariableSetByName(CVar->GetFlags()));
		}
	}

	return true;
}

IConsoleManager* IConsoleManager::Singleton;

void IConsoleManager::SetupSingleton()
{
	check(!Singleton);
	if (!Singleton)
	{
		// Never destroyed: objects registered by static objects unregister during exit.
		Singleton = new FConsoleManager;
	}
	check(Singleton);
}
