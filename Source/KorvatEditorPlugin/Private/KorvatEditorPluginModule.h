// The editor module object: the details-panel button of the multi-field nodes, and the editor's answers to the
// host's questions about the fields of Unreal-side nodes.
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Stats/Stats.h"
#include "Tickable.h"
#include "UE4ComCommon.h"

#include <string>
#include <vector>

DECLARE_LOG_CATEGORY_EXTERN(KorvatEditorPluginLog, Log, All);

class FKorvatEditorPlugin : public IModuleInterface, public FTickableGameObject
{
public:
	//~ Begin IModuleInterface Interface
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;
	//~ End IModuleInterface Interface

	//~ Begin FTickableGameObject Interface
	virtual void Tick(float DeltaTime) override;
	virtual ETickableTickType GetTickableTickType() const override { return ETickableTickType::Always; }
	virtual bool IsTickableWhenPaused() const override { return true; }
	virtual bool IsTickableInEditor() const override { return true; }
	virtual TStatId GetStatId() const override;
	//~ End FTickableGameObject Interface

	/**
	 * The fields of every loaded multi-field node that follows the host node NodeName (letter case ignored), in
	 * the order the engine lists the nodes, then of each node's fields; a field already listed with the same
	 * direction and name is left out.
	 */
	static std::vector<Korvat::UE4::FieldDescriptor> CollectFields(const std::string& NodeName);

private:
	/** The classes whose details layout this module registered, unregistered at shut-down. */
	TSet<FName> RegisteredClassNames;
};
