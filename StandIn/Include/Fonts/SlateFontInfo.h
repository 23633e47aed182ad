// FSlateFontInfo (SlateCore): which font a text is drawn with. The stand-in keeps the typeface and the size.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectPtr.h"

class UObject;

struct SLATECORE_API FSlateFontInfo
{
	/** The font object (valid when used from UMG or a Slate widget style asset) */
	TObjectPtr<const UObject> FontObject;

	/** The name of the font to use from the default typeface (Regular, Bold, Italic, ...). */
	FName TypefaceFontName;

	/** The font size is a measure in point values. */
	float Size;

	FSlateFontInfo()
		: FontObject(nullptr)
		, TypefaceFontName()
		, Size(24.0f)
	{
	}

	/** A font of a font asset (none in the stand-in), by its typeface and size. */
	FSlateFontInfo(const UObject* InFontObject, float InSize, const FName& InTypefaceFontName = NAME_None)
		: FontObject(InFontObject)
		, TypefaceFontName(InTypefaceFontName)
		, Size(InSize)
	{
	}

	bool IsIdenticalTo(const FSlateFontInfo& Other) const
	{
		return FontObject == Other.FontObject && TypefaceFontName == Other.TypefaceFontName && Size == Other.Size;
	}

	bool operator==(const FSlateFontInfo& Other) const { return IsIdenticalTo(Other); }
	bool operator!=(const FSlateFontInfo& Other) const { return !IsIdenticalTo(Other); }
};
