#pragma once

#include "CoreMinimal.h"
#include "RHIDefinitions.h"

/** The rendering back end. */
class RHI_API FDynamicRHI
{
public:
	virtual ~FDynamicRHI() {}

	/** The back end's name, e.g. "D3D11", "D3D12", "Vulkan". */
	virtual const TCHAR* GetName() = 0;
	virtual ERHIInterfaceType GetInterfaceType() const { return ERHIInterfaceType::Hidden; }
};

/** The back end in use; null before the RHI starts and in -nullrhi runs. */
extern RHI_API FDynamicRHI* GDynamicRHI;

RHI_API ERHIInterfaceType RHIGetInterfaceType();
