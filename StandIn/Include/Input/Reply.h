// FReply (SlateCore): what an event handler answers: whether it handled the event.
#pragma once

#include "CoreMinimal.h"

class SLATECORE_API FReply
{
public:
	/** The event was handled. */
	static FReply Handled() { return FReply(true); }

	/** The event was not handled; it goes on to other widgets. */
	static FReply Unhandled() { return FReply(false); }

	bool IsEventHandled() const { return bIsHandled; }

private:
	explicit FReply(bool bInIsHandled)
		: bIsHandled(bInIsHandled)
	{
	}

	bool bIsHandled;
};
