// SWidget (SlateCore): the base of every Slate widget. The stand-in draws nothing: a widget is its arguments,
// its children and its enabled state, enough to build a panel and act on it the way a user would.
#pragma once

#include "CoreMinimal.h"
#include "Misc/Attribute.h"

class SWidget;

/** The children of a widget. */
class SLATECORE_API FChildren
{
public:
	virtual ~FChildren() {}
	virtual int32 Num() const = 0;
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) = 0;
};

/** No children: what a leaf widget has. */
class SLATECORE_API FNoChildren : public FChildren
{
public:
	static FNoChildren NoChildrenInstance;
	virtual int32 Num() const override { return 0; }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override;
};

class SLATECORE_API SWidget : public TSharedFromThis<SWidget>
{
public:
	virtual ~SWidget();

	/** The widget's type name, as SNew created it ("STextBlock", ...). */
	FName GetType() const { return TypeOfWidget; }
	FString GetTypeAsString() const { return TypeOfWidget.ToString(); }

	/** Whether the widget is enabled (its own attribute; a disabled widget ignores input). */
	bool IsEnabled() const { return EnabledState.Get(true); }
	void SetEnabled(TAttribute<bool> InEnabledState) { EnabledState = InEnabledState; }

	/** The widget's children. */
	virtual FChildren* GetChildren() = 0;

	/** Records what SNew created the widget as (done by the declaration syntax). */
	void SetDebugInfo(const ANSICHAR* InType, const ANSICHAR* InFile, int32 OnLine);

protected:
	SWidget();

	TAttribute<bool> EnabledState;

private:
	FName TypeOfWidget;
};
