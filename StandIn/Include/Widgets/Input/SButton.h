// SButton (Slate): a clickable button; with a Text argument it shows a text block as its content.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Input/Reply.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Layout/SBorder.h"

class SLATE_API SButton : public SBorder
{
public:
	SLATE_BEGIN_ARGS(SButton) {}
		/** The text to display in this button, if no custom content is specified */
		SLATE_ATTRIBUTE(FText, Text)
		/** Called when the button is clicked */
		SLATE_EVENT(FOnClicked, OnClicked)
		/** Horizontal alignment of the content */
		SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
		/** Vertical alignment of the content */
		SLATE_ARGUMENT(EVerticalAlignment, VAlign)
		/** The text shown when hovering the button */
		SLATE_ATTRIBUTE(FText, ToolTipText)
		/** Slot for this button's content (optional) */
		SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_END_ARGS()

	SButton();

	void Construct(const FArguments& InArgs);

	/** Sets the delegate called when the button is clicked. */
	void SetOnClicked(FOnClicked InOnClicked);

	/** Runs OnClicked, whether or not the button is enabled (the engine's has it outside shipping builds). */
	void SimulateClick();

protected:
	/** Runs OnClicked if bound; Handled otherwise. */
	FReply ExecuteOnClick();

	/** The delegate to execute when the button is clicked */
	FOnClicked OnClicked;

private:
	friend struct FSlateWidgetTestingAccess;
};
