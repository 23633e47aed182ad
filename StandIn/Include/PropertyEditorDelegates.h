// Delegates of the property editor (PropertyEditor).
#pragma once

#include "CoreMinimal.h"

class IDetailCustomization;

/** Makes a new customization of a class's details panel. */
DECLARE_DELEGATE_RetVal(TSharedRef<IDetailCustomization>, FOnGetDetailCustomizationInstance);
