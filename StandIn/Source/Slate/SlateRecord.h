// What Slate and the stand-in platform application were asked, kept for tests (read through
// StandIn/Testing/SlateTesting.h). Internal to the stand-in library.
#pragma once

#include "CoreMinimal.h"
#include "SlateTesting.h"

struct FSlateRecord
{
	TArray<SlateTesting::FMessageHandlerCall> SlateCalls;
	TArray<SlateTesting::FPlatformApplicationCall> PlatformApplicationCalls;
	TArray<SlateTesting::FInputDeviceCreation> InputDeviceCreations;
};

/** The record of this process. */
FSlateRecord& GetSlateRecord();
