// SlateCore: the widget base, its child slots, the null widget, icons and the application's style.
#include "Styling/AppStyle.h"
#include "Textures/SlateIcon.h"
#include "Widgets/SCompoundWidget.h"
#include "Widgets/SLeafWidget.h"
#include "Widgets/SNullWidget.h"
#include "Widgets/SWidget.h"

namespace
{
	/** What SNullWidget::NullWidget is: a leaf that shows nothing. */
	class SNullWidgetContent : public SLeafWidget
	{
	public:
		SNullWidgetContent() = default;
	};

	FName& AppStyleName()
	{
		static FName Name(TEXT("CoreStyle"));
		return Name;
	}
}

FNoChildren FNoChildren::NoChildrenInstance;

TSharedRef<SWidget> FNoChildren::GetChildAt(int32 Index)
{
	checkf(false, TEXT("A widget without children has no child %d"), Index);
	return SNullWidget::NullWidget;
}

TSharedRef<SWidget> SNullWidget::NullWidget = MakeShared<SNullWidgetContent>();

SWidget::SWidget()
	: EnabledState(true)
	, TypeOfWidget()
{
}

SWidget::~SWidget() = default;

void SWidget::SetDebugInfo(const ANSICHAR* InType, const ANSICHAR* /*InFile*/, int32 /*OnLine*/)
{
	TypeOfWidget = FName(*FString(InType));
}

FCompoundWidgetOneChildSlot::FCompoundWidgetOneChildSlot()
	: Widget(SNullWidget::NullWidget)
{
}

TSharedRef<SWidget> FCompoundWidgetOneChildSlot::GetChildAt(int32 Index)
{
	check(Index == 0);
	return Widget;
}

FSlateIcon::FSlateIcon()
	: bIsSet(false)
{
}

FSlateIcon::FSlateIcon(const FName InStyleSetName, const FName InStyleName)
	: StyleSetName(InStyleSetName)
	, StyleName(InStyleName)
	, SmallStyleName(FName(*(InStyleName.ToString() + TEXT(".Small"))))
	, bIsSet(true)
{
}

FSlateIcon::FSlateIcon(const FName InStyleSetName, const FName InStyleName, const FName InSmallStyleName)
	: StyleSetName(InStyleSetName)
	, StyleName(InStyleName)
	, SmallStyleName(InSmallStyleName)
	, bIsSet(true)
{
}

const FName FAppStyle::GetAppStyleSetName()
{
	return AppStyleName();
}

void FAppStyle::SetAppStyleSetName(const FName& InName)
{
	AppStyleName() = InName;
}

FSlateFontInfo FAppStyle::GetFontStyle(const FName PropertyName, const ANSICHAR* Specifier)
{
	FString Name = PropertyName.ToString();
	if (Specifier != nullptr)
	{
		Name += FString(Specifier);
	}
	// The fonts of the details panel, as the editor's style defines them.
	if (Name == TEXT("PropertyWindow.NormalFont"))
	{
		return FSlateFontInfo(static_cast<const UObject*>(nullptr), 8.0f, FName(TEXT("Regular")));
	}
	if (Name == TEXT("PropertyWindow.BoldFont"))
	{
		return FSlateFontInfo(static_cast<const UObject*>(nullptr), 8.0f, FName(TEXT("Bold")));
	}
	return FSlateFontInfo();
}
