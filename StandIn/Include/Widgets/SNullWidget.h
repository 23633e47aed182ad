// SNullWidget (SlateCore): the widget that stands for "no widget".
#pragma once

#include "CoreMinimal.h"
#include "Widgets/SWidget.h"

class SLATECORE_API SNullWidget
{
public:
	static TSharedRef<SWidget> NullWidget;
};
