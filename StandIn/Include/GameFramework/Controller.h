// AController of the stand-in engine (module Engine): the actor that possesses and steers a pawn.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"
#include "Controller.generated.h"

class APawn;

/** Possesses a pawn and holds the control rotation that steers it. */
UCLASS(Abstract, NotBlueprintable, MinimalAPI)
class ENGINE_API AController : public AActor
{
	GENERATED_BODY()

public:
	AController(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Takes control of InPawn (releasing the previous pawn). */
	void Possess(APawn* InPawn);

	/** Releases the possessed pawn. */
	void UnPossess();

	/** The possessed pawn, or null. */
	APawn* GetPawn() const { return Pawn; }

	/** The rotation the controller points its pawn at. */
	virtual FRotator GetControlRotation() const;

	/** Sets the control rotation. */
	virtual void SetControlRotation(const FRotator& NewRotation);

	/** The player's point of view: the pawn's eyes, else the controller's own location and control rotation. */
	virtual void GetPlayerViewPoint(FVector& Location, FRotator& Rotation) const;

	/**
	 * Replicated to the owning client: sets the control rotation and turns the pawn to face it. A local
	 * controller runs it at once.
	 */
	UFUNCTION(Reliable, Client, WithValidation)
	void ClientSetRotation(FRotator NewRotation, bool bResetCamera = false);

protected:
	/** Called when the controller possesses InPawn. */
	virtual void OnPossess(APawn* InPawn);

	/** Called when the controller releases its pawn. */
	virtual void OnUnPossess();

private:
	TObjectPtr<APawn> Pawn;
	FRotator ControlRotation = FRotator(0.0, 0.0, 0.0);
};
