// UPrimitiveComponent of the stand-in engine (module Engine): a scene component with geometry and physics.
#pragma once

#include "CoreMinimal.h"
#include "Components/SceneComponent.h"
#include "PrimitiveComponent.generated.h"

/**
 * A scene component that can collide and simulate physics. The stand-in has no physics scene: the
 * simulation flag is kept and reported by IsSimulatingPhysics, and nothing moves by itself.
 */
UCLASS(Abstract, HideCategories = (Mobility, VirtualTexture), ShowCategories = (PhysicsVolume), MinimalAPI)
class ENGINE_API UPrimitiveComponent : public USceneComponent
{
	GENERATED_BODY()

public:
	UPrimitiveComponent(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Turns physics simulation of the component on or off. */
	virtual void SetSimulatePhysics(bool bSimulate);

	/** Whether the component simulates physics. */
	virtual bool IsSimulatingPhysics(FName BoneName = NAME_None) const;

private:
	bool bSimulatePhysics = false;
};
