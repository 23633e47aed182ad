// Delegates of Slate widgets (SlateCore).
#pragma once

#include "CoreMinimal.h"
#include "Input/Reply.h"

/** Notification when a button is clicked */
DECLARE_DELEGATE_RetVal(FReply, FOnClicked);
