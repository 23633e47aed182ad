// Enumerations of Slate layout (SlateCore).
#pragma once

#include "CoreMinimal.h"

/** Horizontal alignment of a widget in its slot. */
enum EHorizontalAlignment : int
{
	HAlign_Fill = 0,
	HAlign_Left = 1,
	HAlign_Center = 2,
	HAlign_Right = 3,
};

/** Vertical alignment of a widget in its slot. */
enum EVerticalAlignment : int
{
	VAlign_Fill = 0,
	VAlign_Top = 1,
	VAlign_Center = 2,
	VAlign_Bottom = 3,
};
