// SCompoundWidget (SlateCore): a widget with one child slot.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/SWidget.h"
#include "Widgets/SNullWidget.h"

/** The one child of a compound widget; filled with ChildSlot[ Widget ]. */
class SLATECORE_API FCompoundWidgetOneChildSlot : public FChildren
{
public:
	FCompoundWidgetOneChildSlot();

	FCompoundWidgetOneChildSlot& operator[](const TSharedRef<SWidget>& InWidget)
	{
		Widget = InWidget;
		return *this;
	}

	const TSharedRef<SWidget>& GetWidget() const { return Widget; }

	virtual int32 Num() const override { return 1; }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override;

private:
	TSharedRef<SWidget> Widget;
};

class SLATECORE_API SCompoundWidget : public SWidget
{
public:
	virtual FChildren* GetChildren() override { return &ChildSlot; }

protected:
	SCompoundWidget() = default;

	/** The slot that contains this widget's descendants. */
	FCompoundWidgetOneChildSlot ChildSlot;
};
