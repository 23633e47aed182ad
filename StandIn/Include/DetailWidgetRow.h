// FDetailWidgetRow (PropertyEditor): a custom row of the details panel: a name part and a value part, or one
// widget across the whole row.
#pragma once

#include "CoreMinimal.h"
#include "DetailCategoryBuilder.h"
#include "Misc/Attribute.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SLeafWidget.h"
#include "Widgets/SWidget.h"

class FDetailWidgetRow;

/** Widget declaration for custom widgets in a widget row */
class FDetailWidgetDecl
{
public:
	FDetailWidgetDecl(class FDetailWidgetRow& InParentDecl, float InMinWidth, float InMaxWidth, EHorizontalAlignment InHAlign, EVerticalAlignment InVAlign)
		: Widget(SNew(SInvalidDetailWidget))
		, HorizontalAlignment(InHAlign)
		, VerticalAlignment(InVAlign)
		, MinWidth(InMinWidth)
		, MaxWidth(InMaxWidth)
		, ParentDecl(&InParentDecl)
	{
	}

	FDetailWidgetDecl(class FDetailWidgetRow& InParentDecl, const FDetailWidgetDecl& Other)
		: Widget(Other.Widget)
		, HorizontalAlignment(Other.HorizontalAlignment)
		, VerticalAlignment(Other.VerticalAlignment)
		, MinWidth(Other.MinWidth)
		, MaxWidth(Other.MaxWidth)
		, ParentDecl(&InParentDecl)
	{
	}

	/** Sets the widget; returns the row, so that the next part can follow. */
	FDetailWidgetRow& operator[](TSharedRef<SWidget> InWidget)
	{
		Widget = InWidget;
		return *ParentDecl;
	}

	FDetailWidgetDecl& VAlign(EVerticalAlignment InAlignment)
	{
		VerticalAlignment = InAlignment;
		return *this;
	}

	FDetailWidgetDecl& HAlign(EHorizontalAlignment InAlignment)
	{
		HorizontalAlignment = InAlignment;
		return *this;
	}

	FDetailWidgetDecl& MinDesiredWidth(TOptional<float> InMinWidth)
	{
		MinWidth = InMinWidth;
		return *this;
	}

	FDetailWidgetDecl& MaxDesiredWidth(TOptional<float> InMaxWidth)
	{
		MaxWidth = InMaxWidth;
		return *this;
	}

private:
	/** What a part holds until content is given. */
	class SInvalidDetailWidget : public SLeafWidget
	{
		SLATE_BEGIN_ARGS(SInvalidDetailWidget)
		{}
		SLATE_END_ARGS()

		void Construct(const FArguments& /*InArgs*/)
		{
		}
	};

public:
	TSharedRef<SWidget> Widget;
	EHorizontalAlignment HorizontalAlignment;
	EVerticalAlignment VerticalAlignment;
	TOptional<float> MinWidth;
	TOptional<float> MaxWidth;

private:
	class FDetailWidgetRow* ParentDecl;
};

static FName InvalidDetailWidgetName = TEXT("SInvalidDetailWidget");

/**
 * Represents a single row of custom widgets in a details panel
 */
class FDetailWidgetRow
{
public:
	PROPERTYEDITOR_API const static float DefaultValueMinWidth;
	PROPERTYEDITOR_API const static float DefaultValueMaxWidth;

	FDetailWidgetRow()
		: NameWidget(*this, 0.0f, 0.0f, HAlign_Left, VAlign_Center)
		, ValueWidget(*this, DefaultValueMinWidth, DefaultValueMaxWidth, HAlign_Left, VAlign_Center)
		, ExtensionWidget(*this, 0.0f, 0.0f, HAlign_Right, VAlign_Center)
		, WholeRowWidget(*this, 0.0f, 0.0f, HAlign_Fill, VAlign_Fill)
		, FilterTextString()
		, RowTagName()
	{
	}

	FDetailWidgetRow& operator=(const FDetailWidgetRow& Other)
	{
		NameWidget = FDetailWidgetDecl(*this, Other.NameWidget);
		ValueWidget = FDetailWidgetDecl(*this, Other.ValueWidget);
		ExtensionWidget = FDetailWidgetDecl(*this, Other.ExtensionWidget);
		WholeRowWidget = FDetailWidgetDecl(*this, Other.WholeRowWidget);
		IsEnabledAttr = Other.IsEnabledAttr;
		IsValueEnabledAttr = Other.IsValueEnabledAttr;
		FilterTextString = Other.FilterTextString;
		RowTagName = Other.RowTagName;
		return *this;
	}

	virtual ~FDetailWidgetRow() {}

	/**
	 * Assigns content to the entire row
	 */
	FDetailWidgetRow& operator[](TSharedRef<SWidget> InWidget)
	{
		WholeRowWidget.Widget = InWidget;
		return *this;
	}

	/**
	 * Assigns content to the whole slot, this is an explicit alternative to using []
	 */
	FDetailWidgetDecl& WholeRowContent()
	{
		return WholeRowWidget;
	}

	/**
	 * Assigns content to just the name slot
	 */
	FDetailWidgetDecl& NameContent()
	{
		return NameWidget;
	}

	/**
	 * Assigns content to the value slot
	 */
	FDetailWidgetDecl& ValueContent()
	{
		return ValueWidget;
	}

	/**
	 * Assigns content to the extension (right) slot
	 */
	FDetailWidgetDecl& ExtensionContent()
	{
		return ExtensionWidget;
	}

	/**
	 * Sets a string which should be used to filter the content when a user searches
	 */
	FDetailWidgetRow& FilterString(const FText& InFilterString)
	{
		FilterTextString = InFilterString;
		return *this;
	}

	/**
	 * Sets the enabled state of the entire row
	 */
	FDetailWidgetRow& IsEnabled(const TAttribute<bool>& InIsEnabled)
	{
		IsEnabledAttr = InIsEnabled;
		return *this;
	}

	/**
	 * Sets the enabled state of the value widget only
	 */
	FDetailWidgetRow& IsValueEnabled(const TAttribute<bool>& InIsEnabled)
	{
		IsValueEnabledAttr = InIsEnabled;
		return *this;
	}

	/**
	 * Sets a tag which can be used to identify this row
	 */
	FDetailWidgetRow& RowTag(const FName& InRowTagName)
	{
		RowTagName = InRowTagName;
		return *this;
	}

	bool HasNameContent() const
	{
		return NameWidget.Widget->GetType() != InvalidDetailWidgetName;
	}

	bool HasValueContent() const
	{
		return ValueWidget.Widget->GetType() != InvalidDetailWidgetName;
	}

	bool HasExtensionContent() const
	{
		return ExtensionWidget.Widget->GetType() != InvalidDetailWidgetName;
	}

	/**
	 * @return true if the row has columns, false if it spans the entire row
	 */
	bool HasColumns() const
	{
		return HasNameContent() || HasValueContent();
	}

	/**
	 * @return true of the row has any content
	 */
	bool HasAnyContent() const
	{
		return WholeRowWidget.Widget->GetType() != InvalidDetailWidgetName || HasColumns();
	}

public:
	/** Name column content */
	FDetailWidgetDecl NameWidget;
	/** Value column content */
	FDetailWidgetDecl ValueWidget;
	/** Extension (right) column content */
	FDetailWidgetDecl ExtensionWidget;
	/** Whole row content */
	FDetailWidgetDecl WholeRowWidget;
	/** IsEnabled of the row */
	TAttribute<bool> IsEnabledAttr;
	/** IsEnabled of the value widget only */
	TAttribute<bool> IsValueEnabledAttr;
	/** String to filter with */
	FText FilterTextString;
	/* Tag to identify this row */
	FName RowTagName;
};
