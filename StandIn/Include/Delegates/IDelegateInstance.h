#pragma once

#include "HAL/Platform.h"
#include "Templates/TypeHash.h"

/** Identifies one binding in a delegate, for removal. Default-constructed handles are invalid. */
class FDelegateHandle
{
public:
	enum EGenerateNewHandleType
	{
		GenerateNewHandle
	};

	FDelegateHandle()
		: ID(0)
	{
	}

	explicit FDelegateHandle(EGenerateNewHandleType)
		: ID(GenerateNewID())
	{
	}

	FORCEINLINE bool IsValid() const { return ID != 0; }
	FORCEINLINE void Reset() { ID = 0; }

	FORCEINLINE friend bool operator==(const FDelegateHandle& Lhs, const FDelegateHandle& Rhs) { return Lhs.ID == Rhs.ID; }
	FORCEINLINE friend bool operator!=(const FDelegateHandle& Lhs, const FDelegateHandle& Rhs) { return Lhs.ID != Rhs.ID; }
	FORCEINLINE friend uint32 GetTypeHash(const FDelegateHandle& Key) { return GetTypeHash(Key.ID); }

private:
	/** Process-wide, so handles from different modules never collide. */
	static CORE_API uint64 GenerateNewID();

	uint64 ID;
};
