#include "SandboxEngine.h"

#include "EngineTesting.h"
#include "Modules/ModuleManager.h"
#include "StandInTesting.h"

#include "KorvatPluginModule.h"

namespace Korvat::Sandbox
{

namespace
{
const TCHAR* const ModuleName = TEXT("KorvatPlugin");
const TCHAR* const EditorModuleName = TEXT("KorvatEditorPlugin");
} // namespace

FSandboxEngine::FSandboxEngine(FSandboxOptions InOptions) : Options(MoveTemp(InOptions))
{
}

FSandboxEngine::~FSandboxEngine()
{
	Shutdown();
}

FString FSandboxEngine::DefaultModulePath()
{
	return FString(TEXT(KORVAT_SANDBOX_MODULE_PATH));
}

bool FSandboxEngine::Start(FString& OutError)
{
	if (bRunning)
	{
		return true;
	}
	StandInTesting::SetGameThreadToCurrent();
	StandInTesting::SetDynamicRHIName(*Options.RhiName);

	// As the engine does: plug-in modules load (and start up) before the engine finishes initialising.
	StandInTesting::RegisterModuleLibrary(ModuleName, Options.ModulePath.IsEmpty() ? DefaultModulePath() : Options.ModulePath);
	if (FModuleManager::Get().LoadModule(ModuleName) == nullptr)
	{
		OutError = FString::Printf(TEXT("the module library '%s' could not be loaded"),
			Options.ModulePath.IsEmpty() ? *DefaultModulePath() : *Options.ModulePath);
		return false;
	}

	if (Options.bEditor)
	{
		// The editor module loads after the runtime module, in editor builds only.
		StandInTesting::RegisterModuleLibrary(EditorModuleName, FString(TEXT(KORVAT_SANDBOX_EDITOR_MODULE_PATH)));
		if (FModuleManager::Get().LoadModule(EditorModuleName) == nullptr)
		{
			OutError = TEXT("the editor module library could not be loaded");
			StandInTesting::ShutdownAllModules();
			return false;
		}
		EngineTesting::StartEditorEngine();
	}
	else
	{
		EngineTesting::StartGameEngine();
	}
	bRunning = true;
	return true;
}

void FSandboxEngine::RunFrames(int32 Count, float DeltaSeconds)
{
	for (int32 Frame = 0; bRunning && Frame < Count; ++Frame)
	{
		EngineTesting::RunFrame(DeltaSeconds);
	}
}

void FSandboxEngine::StartPlay()
{
	if (!bRunning || bPlaying)
	{
		return;
	}
	if (Options.bEditor)
	{
		EngineTesting::StartPlayInEditor(Options.PlayOptions);
	}
	else
	{
		GameWorld = EngineTesting::CreateGameWorld();
		EngineTesting::StartPlay(GameWorld, Options.PlayOptions);
	}
	bPlaying = true;
}

void FSandboxEngine::StopPlay()
{
	if (!bPlaying)
	{
		return;
	}
	if (Options.bEditor)
	{
		EngineTesting::StopPlayInEditor();
	}
	else
	{
		EngineTesting::StopPlay();
		EngineTesting::DestroyWorld(GameWorld);
		GameWorld = nullptr;
	}
	bPlaying = false;
}

UWorld* FSandboxEngine::CreateWorld()
{
	if (!bRunning)
	{
		return nullptr;
	}
	return Options.bEditor ? EngineTesting::CreateEditorWorld() : EngineTesting::CreateGameWorld();
}

void FSandboxEngine::Shutdown()
{
	if (!bRunning)
	{
		return;
	}
	StopPlay();
	EngineTesting::StopEngine();
	StandInTesting::ShutdownAllModules();
	bRunning = false;
}

FKorvatPlugin* FSandboxEngine::GetModule() const
{
	return bRunning ? static_cast<FKorvatPlugin*>(FModuleManager::Get().GetModule(ModuleName)) : nullptr;
}

} // namespace Korvat::Sandbox
