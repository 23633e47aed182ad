// IDetailLayoutBuilder (PropertyEditor): what a details customization receives: the objects shown and the
// categories of the panel.
#pragma once

#include "CoreMinimal.h"
#include "DetailCategoryBuilder.h"
#include "Fonts/SlateFontInfo.h"
#include "UObject/WeakObjectPtrTemplates.h"

class UObject;

class PROPERTYEDITOR_API IDetailLayoutBuilder
{
public:
	virtual ~IDetailLayoutBuilder() {}

	/**
	 * Edits the category with the specified name: it is created (in the order of first use) when the panel
	 * does not have it yet.
	 */
	virtual IDetailCategoryBuilder& EditCategory(FName CategoryName, const FText& NewLocalizedDisplayName = FText::GetEmpty(), ECategoryPriority::Type CategoryType = ECategoryPriority::Default) = 0;

	/** The objects whose details are shown, as weak pointers. */
	virtual void GetObjectsBeingCustomized(TArray<TWeakObjectPtr<UObject>>& OutObjects) const = 0;

	/** The selected objects the panel shows. */
	virtual const TArray<TWeakObjectPtr<UObject>>& GetSelectedObjects() const = 0;

	/** The font the details panel writes in ("PropertyWindow.NormalFont" of the application style). */
	static FSlateFontInfo GetDetailFont();

	/** The bold font of the details panel ("PropertyWindow.BoldFont"). */
	static FSlateFontInfo GetDetailFontBold();
};
