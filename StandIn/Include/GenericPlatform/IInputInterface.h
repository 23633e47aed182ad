// Force-feedback types shared by input devices (ApplicationCore).
#pragma once

#include "CoreMinimal.h"

enum class FForceFeedbackChannelType
{
	LEFT_LARGE,
	LEFT_SMALL,
	RIGHT_LARGE,
	RIGHT_SMALL
};

struct FForceFeedbackValues
{
	float LeftLarge = 0.0f;
	float LeftSmall = 0.0f;
	float RightLarge = 0.0f;
	float RightSmall = 0.0f;
};

/** Base of the properties a device can be given (light colour, trigger resistance, ...). */
struct FInputDeviceProperty
{
	explicit FInputDeviceProperty(FName InName) : Name(InName) {}
	FName Name;
};
