// SBorder (Slate): a widget around one content widget.
#pragma once

#include "CoreMinimal.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SLATE_API SBorder : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SBorder) {}
		SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
		SLATE_ARGUMENT(EVerticalAlignment, VAlign)
		SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_END_ARGS()

	SBorder();

	void Construct(const FArguments& InArgs);

	/** Sets the content of the border. */
	void SetContent(TSharedRef<SWidget> InContent);

	/** The content of the border. */
	const TSharedRef<SWidget>& GetContent() const;
};
