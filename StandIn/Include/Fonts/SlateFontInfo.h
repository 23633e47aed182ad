// FSlateFontInfo (SlateCore): which font a text is drawn with. The stand-in keeps the typeface and the size.
#pragma once

#include "CoreMinimal.h"

struct SLATECORE_API FSlateFontInfo
{
	/** The name of the font to use from the default typeface (Regular, Bold, Italic, ...). */
	FName TypefaceFontName;

	/** The font size is a measure in point values. */
	float Size;

	FSlateFontInfo()
		: TypefaceFontName()
		, Size(24.0f)
	{
	}

	FSlateFontInfo(const FName InTypefaceFontName, float InSize)
		: TypefaceFontName(InTypefaceFontName)
		, Size(InSize)
	{
	}

	bool IsIdenticalTo(const FSlateFontInfo& Other) const
	{
		return TypefaceFontName == Other.TypefaceFontName && Size == Other.Size;
	}

	bool operator==(const FSlateFontInfo& Other) const { return IsIdenticalTo(Other); }
	bool operator!=(const FSlateFontInfo& Other) const { return !IsIdenticalTo(Other); }
};
