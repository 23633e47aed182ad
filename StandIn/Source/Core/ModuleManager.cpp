#include "Modules/ModuleManager.h"
#include "Containers/Map.h"
#include "Containers/StringConv.h"
#include "StandInState.h"

#include "ModuleLibrary.h"

DEFINE_LOG_CATEGORY_STATIC(LogModuleManager, Log, All);

namespace
{
	/** The manager's state; also reached by the test controls below. */
	struct FModuleRegistry
	{
		struct FModuleInfo
		{
			TUniquePtr<IModuleInterface> Module;
			int32 LoadOrder = 0;
		};

		TMap<FName, FInitializeStaticallyLinkedModule> Initializers;
		TMap<FName, FString> LibraryPaths;
		TMap<FName, void*> OpenedLibraries;
		TMap<FName, FModuleInfo> Modules;
		int32 NextLoadOrder = 0;
	};

	FModuleRegistry* GModuleRegistry = nullptr;
}

struct FModuleManager::FImpl : FModuleRegistry
{
};

namespace
{
	/** Opens a module's shared library; its static initialisers register the module's factory. */
	void* OpenLibrary(const FString& Path, FString& OutError)
	{
		std::string Error;
		void* Handle = StandInModuleLibrary::Open(std::string(FTCHARToUTF8(*Path).Get()), Error);
		if (!Handle)
		{
			OutError = FString(UTF8_TO_TCHAR(Error.c_str()));
		}
		return Handle;
	}
}

FModuleManager& FModuleManager::Get()
{
	static FModuleManager* Instance = new FModuleManager();
	return *Instance;
}

FModuleManager::FModuleManager()
	: Impl(new FImpl())
{
	GModuleRegistry = Impl;
}

FModuleManager::~FModuleManager()
{
	delete Impl;
}

bool FModuleManager::IsModuleLoaded(const FName InModuleName) const
{
	return Impl->Modules.Contains(InModuleName);
}

bool FModuleManager::ModuleExists(const TCHAR* ModuleName) const
{
	const FName Name(ModuleName);
	return Impl->Modules.Contains(Name) || Impl->Initializers.Contains(Name) || Impl->LibraryPaths.Contains(Name);
}

int32 FModuleManager::GetModuleCount() const
{
	return Impl->Modules.Num();
}

IModuleInterface* FModuleManager::LoadModule(const FName InModuleName, ELoadModuleFlags InLoadModuleFlags)
{
	EModuleLoadResult Ignored = EModuleLoadResult::Success;
	return LoadModuleWithFailureReason(InModuleName, Ignored, InLoadModuleFlags);
}

IModuleInterface* FModuleManager::LoadModuleWithFailureReason(const FName InModuleName, EModuleLoadResult& OutFailureReason, ELoadModuleFlags InLoadModuleFlags)
{
	const bool bLogFailures = (static_cast<int32>(InLoadModuleFlags) & static_cast<int32>(ELoadModuleFlags::LogFailures)) != 0;
	OutFailureReason = EModuleLoadResult::Success;
	if (FModuleRegistry::FModuleInfo* Existing = Impl->Modules.Find(InModuleName))
	{
		return Existing->Module.Get();
	}

	if (!Impl->Initializers.Contains(InModuleName))
	{
		const FString* Path = Impl->LibraryPaths.Find(InModuleName);
		if (!Path)
		{
			OutFailureReason = EModuleLoadResult::FileNotFound;
			if (bLogFailures)
			{
				UE_LOG(LogModuleManager, Warning, TEXT("ModuleManager: Unable to load module '%s' because the file couldn't be found."), *InModuleName.ToString());
			}
			return nullptr;
		}
		if (!Impl->OpenedLibraries.Contains(InModuleName))
		{
			FString Error;
			void* Handle = OpenLibrary(*Path, Error);
			if (!Handle)
			{
				OutFailureReason = EModuleLoadResult::CouldNotBeLoadedByOS;
				if (bLogFailures)
				{
					UE_LOG(LogModuleManager, Warning, TEXT("ModuleManager: Unable to load module '%s' from '%s': %s"), *InModuleName.ToString(), **Path, *Error);
				}
				return nullptr;
			}
			Impl->OpenedLibraries.Add(InModuleName, Handle);
		}
	}

	const FInitializeStaticallyLinkedModule* Initializer = Impl->Initializers.Find(InModuleName);
	IModuleInterface* NewModule = (Initializer && Initializer->IsBound()) ? Initializer->Execute() : nullptr;
	if (!NewModule)
	{
		OutFailureReason = EModuleLoadResult::FailedToInitialize;
		if (bLogFailures)
		{
			UE_LOG(LogModuleManager, Warning, TEXT("ModuleManager: Unable to load module '%s' because its library registered no module."), *InModuleName.ToString());
		}
		return nullptr;
	}

	// The module counts as loaded while it starts up, so it can find itself through the manager.
	FModuleRegistry::FModuleInfo& Info = Impl->Modules.Add(InModuleName, FModuleRegistry::FModuleInfo{});
	Info.Module.Reset(NewModule);
	Info.LoadOrder = Impl->NextLoadOrder++;
	NewModule->StartupModule();
	ModulesChangedEvent.Broadcast(InModuleName, 0);
	return NewModule;
}

IModuleInterface& FModuleManager::LoadModuleChecked(const FName InModuleName)
{
	IModuleInterface* Module = LoadModule(InModuleName, ELoadModuleFlags::LogFailures);
	checkf(Module, TEXT("%s"), *InModuleName.ToString());
	return *Module;
}

IModuleInterface* FModuleManager::GetModule(const FName InModuleName)
{
	FModuleRegistry::FModuleInfo* Info = Impl->Modules.Find(InModuleName);
	return Info ? Info->Module.Get() : nullptr;
}

bool FModuleManager::UnloadModule(const FName InModuleName, bool bIsShutdown, bool bAllowUnloadCode)
{
	(void)bIsShutdown;
	(void)bAllowUnloadCode; // libraries stay mapped: objects they created may still be referenced
	FModuleRegistry::FModuleInfo* Info = Impl->Modules.Find(InModuleName);
	if (!Info)
	{
		return false;
	}
	IModuleInterface* Module = Info->Module.Get();
	Module->PreUnloadCallback();
	Module->ShutdownModule();
	// Forget the module before destroying it, so it is not "loaded" while its destructor runs.
	TUniquePtr<IModuleInterface> Owned = MoveTemp(Info->Module);
	Impl->Modules.Remove(InModuleName);
	Owned.Reset();
	ModulesChangedEvent.Broadcast(InModuleName, 1);
	return true;
}

void FModuleManager::UnloadModulesAtShutdown()
{
	for (;;)
	{
		FName Newest;
		int32 NewestOrder = -1;
		for (const auto& Pair : Impl->Modules)
		{
			if (Pair.Value.LoadOrder > NewestOrder)
			{
				NewestOrder = Pair.Value.LoadOrder;
				Newest = Pair.Key;
			}
		}
		if (NewestOrder < 0)
		{
			break;
		}
		UnloadModule(Newest, true);
	}
}

void FModuleManager::RegisterStaticallyLinkedModule(const FName InModuleName, const FInitializeStaticallyLinkedModule& InInitializerDelegate)
{
	Impl->Initializers.Add(InModuleName, InInitializerDelegate);
}

namespace StandInState
{
	void RegisterModuleLibrary(const FName ModuleName, const FString& LibraryPath)
	{
		FModuleManager::Get();
		GModuleRegistry->LibraryPaths.Add(ModuleName, LibraryPath);
	}

	TArray<FName> GetLoadedModules()
	{
		FModuleManager::Get();
		TArray<TPair<int32, FName>> Ordered;
		for (const auto& Pair : GModuleRegistry->Modules)
		{
			Ordered.Add(TPair<int32, FName>(Pair.Value.LoadOrder, Pair.Key));
		}
		Ordered.Sort([](const TPair<int32, FName>& A, const TPair<int32, FName>& B) { return A.Key < B.Key; });
		TArray<FName> Result;
		for (const TPair<int32, FName>& Entry : Ordered)
		{
			Result.Add(Entry.Value);
		}
		return Result;
	}
}
