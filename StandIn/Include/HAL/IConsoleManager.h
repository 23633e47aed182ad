// The console: variables and commands by name, and the user input that reaches them.
//
// Behaviour kept from the engine: names match ignoring case; a variable remembers the value it was given at each
// SetBy priority and a Set below the priority of the current value is ignored (and logged); unregistering a
// variable keeps it (flagged ECVF_Unregistered) so registering the name again finds its value, unless bKeepState
// is false; commands are always removed. ProcessUserConsoleInput parses as the engine does (see its comment).
// Not stood in: other-platform values (name@platform), the built-in dumpcvars/setcvar family, console history,
// render-thread shadow values (reads on any thread see the game-thread value).
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Delegates/Delegate.h"
#include "Logging/LogMacros.h"
#include "Misc/AssertionMacros.h"
#include "UObject/NameTypes.h"

#include <type_traits>

class FOutputDevice;
class UWorld;
class IConsoleObject;
class IConsoleVariable;
struct IConsoleCommand;
template <class T> class TConsoleVariableData;

/** Bitmask 0x1, 0x2, 0x4, ... The values are those of the UE 5.4 source; UNCONFIRMED for 5.5 (only their order is relied on). */
enum EConsoleVariableFlags
{
	/* Mask for flags. Use this instead of ~ECVF_SetByMask */
	ECVF_FlagMask = 0x0000ffff,

	/** Default, no flags are set, the value is set by the constructor. */
	ECVF_Default = 0x0,
	/** Hidden in the console and not changeable by the user in a final release build. */
	ECVF_Cheat = 0x1,
	/** Cannot be changed by the user (from the console); changing from C++ or ini is still possible. */
	ECVF_ReadOnly = 0x4,
	/** UnregisterConsoleObject() was called on this one; registering the name again with the same type reactivates it. */
	ECVF_Unregistered = 0x8,
	/** Set by the ini loading code when the variable wasn't registered yet. */
	ECVF_CreatedFromIni = 0x10,
	/** Keeps a render-thread copy, updated in order with rendering commands. */
	ECVF_RenderThreadSafe = 0x20,
	/* Controlled by the scalability groups. */
	ECVF_Scalability = 0x40,
	/* Controls other cvars with the flag ECVF_Scalability; names should start with "sg.". */
	ECVF_ScalabilityGroup = 0x80,
	/* Included in the device profile previews. */
	ECVF_Preview = 0x100,
	/* Modifies the shader keystring for all platforms. */
	ECVF_GeneralShaderChange = 0x200,
	/* Modifies the shader keystring for mobile platforms. */
	ECVF_MobileShaderChange = 0x400,
	/* Modifies the shader keystring for desktop platforms. */
	ECVF_DesktopShaderChange = 0x800,
	/* Excluded from the device profile previews. */
	ECVF_ExcludeFromPreview = 0x1000,
	/* Saved into a local file for the next boot after a hotfix. */
	ECVF_SaveForNextBoot = 0x2000,

	/* Set flags */
	ECVF_SetFlagMask = 0x00ff0000,
	// Set without marking the sinks for a call (CallAllConsoleVariableSinks).
	ECVF_Set_NoSinkCall_Unsafe = 0x00010000,

	/* Where the last value was set from, in override order (weak to strong). */
	ECVF_SetByMask = 0xff000000,
	ECVF_SetByConstructor = 0x00000000,
	ECVF_SetByScalability = 0x01000000,
	ECVF_SetByGameSetting = 0x02000000,
	ECVF_SetByProjectSetting = 0x03000000,
	ECVF_SetBySystemSettingsIni = 0x04000000,
	ECVF_SetByPluginLowPriority = 0x05000000,
	ECVF_SetByDeviceProfile = 0x06000000,
	ECVF_SetByPluginHighPriority = 0x07000000,
	ECVF_SetByGameOverride = 0x08000000,
	ECVF_SetByConsoleVariablesIni = 0x09000000,
	ECVF_SetByHotfix = 0x0A000000,
	ECVF_SetByPreview = 0x0B000000,
	ECVF_SetByCommandline = 0x0C000000,
	ECVF_SetByCode = 0x0D000000,
	// Highest priority: editor UI or the interactive console.
	ECVF_SetByConsole = 0x0E000000,
};

/** "Constructor", "Scalability", ..., "Console" for the SetBy bits of the flags ("<UNKNOWN>" otherwise). */
extern CORE_API const TCHAR* GetConsoleVariableSetByName(EConsoleVariableFlags ConsoleVariableFlags);
/** Inverse of GetConsoleVariableSetByName(); ECVF_SetByMask for an unknown name. */
extern CORE_API EConsoleVariableFlags GetConsoleVariableSetByValue(const TCHAR* SetByName);

/** Console variable delegate type. */
DECLARE_DELEGATE_OneParam(FConsoleVariableDelegate, IConsoleVariable*);
/** Console variable multicast delegate type. */
DECLARE_MULTICAST_DELEGATE_OneParam(FConsoleVariableMulticastDelegate, IConsoleVariable*);
/** Console object with name multicast delegate type. */
DECLARE_MULTICAST_DELEGATE_TwoParams(FConsoleObjectWithNameMulticastDelegate, const TCHAR*, IConsoleObject*);
/** Console command delegate type (takes no arguments). */
DECLARE_DELEGATE(FConsoleCommandDelegate);
/** Console command delegate type (with arguments). */
DECLARE_DELEGATE_OneParam(FConsoleCommandWithArgsDelegate, const TArray<FString>&);
/** Console command delegate type with a world argument. */
DECLARE_DELEGATE_OneParam(FConsoleCommandWithWorldDelegate, UWorld*);
/** Console command delegate type (with a world and arguments). */
DECLARE_DELEGATE_TwoParams(FConsoleCommandWithWorldAndArgsDelegate, const TArray<FString>&, UWorld*);
/** Console command delegate type (with arguments and output device). */
DECLARE_DELEGATE_TwoParams(FConsoleCommandWithArgsAndOutputDeviceDelegate, const TArray<FString>&, FOutputDevice&);
/** Console command delegate type (with a world, arguments and output device). */
DECLARE_DELEGATE_ThreeParams(FConsoleCommandWithWorldArgsAndOutputDeviceDelegate, const TArray<FString>&, UWorld*, FOutputDevice&);
/** Console command delegate type with the output device passed through. */
DECLARE_DELEGATE_OneParam(FConsoleCommandWithOutputDeviceDelegate, FOutputDevice&);

/** Interface for console objects (variables and commands). */
class IConsoleObject
{
public:
	IConsoleObject() {}
	virtual ~IConsoleObject() {}

	/** Never null, can be multi line. */
	virtual const TCHAR* GetHelp() const = 0;
	virtual void SetHelp(const TCHAR* Value) = 0;
	virtual EConsoleVariableFlags GetFlags() const = 0;
	virtual void SetFlags(const EConsoleVariableFlags Value) = 0;

	void ClearFlags(const EConsoleVariableFlags Value)
	{
		const uint32 New = static_cast<uint32>(GetFlags()) & ~static_cast<uint32>(Value);
		SetFlags(static_cast<EConsoleVariableFlags>(New));
	}

	/** Whether any of the given flags is set. */
	bool TestFlags(const EConsoleVariableFlags Value) const
	{
		return (static_cast<uint32>(GetFlags()) & static_cast<uint32>(Value)) != 0;
	}

	/** This object as a variable, or null if it is not one. */
	virtual class IConsoleVariable* AsVariable() { return nullptr; }

	virtual bool IsVariableBool() const { return false; }
	virtual bool IsVariableInt() const { return false; }
	virtual bool IsVariableFloat() const { return false; }
	virtual bool IsVariableString() const { return false; }

	virtual class TConsoleVariableData<bool>* AsVariableBool()
	{
		ensureMsgf(false, TEXT("Attempted to access variable data of a console variable type that doesn't support it.  For example FindTConsoleVariableData* on a FAutoConsoleVariableRef."));
		return nullptr;
	}
	virtual class TConsoleVariableData<int32>* AsVariableInt()
	{
		ensureMsgf(false, TEXT("Attempted to access variable data of a console variable type that doesn't support it.  For example FindTConsoleVariableData* on a FAutoConsoleVariableRef."));
		return nullptr;
	}
	virtual class TConsoleVariableData<float>* AsVariableFloat()
	{
		ensureMsgf(false, TEXT("Attempted to access variable data of a console variable type that doesn't support it.  For example FindTConsoleVariableData* on a FAutoConsoleVariableRef."));
		return nullptr;
	}
	virtual class TConsoleVariableData<FString>* AsVariableString()
	{
		ensureMsgf(false, TEXT("Attempted to access variable data of a console variable type that doesn't support it.  For example FindTConsoleVariableData* on a FAutoConsoleVariableRef."));
		return nullptr;
	}

	/** This object as a command, or null if it is not one. */
	virtual struct IConsoleCommand* AsCommand() { return nullptr; }

private:
	/** Only the manager releases objects. */
	virtual void Release() = 0;

	friend class FConsoleManager;
};

/** Interface for console variables. */
class IConsoleVariable : public IConsoleObject
{
public:
	/**
	 * Sets the value from a string; ignored (with a warning) when SetBy is below the priority of the current value.
	 * @param Tag only matters for the engine's tagged priorities (plug-in and hotfix arrays); the stand-in keeps one value per priority.
	 */
	virtual void Set(const TCHAR* InValue, EConsoleVariableFlags SetBy = ECVF_SetByCode, FName Tag = NAME_None) = 0;

	/** Forgets the value set at SetBy; at or above the current priority the value falls back to the highest one left. */
	virtual void Unset(EConsoleVariableFlags SetBy, FName Tag = NAME_None) = 0;

	/** The value as a bool (works on bools, ints and floats; strings parse "true"/"yes"/"on"/numbers). */
	virtual bool GetBool() const = 0;
	/** The value as int; floats are truncated, not rounded. */
	virtual int32 GetInt() const = 0;
	virtual float GetFloat() const = 0;
	/** Bools read "true"/"false", floats are printed with %g. */
	virtual FString GetString() const = 0;

	void GetValue(int32& OutIntValue) { OutIntValue = GetInt(); }
	void GetValue(bool& OutBoolValue) { OutBoolValue = GetBool(); }
	void GetValue(float& OutFloatValue) { OutFloatValue = GetFloat(); }
	void GetValue(FString& OutStringValue) { OutStringValue = GetString(); }

	/** Called after every Set that is applied, even with an unchanged value; replaces the callback set before. */
	virtual void SetOnChangedCallback(const FConsoleVariableDelegate& Callback) = 0;
	virtual FConsoleVariableMulticastDelegate& OnChangedDelegate() = 0;

	/** The value the variable was constructed with. */
	virtual FString GetDefaultValue() = 0;

	void Set(bool InValue, EConsoleVariableFlags SetBy = ECVF_SetByCode, FName Tag = NAME_None)
	{
		// 1 and 0 rather than true/false: the variable may be an int.
		Set(InValue ? TEXT("1") : TEXT("0"), SetBy, Tag);
	}
	void Set(int32 InValue, EConsoleVariableFlags SetBy = ECVF_SetByCode, FName Tag = NAME_None)
	{
		Set(*FString::Printf(TEXT("%d"), InValue), SetBy, Tag);
	}
	void Set(float InValue, EConsoleVariableFlags SetBy = ECVF_SetByCode, FName Tag = NAME_None)
	{
		Set(*FString::Printf(TEXT("%g"), InValue), SetBy, Tag);
	}

	void SetWithCurrentPriority(bool InValue, FName Tag = NAME_None)
	{
		Set(InValue, static_cast<EConsoleVariableFlags>(GetFlags() & ECVF_SetByMask), Tag);
	}
	void SetWithCurrentPriority(int32 InValue, FName Tag = NAME_None)
	{
		Set(InValue, static_cast<EConsoleVariableFlags>(GetFlags() & ECVF_SetByMask), Tag);
	}
	void SetWithCurrentPriority(float InValue, FName Tag = NAME_None)
	{
		Set(InValue, static_cast<EConsoleVariableFlags>(GetFlags() & ECVF_SetByMask), Tag);
	}
	void SetWithCurrentPriority(const TCHAR* InValue, FName Tag = NAME_None)
	{
		Set(InValue, static_cast<EConsoleVariableFlags>(GetFlags() & ECVF_SetByMask), Tag);
	}
};

/** Interface for console commands. */
struct IConsoleCommand : public IConsoleObject
{
	/**
	 * Runs the command's delegate with the arguments it takes.
	 * @return true if a delegate was bound and ran (false for a command handled by an Exec function).
	 */
	virtual bool Execute(const TArray<FString>& Args, UWorld* InWorld, class FOutputDevice& OutputDevice) = 0;
};

/** Visitor over console objects: name and object. */
DECLARE_DELEGATE_TwoParams(FConsoleObjectVisitor, const TCHAR*, IConsoleObject*);

/** Handle to a registered console variable sink. */
class FConsoleVariableSinkHandle
{
public:
	FConsoleVariableSinkHandle() {}
	explicit FConsoleVariableSinkHandle(FDelegateHandle InHandle)
		: Handle(InHandle)
	{
	}

	template <typename MulticastDelegateType>
	void RemoveFromDelegate(MulticastDelegateType& MulticastDelegate)
	{
		MulticastDelegate.Remove(Handle);
	}

	template <typename DelegateType>
	bool HasSameHandle(const DelegateType& Delegate) const
	{
		return Delegate.GetHandle() == Handle;
	}

private:
	FDelegateHandle Handle;
};

/** Console commands and variables by name; registered objects are released by the manager. */
struct IConsoleManager
{
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, bool DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, float DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const FString& DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	/** A variable that writes every applied value to RefValue (reads return the last applied value, not RefValue). */
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, bool& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, int32& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, float& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, FString& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;

	/** Calls the sinks if a variable was changed since the last call. */
	virtual void CallAllConsoleVariableSinks() = 0;
	virtual FConsoleVariableSinkHandle RegisterConsoleVariableSink_Handle(const FConsoleCommandDelegate& Command) = 0;
	virtual void UnregisterConsoleVariableSink_Handle(FConsoleVariableSinkHandle Handle) = 0;

	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldAndArgsDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	/** A command handled by an Exec function (known for completion only: executing it returns false). */
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, uint32 Flags = (uint32)ECVF_Default) = 0;

	/**
	 * Unregisters a console object, if it was registered.
	 * @param bKeepState a variable stays in memory (flagged ECVF_Unregistered) until its name is registered again
	 */
	virtual void UnregisterConsoleObject(IConsoleObject* ConsoleObject, bool bKeepState = true) = 0;
	virtual void UnregisterConsoleObject(const TCHAR* Name, bool bKeepState = true) = 0;

	/** A registered variable (null for a command or an unregistered variable). */
	virtual IConsoleVariable* FindConsoleVariable(const TCHAR* Name, bool bTrackFrequentCalls = true) const = 0;
	/** A variable or command (an unregistered variable is still found). */
	virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool bTrackFrequentCalls = true) const = 0;
	/** The name an object is registered under, spelled as registered; empty if it is not found. */
	virtual FString FindConsoleObjectName(const IConsoleObject* Obj) const = 0;

	TConsoleVariableData<bool>* FindTConsoleVariableDataBool(const TCHAR* Name) const
	{
		IConsoleVariable* P = FindConsoleVariable(Name);
		return P ? P->AsVariableBool() : nullptr;
	}
	TConsoleVariableData<int32>* FindTConsoleVariableDataInt(const TCHAR* Name) const
	{
		IConsoleVariable* P = FindConsoleVariable(Name);
		return P ? P->AsVariableInt() : nullptr;
	}
	TConsoleVariableData<float>* FindTConsoleVariableDataFloat(const TCHAR* Name) const
	{
		IConsoleVariable* P = FindConsoleVariable(Name);
		return P ? P->AsVariableFloat() : nullptr;
	}

	/** Visits every object whose name starts with the prefix (ignoring case). */
	virtual void ForEachConsoleObjectThatStartsWith(const FConsoleObjectVisitor& Visitor, const TCHAR* ThatStartsWith = TEXT("")) const = 0;
	/** Visits every object whose name contains all the space-separated words (ignoring case). */
	virtual void ForEachConsoleObjectThatContains(const FConsoleObjectVisitor& Visitor, const TCHAR* ThatContains) const = 0;

	/**
	 * Processes user input: "MyCVar" prints the value, "MyCVar -5.2" sets it (ECVF_SetByConsole), "MyCVar ?" prints the
	 * help; "MyCommand a b" runs the command with the arguments {"a", "b"}.
	 * The name is everything before the first space (only ' ' ends it) and matches ignoring case; a command's arguments
	 * are the rest split at spaces, tabs and line breaks, with no quoting; a variable's value is the rest trimmed, one
	 * pair of enclosing double quotes and a leading '=' removed.
	 * @return true if the name is known (false for an unknown or unregistered name, and when a command has no delegate)
	 */
	virtual bool ProcessUserConsoleInput(const TCHAR* Input, FOutputDevice& Ar, UWorld* InWorld) = 0;

	/** Whether a command or variable of this name is registered (an unregistered variable kept in memory counts). */
	virtual bool IsNameRegistered(const TCHAR* Name) const = 0;

	virtual FConsoleVariableMulticastDelegate& OnCVarUnregistered() = 0;
	virtual FConsoleObjectWithNameMulticastDelegate& OnConsoleObjectUnregistered() = 0;

	/** The console manager singleton (created on first use, never destroyed). */
	FORCEINLINE static IConsoleManager& Get()
	{
		if (!Singleton)
		{
			SetupSingleton();
			check(Singleton != nullptr);
		}
		return *Singleton;
	}

protected:
	virtual ~IConsoleManager() {}

private:
	static CORE_API IConsoleManager* Singleton;
	static CORE_API void SetupSingleton();
};

/** Registers a console variable sink for its lifetime (never removed, as in the engine). */
class FAutoConsoleVariableSink
{
public:
	FAutoConsoleVariableSink(const FConsoleCommandDelegate& InCommand)
		: Command(InCommand)
	{
		Handle = IConsoleManager::Get().RegisterConsoleVariableSink_Handle(Command);
	}
	virtual ~FAutoConsoleVariableSink()
	{
		// Not unregistered: destruction order at exit makes that unreliable.
	}

	const FConsoleCommandDelegate& Command;
	FConsoleVariableSinkHandle Handle;
};

/** Base class for autoregistering console objects: unregisters the object on destruction. */
class FAutoConsoleObject
{
protected:
	FAutoConsoleObject(IConsoleObject* InTarget)
		: Target(InTarget)
	{
		check(Target);
	}

public:
	virtual ~FAutoConsoleObject()
	{
		IConsoleManager::Get().UnregisterConsoleObject(Target);
	}

	FORCEINLINE IConsoleVariable* AsVariable()
	{
		return static_cast<IConsoleVariable*>(Target);
	}
	FORCEINLINE const IConsoleVariable* AsVariable() const
	{
		return static_cast<const IConsoleVariable*>(Target);
	}

private:
	IConsoleObject* Target;
};

/** Autoregistering bool, int, float or string console variable. */
class FAutoConsoleVariable : private FAutoConsoleObject
{
public:
	FAutoConsoleVariable(const TCHAR* Name, bool DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
	}
	FAutoConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
	}
	FAutoConsoleVariable(const TCHAR* Name, float DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
	}
	FAutoConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
	}
	FAutoConsoleVariable(const TCHAR* Name, bool DefaultValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}
	FAutoConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}
	FAutoConsoleVariable(const TCHAR* Name, float DefaultValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}
	FAutoConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}

	FORCEINLINE IConsoleVariable& operator*() { return *AsVariable(); }
	FORCEINLINE const IConsoleVariable& operator*() const { return *AsVariable(); }
	FORCEINLINE IConsoleVariable* operator->() { return AsVariable(); }
	FORCEINLINE const IConsoleVariable* operator->() const { return AsVariable(); }
};

/** Autoregistering variable that writes every applied value to a C++ variable. */
class FAutoConsoleVariableRef : private FAutoConsoleObject
{
public:
	FAutoConsoleVariableRef(const TCHAR* Name, int32& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
	}
	FAutoConsoleVariableRef(const TCHAR* Name, float& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
	}
	FAutoConsoleVariableRef(const TCHAR* Name, bool& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
	}
	FAutoConsoleVariableRef(const TCHAR* Name, FString& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
	}
	FAutoConsoleVariableRef(const TCHAR* Name, int32& RefValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}
	FAutoConsoleVariableRef(const TCHAR* Name, float& RefValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}
	FAutoConsoleVariableRef(const TCHAR* Name, bool& RefValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}
	FAutoConsoleVariableRef(const TCHAR* Name, FString& RefValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariableRef(Name, RefValue, Help, Flags))
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}

	virtual ~FAutoConsoleVariableRef() {}

	FORCEINLINE IConsoleVariable& operator*() { return *AsVariable(); }
	FORCEINLINE const IConsoleVariable& operator*() const { return *AsVariable(); }
	FORCEINLINE IConsoleVariable* operator->() { return AsVariable(); }
	FORCEINLINE const IConsoleVariable* operator->() const { return AsVariable(); }
};

/** The value of a typed console variable, readable without a virtual call. */
template <class T>
class TConsoleVariableData
{
public:
	TConsoleVariableData(const T DefaultValue)
	{
		for (uint32 i = 0; i < 2; ++i)
		{
			ShadowedValue[i] = DefaultValue;
		}
	}

	T GetValueOnGameThread() const { return ShadowedValue[0]; }
	T GetValueOnRenderThread() const { return ShadowedValue[1]; }
	T GetValueOnAnyThread(bool bForceGameThread = false) const
	{
		(void)bForceGameThread;
		return ShadowedValue[0];
	}

private:
	// [0]: game thread, [1]: render thread (the stand-in updates both at once).
	T ShadowedValue[2];

	T& GetReferenceOnAnyThread(bool bForceGameThread = false)
	{
		(void)bForceGameThread;
		return ShadowedValue[0];
	}

	template <class T2> friend class FConsoleVariable;
	template <class T2> friend class TAutoConsoleVariable;
};

/** Autoregistering bool, int32, float or FString console variable with typed access. */
template <class T>
class TAutoConsoleVariable : public FAutoConsoleObject
{
public:
	TAutoConsoleVariable(const TCHAR* Name, const T& DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleVariable(Name, DefaultValue, Help, Flags))
	{
		if constexpr (std::is_same_v<T, bool>)
		{
			Ref = AsVariable()->AsVariableBool();
		}
		else if constexpr (std::is_same_v<T, int32>)
		{
			Ref = AsVariable()->AsVariableInt();
		}
		else if constexpr (std::is_same_v<T, float>)
		{
			Ref = AsVariable()->AsVariableFloat();
		}
		else if constexpr (std::is_same_v<T, FString>)
		{
			Ref = AsVariable()->AsVariableString();
		}
		else
		{
			static_assert(sizeof(T) == 0, "Not supported");
		}
	}

	TAutoConsoleVariable(const TCHAR* Name, const T& DefaultValue, const TCHAR* Help, const FConsoleVariableDelegate& Callback, uint32 Flags = ECVF_Default)
		: TAutoConsoleVariable(Name, DefaultValue, Help, Flags)
	{
		AsVariable()->SetOnChangedCallback(Callback);
	}

	T GetValueOnGameThread() const { return Ref->GetValueOnGameThread(); }
	T GetValueOnRenderThread() const { return Ref->GetValueOnRenderThread(); }
	T GetValueOnAnyThread(bool bForceGameThread = false) const { return Ref->GetValueOnAnyThread(bForceGameThread); }

	FORCEINLINE IConsoleVariable& operator*() { return *AsVariable(); }
	FORCEINLINE const IConsoleVariable& operator*() const { return *AsVariable(); }
	FORCEINLINE IConsoleVariable* operator->() { return AsVariable(); }
	FORCEINLINE const IConsoleVariable* operator->() const { return AsVariable(); }

private:
	TConsoleVariableData<T>* Ref;
};

/** Autoregistering console command. */
class FAutoConsoleCommand : private FAutoConsoleObject
{
public:
	FAutoConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
	FAutoConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
	FAutoConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
	FAutoConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
	FAutoConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
	FAutoConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
};

/** Autoregistering console command with a world. */
class FAutoConsoleCommandWithWorld : private FAutoConsoleObject
{
public:
	FAutoConsoleCommandWithWorld(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
};

/** Autoregistering console command with a world and arguments. */
class FAutoConsoleCommandWithWorldAndArgs : private FAutoConsoleObject
{
public:
	FAutoConsoleCommandWithWorldAndArgs(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldAndArgsDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
};

/** Autoregistering console command with arguments and an output device. */
class FAutoConsoleCommandWithArgsAndOutputDevice : private FAutoConsoleObject
{
public:
	FAutoConsoleCommandWithArgsAndOutputDevice(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
};

/** Autoregistering console command with an output device. */
class FAutoConsoleCommandWithOutputDevice : private FAutoConsoleObject
{
public:
	FAutoConsoleCommandWithOutputDevice(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
};

/** Autoregistering console command with a world, arguments and an output device. */
class FAutoConsoleCommandWithWorldArgsAndOutputDevice : private FAutoConsoleObject
{
public:
	FAutoConsoleCommandWithWorldArgsAndOutputDevice(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
};

CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogConsoleResponse, Log, All);
