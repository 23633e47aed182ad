// USubsystem of the stand-in engine (module Engine): the base of objects the engine creates automatically
// with the lifetime of their owner (engine, game instance, world, local player).
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Subsystem.generated.h"

class FSubsystemCollectionBase;

/**
 * A subsystem. The owner's collection creates one instance of every non-abstract subclass of its base type
 * whose ShouldCreateSubsystem accepts the owner, calls Initialize on each, and Deinitialize when the owner
 * goes away.
 */
UCLASS(Abstract, MinimalAPI)
class ENGINE_API USubsystem : public UObject
{
	GENERATED_BODY()

public:
	/** Whether a subsystem of this class should be created for Outer (the owner). Default: yes. */
	virtual bool ShouldCreateSubsystem(UObject* /*Outer*/) const { return true; }

	/** Called once after the owner created the subsystem. */
	virtual void Initialize(FSubsystemCollectionBase& /*Collection*/) {}

	/** Called once before the owner releases the subsystem. */
	virtual void Deinitialize() {}
};
