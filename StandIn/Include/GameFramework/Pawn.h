// APawn of the stand-in engine (module Engine): an actor a controller can possess.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"
#include "Pawn.generated.h"

class AController;

/** An actor possessed by a controller; it faces the control rotation on the axes it is told to follow. */
UCLASS(Config = Game, BlueprintType, Blueprintable, HideCategories = (Navigation), MinimalAPI)
class ENGINE_API APawn : public AActor
{
	GENERATED_BODY()

public:
	APawn(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Pitch follows the controller's control rotation. */
	uint32 bUseControllerRotationPitch : 1;
	/** Yaw follows the controller's control rotation. */
	uint32 bUseControllerRotationYaw : 1;
	/** Roll follows the controller's control rotation. */
	uint32 bUseControllerRotationRoll : 1;

	/** Height of the eyes above the pawn's origin. */
	float BaseEyeHeight = 64.0f;

	/** The controller that possesses the pawn, or null. */
	TObjectPtr<AController> Controller;

	/** The controller that possesses the pawn, or null. */
	AController* GetController() const { return Controller; }

	/** The location the pawn sees from: its location raised by BaseEyeHeight. */
	virtual FVector GetPawnViewLocation() const;

	/** The rotation the pawn sees with: its controller's control rotation, else its own rotation. */
	virtual FRotator GetViewRotation() const;

	//~ Begin AActor Interface
	virtual void GetActorEyesViewPoint(FVector& OutLocation, FRotator& OutRotation) const override;
	//~ End AActor Interface

	/** Turns the pawn toward NewControlRotation on the axes that follow the controller. */
	virtual void FaceRotation(FRotator NewControlRotation, float DeltaTime = 0.f);

	/** Called when NewController possesses the pawn. */
	virtual void PossessedBy(AController* NewController);

	/** Called when the controller releases the pawn. */
	virtual void UnPossessed();
};
