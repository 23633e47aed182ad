// A reflected object for the module tests to bind the module's dynamic delegates to, as a Blueprint's custom
// event would be bound: it records every call it receives in a log shared between receivers.
#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "KorvatTestReceiver.generated.h"

UCLASS()
class KORVATTESTFIXTURE_API UKorvatTestReceiver : public UObject
{
	GENERATED_BODY()

public:
	/** Appends "<Label>:<Argument>" to Log (when set), then runs OnCall (when set). */
	UFUNCTION()
	void OnMethod(int32 Argument);

	/** Appends "<Label>+other:<Argument>" to Log, so a test can tell which function of a receiver ran. */
	UFUNCTION()
	void OnOtherMethod(int32 Argument);

	FString Label;
	TArray<FString>* Log = nullptr;
	/** Runs inside OnMethod, after the call is logged. */
	TFunction<void(int32)> OnCall;
};
