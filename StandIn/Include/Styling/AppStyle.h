// FAppStyle (SlateCore): the style set of the running application: "EditorStyle" in the editor, "CoreStyle"
// otherwise. The stand-in knows the fonts of the details panel and no brushes.
#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"

class SLATECORE_API FAppStyle
{
public:
	/** The name of the application's style set. */
	static const FName GetAppStyleSetName();

	/** Makes another style set the application's (the editor does, with its own, when it starts). */
	static void SetAppStyleSetName(const FName& InName);

	/** A font of the application's style; a default font for a name the style does not have. */
	static FSlateFontInfo GetFontStyle(const FName PropertyName, const ANSICHAR* Specifier = nullptr);
};
