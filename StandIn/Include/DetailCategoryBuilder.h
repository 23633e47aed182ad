// IDetailCategoryBuilder (PropertyEditor): a category of the details panel, to which custom rows are added.
#pragma once

#include "CoreMinimal.h"

class FDetailWidgetRow;

namespace ECategoryPriority
{
	enum Type
	{
		Variable = 0,
		Transform,
		Important,
		TypeSpecific,
		Default,
		Uncommon,
	};
}

class IDetailCategoryBuilder
{
public:
	virtual ~IDetailCategoryBuilder() {}

	/**
	 * Adds a custom row to the category.
	 * @param FilterString	A string which is used to filter this custom row when a user types into the details panel search box
	 * @param bForAdvanced	Whether the widget should appear in the advanced section
	 */
	virtual FDetailWidgetRow& AddCustomRow(const FText& FilterString, bool bForAdvanced = false) = 0;

	/** The name of the category. */
	virtual FName GetName() const = 0;
};
