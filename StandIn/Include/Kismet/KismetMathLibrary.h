// UKismetMathLibrary (Engine): the math functions Blueprints call. The stand-in has only the boolean ones.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "KismetMathLibrary.generated.h"

UCLASS(meta = (BlueprintThreadSafe, ScriptName = "MathLibrary"))
class ENGINE_API UKismetMathLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** Returns the logical AND of two values (A AND B) */
	UFUNCTION(BlueprintPure, meta = (DisplayName = "AND Boolean", CompactNodeTitle = "AND", Keywords = "& and", CommutativeAssociativeBinaryOperator = "true"), Category = "Math|Boolean")
	static bool BooleanAND(bool A, bool B);

	/** Returns the logical OR of two values (A OR B) */
	UFUNCTION(BlueprintPure, meta = (DisplayName = "OR Boolean", CompactNodeTitle = "OR", Keywords = "| or", CommutativeAssociativeBinaryOperator = "true"), Category = "Math|Boolean")
	static bool BooleanOR(bool A, bool B);

	/** Returns the logical complement of the Boolean value (NOT A) */
	UFUNCTION(BlueprintPure, meta = (DisplayName = "NOT Boolean", CompactNodeTitle = "NOT", Keywords = "! not negate"), Category = "Math|Boolean")
	static bool Not_PreBool(bool A);
};
