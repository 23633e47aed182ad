// SLeafWidget (SlateCore): a widget without children.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/SWidget.h"

class SLATECORE_API SLeafWidget : public SWidget
{
public:
	virtual FChildren* GetChildren() override { return &FNoChildren::NoChildrenInstance; }
};
