// FSlateIcon (SlateCore): an icon named by a style set and a style (brush) name within it.
#pragma once

#include "CoreMinimal.h"

struct SLATECORE_API FSlateIcon
{
	/** An empty icon (nothing is set). */
	FSlateIcon();

	/** An icon of a style set, by its style name. */
	FSlateIcon(const FName InStyleSetName, const FName InStyleName);

	/** An icon of a style set, by its style name and the name of its small variant. */
	FSlateIcon(const FName InStyleSetName, const FName InStyleName, const FName InSmallStyleName);

	const FName& GetStyleSetName() const { return StyleSetName; }
	const FName& GetStyleName() const { return StyleName; }
	const FName& GetSmallStyleName() const { return SmallStyleName; }

	/** Whether the icon names a style. */
	bool IsSet() const { return bIsSet; }

	bool operator==(const FSlateIcon& Other) const
	{
		return StyleSetName == Other.StyleSetName && StyleName == Other.StyleName && SmallStyleName == Other.SmallStyleName && bIsSet == Other.bIsSet;
	}
	bool operator!=(const FSlateIcon& Other) const { return !(*this == Other); }

private:
	FName StyleSetName;
	FName StyleName;
	FName SmallStyleName;
	bool bIsSet;
};
