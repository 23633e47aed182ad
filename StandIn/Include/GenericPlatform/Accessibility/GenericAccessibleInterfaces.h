// Accessibility interfaces of ApplicationCore. The stand-in keeps only the message handler that platform
// applications hold (GenericApplication::SetAccessibleMessageHandler), as the engine declares it under
// WITH_ACCESSIBILITY.
#pragma once

#include "CoreMinimal.h"

#if WITH_ACCESSIBILITY

/**
 * Receives accessibility requests from the platform (screen readers and the like). The engine's class has many
 * more members (widget lookup, event delegates); none is modelled.
 */
class FGenericAccessibleMessageHandler
{
public:
	FGenericAccessibleMessageHandler() = default;
	virtual ~FGenericAccessibleMessageHandler() = default;

	/** Whether the application is being driven by an accessibility client. */
	bool ApplicationIsAccessible() const { return bApplicationIsAccessible; }

protected:
	bool bApplicationIsAccessible = false;
};

#endif // WITH_ACCESSIBILITY
