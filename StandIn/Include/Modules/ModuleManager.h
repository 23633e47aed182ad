// FModuleManager: modules by name. A module's library registers a factory under the module's name
// when it is loaded into the process (IMPLEMENT_MODULE runs at its static initialisation); loading a
// module opens its library if the factory is not known yet, creates the module object and starts it.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Delegates/Delegate.h"
#include "Misc/AssertionMacros.h"
#include "Modules/ModuleInterface.h"
#include "Templates/UniquePtr.h"
#include "UObject/NameTypes.h"

enum class ELoadModuleFlags
{
	None = 0x0,
	LogFailures = 1 << 0,
};

enum class EModuleLoadResult
{
	Success,
	FileNotFound,
	FileIncompatible,
	CouldNotBeLoadedByOS,
	FailedToInitialize
};

DECLARE_DELEGATE_RetVal(IModuleInterface*, FInitializeStaticallyLinkedModule);

class CORE_API FModuleManager
{
public:
	static FModuleManager& Get();

	~FModuleManager();
	FModuleManager(const FModuleManager&) = delete;
	FModuleManager& operator=(const FModuleManager&) = delete;

	bool IsModuleLoaded(const FName InModuleName) const;
	/** Whether the module can be loaded (its factory or library is known). */
	bool ModuleExists(const TCHAR* ModuleName) const;
	int32 GetModuleCount() const;

	IModuleInterface* LoadModule(const FName InModuleName, ELoadModuleFlags InLoadModuleFlags = ELoadModuleFlags::None);
	IModuleInterface* LoadModuleWithFailureReason(const FName InModuleName, EModuleLoadResult& OutFailureReason, ELoadModuleFlags InLoadModuleFlags = ELoadModuleFlags::None);
	/** Loads the module if needed; a module that cannot be loaded is a fatal error. */
	IModuleInterface& LoadModuleChecked(const FName InModuleName);
	IModuleInterface* GetModule(const FName InModuleName);
	bool UnloadModule(const FName InModuleName, bool bIsShutdown = false, bool bAllowUnloadCode = true);
	/** Shuts down and destroys every module, in reverse order of loading. */
	void UnloadModulesAtShutdown();

	/** Called by IMPLEMENT_MODULE when the module's library is loaded. */
	void RegisterStaticallyLinkedModule(const FName InModuleName, const FInitializeStaticallyLinkedModule& InInitializerDelegate);

	template <typename TModuleInterface>
	static TModuleInterface& GetModuleChecked(const FName ModuleName)
	{
		FModuleManager& ModuleManager = FModuleManager::Get();
		checkf(ModuleManager.IsModuleLoaded(ModuleName), TEXT("Tried to get module interface for unloaded module: '%s'"), *ModuleName.ToString());
		return static_cast<TModuleInterface&>(*ModuleManager.GetModule(ModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface* GetModulePtr(const FName ModuleName)
	{
		return static_cast<TModuleInterface*>(FModuleManager::Get().GetModule(ModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface& LoadModuleChecked(const FName InModuleName)
	{
		IModuleInterface& ModuleInterface = FModuleManager::Get().LoadModuleChecked(InModuleName);
		return static_cast<TModuleInterface&>(ModuleInterface);
	}

	template <typename TModuleInterface>
	static TModuleInterface* LoadModulePtr(const FName InModuleName)
	{
		return static_cast<TModuleInterface*>(FModuleManager::Get().LoadModule(InModuleName));
	}

	/** Fires after a module is loaded or unloaded. */
	DECLARE_MULTICAST_DELEGATE_TwoParams(FModulesChangedEvent, FName, int32 /*EModuleChangeReason*/);
	FModulesChangedEvent& OnModulesChanged() { return ModulesChangedEvent; }

private:
	FModuleManager();

	struct FImpl;
	FImpl* Impl;
	FModulesChangedEvent ModulesChangedEvent;
};

/** Registers a module's factory with the module manager when its library is initialised. */
template <class ModuleClass>
class FStaticallyLinkedModuleRegistrant
{
public:
	explicit FStaticallyLinkedModuleRegistrant(const TCHAR* InModuleName)
	{
		FModuleManager::Get().RegisterStaticallyLinkedModule(FName(InModuleName),
			FInitializeStaticallyLinkedModule::CreateStatic(&FStaticallyLinkedModuleRegistrant<ModuleClass>::InitializeModule));
	}

	static IModuleInterface* InitializeModule() { return new ModuleClass(); }
};

/** A module with no code of its own. */
class FDefaultModuleImpl : public IModuleInterface
{
};

class FDefaultGameModuleImpl : public FDefaultModuleImpl
{
public:
	virtual bool IsGameModule() const override { return true; }
};

#define IMPLEMENT_MODULE(ModuleImplClass, ModuleName) \
	static FStaticallyLinkedModuleRegistrant<ModuleImplClass> ModuleRegistrant##ModuleName(TEXT(#ModuleName));

#define IMPLEMENT_GAME_MODULE(ModuleImplClass, ModuleName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
#define IMPLEMENT_PRIMARY_GAME_MODULE(ModuleImplClass, ModuleName, GameName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
