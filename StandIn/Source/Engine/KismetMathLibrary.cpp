// The math functions of Blueprints (the stand-in has the boolean ones).
#include "Kismet/KismetMathLibrary.h"

bool UKismetMathLibrary::BooleanAND(bool A, bool B)
{
	return A && B;
}

bool UKismetMathLibrary::BooleanOR(bool A, bool B)
{
	return A || B;
}

bool UKismetMathLibrary::Not_PreBool(bool A)
{
	return !A;
}
