// The demo's stand-in for a project's Blueprint: it talks to the host only through the Korvat Blueprint function
// library, calling each function through reflection as the Blueprint VM does.
#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "KorvatDemoBlueprint.generated.h"

UCLASS()
class KORVATSANDBOX_API UKorvatDemoBlueprint : public UObject
{
	GENERATED_BODY()

public:
	/** The custom event bound to the host's method door.open. */
	UFUNCTION()
	void OnDoorOpen(int32 Argument);

	/** Registers OnDoorOpen for the host's calls of Door.Open. */
	void RegisterMethods();
	/** Reads every kind of value the host sent to the node Demo and prints it. */
	void ReadHostValues();
	/** Sends one value of every kind to the node Unreal, and triggers the event Door.Opened. */
	void SendValues();

	/** Where the Blueprint prints. */
	TFunction<void(const FString&)> Print;

private:
	/** Calls a function of the library through ProcessEvent with a parameter block laid out as the function's. */
	template <typename ParmsType>
	void CallLibrary(const TCHAR* FunctionName, ParmsType& Parms);
};
