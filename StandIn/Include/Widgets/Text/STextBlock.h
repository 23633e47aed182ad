// STextBlock (Slate): a widget that shows a text in a font.
#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SLeafWidget.h"

class SLATE_API STextBlock : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(STextBlock) {}
		/** The text displayed in this text block */
		SLATE_ATTRIBUTE(FText, Text)
		/** Sets the font used to draw the text */
		SLATE_ATTRIBUTE(FSlateFontInfo, Font)
		/** The text shown when hovering the widget */
		SLATE_ATTRIBUTE(FText, ToolTipText)
	SLATE_END_ARGS()

	STextBlock();
	virtual ~STextBlock();

	void Construct(const FArguments& InArgs);

	/** The text assigned to this text block */
	const FText& GetText() const;

	/** Sets the text for this text block */
	void SetText(TAttribute<FText> InText);

	/** Sets the font used to draw the text */
	void SetFont(const TAttribute<FSlateFontInfo>& InFont);

private:
	friend struct FSlateWidgetTestingAccess;

	TAttribute<FText> BoundText;
	TAttribute<FSlateFontInfo> Font;
};
