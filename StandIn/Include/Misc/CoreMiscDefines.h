#pragma once

#include "HAL/Platform.h"

enum { INDEX_NONE = -1 };

enum EForceInit
{
	ForceInit,
	ForceInitToZero
};

enum ENoInit
{
	NoInit
};

#define UE_ARRAY_COUNT(Array) (sizeof(Array) / sizeof((Array)[0]))
#define LOCTEXT_PASTE_NAMESPACE(x) x

/**
 * Handle of a physical input device (ApplicationCore allocates them through the platform input device mapper).
 * Declared here, in Core, as in the engine [SRC: the reflected mirror in CoreUObject's NoExportTypes.h says
 * "Opaque struct for the FInputDeviceId struct defined in CoreMiscDefines.h"]. Member set beyond
 * GetId/IsValid/CreateFromInternalId/comparison: UNCONFIRMED for 5.5; no conversion from or to int32 is offered.
 */
struct FInputDeviceId
{
	constexpr FInputDeviceId() = default;

	static constexpr FInputDeviceId CreateFromInternalId(int32 InInternalId)
	{
		FInputDeviceId Id;
		Id.InternalId = InInternalId;
		return Id;
	}

	constexpr int32 GetId() const { return InternalId; }
	constexpr bool IsValid() const { return InternalId >= 0; }

	constexpr bool operator==(const FInputDeviceId& Other) const { return InternalId == Other.InternalId; }
	constexpr bool operator!=(const FInputDeviceId& Other) const { return InternalId != Other.InternalId; }
	friend uint32 GetTypeHash(const FInputDeviceId& Id) { return static_cast<uint32>(Id.InternalId); }

private:
	int32 InternalId = INDEX_NONE;
};

/**
 * Handle of a local user of the platform, which used to be the int32 controller id / local user index. Declared in
 * CoreMiscDefines.h as in the engine (see FInputDeviceId). Exact member set UNCONFIRMED for 5.5; no conversion
 * from or to int32 is offered.
 */
struct FPlatformUserId
{
	constexpr FPlatformUserId() = default;

	static constexpr FPlatformUserId CreateFromInternalId(int32 InInternalId)
	{
		FPlatformUserId Id;
		Id.InternalId = InInternalId;
		return Id;
	}

	constexpr int32 GetInternalId() const { return InternalId; }
	constexpr bool IsValid() const { return InternalId != INDEX_NONE; }

	constexpr bool operator==(const FPlatformUserId& Other) const { return InternalId == Other.InternalId; }
	constexpr bool operator!=(const FPlatformUserId& Other) const { return InternalId != Other.InternalId; }
	friend uint32 GetTypeHash(const FPlatformUserId& Id) { return static_cast<uint32>(Id.InternalId); }

private:
	int32 InternalId = INDEX_NONE;
};

/** No platform user / no input device. */
inline constexpr FPlatformUserId PLATFORMUSERID_NONE = FPlatformUserId::CreateFromInternalId(INDEX_NONE);
inline constexpr FInputDeviceId INPUTDEVICEID_NONE = FInputDeviceId::CreateFromInternalId(INDEX_NONE);
