// Test controls of the stand-in's details panel (module PropertyEditor): show the details of objects as the
// editor's details view does (the layouts registered for their class and its super classes build the panel), act
// on it as a user does (click a button), and edit properties the way the panel notifies objects of edits.
//
// A panel is built from the registrations of FPropertyEditorModule ("PropertyEditor" must be loaded): for each class
// from the objects' class up to UObject whose name (without its prefix) has a registered layout, the layout's
// delegate makes a customization, and each customization's CustomizeDetails is called with the panel's layout
// builder, the super classes' customizations first. The panel keeps its customizations until it is destroyed.
//
// Property edits notify the edited object as the details panel does: PreEditChange with the edited member property
// (the array, for an edit of an array or of one of its elements), the change, then PostEditChangeChainProperty with
// the changed property, its member property, the kind of change, and the index of the array element (the object's
// own default PostEditChangeChainProperty passes it on to PostEditChangeProperty).
#pragma once

#include "CoreMinimal.h"
#include "Input/Reply.h"
#include "Fonts/SlateFontInfo.h"

class FDetailWidgetRow;
class FProperty;
class SWidget;
class UObject;

namespace PropertyEditorTesting
{
	/** One custom row a customization added. */
	struct FCustomRow
	{
		/** The category the row is in. */
		FName Category;
		/** The text the row was added with (AddCustomRow's filter string). */
		FText FilterString;
		bool bForAdvanced = false;
		/** The row's widgets; valid while the panel lives. */
		const FDetailWidgetRow* Row = nullptr;
	};

	/** A details panel showing objects. */
	class STANDIN_ENGINE_API FDetailsPanel
	{
	public:
		virtual ~FDetailsPanel() {}

		/** The categories customizations edited, in the order of first use. */
		virtual TArray<FName> GetCategoryNames() const = 0;

		/** The display name a category was edited with last (empty when none was given). */
		virtual FText GetCategoryDisplayName(FName Category) const = 0;

		/** The custom rows, in the order they were added. */
		virtual TArray<FCustomRow> GetCustomRows() const = 0;

		/** How many customizations were made for the panel. */
		virtual int32 GetNumCustomizations() const = 0;

		/**
		 * Clicks the first button (in row order, name, value then whole-row part) whose text is ButtonText, as a user
		 * does (a disabled button does nothing); false when there is no such button. OutReply, if given, receives
		 * what the button's click handler answered.
		 */
		virtual bool ClickButton(const FText& ButtonText, FReply* OutReply = nullptr) = 0;
	};

	/** Shows the details of Objects (all of one class or of classes with a common base) in a new panel. */
	STANDIN_ENGINE_API TSharedRef<FDetailsPanel> ShowDetails(const TArray<UObject*>& Objects);

	/** The text of a widget: the text of the first text block at or under it (depth first), or empty. */
	STANDIN_ENGINE_API FText GetWidgetText(const TSharedRef<SWidget>& Widget);

	/** The font of the first text block at or under a widget, or none. */
	STANDIN_ENGINE_API TOptional<FSlateFontInfo> GetWidgetFont(const TSharedRef<SWidget>& Widget);

	/** The class names with a registered details layout, sorted. */
	STANDIN_ENGINE_API TArray<FName> GetRegisteredClassLayouts();

	/** How many times the property editor was told that customizations changed. */
	STANDIN_ENGINE_API int32 GetCustomizationChangeNotifications();

	/** Edits a member property of an object: Change receives the value's address. */
	STANDIN_ENGINE_API void EditProperty(UObject* Object, FName PropertyName, TFunction<void(void* Value)> Change);

	/** Adds a default element at the end of an array property (EPropertyChangeType::ArrayAdd); returns its index. */
	STANDIN_ENGINE_API int32 AddArrayElement(UObject* Object, FName ArrayPropertyName);

	/** Inserts a default element into an array property at Index (EPropertyChangeType::ArrayAdd). */
	STANDIN_ENGINE_API void InsertArrayElement(UObject* Object, FName ArrayPropertyName, int32 Index);

	/** Duplicates the element at Index of an array property (EPropertyChangeType::Duplicate, array index Index). */
	STANDIN_ENGINE_API void DuplicateArrayElement(UObject* Object, FName ArrayPropertyName, int32 Index);

	/** Removes the element at Index of an array property (EPropertyChangeType::ArrayRemove). */
	STANDIN_ENGINE_API void RemoveArrayElement(UObject* Object, FName ArrayPropertyName, int32 Index);

	/** Empties an array property (EPropertyChangeType::ArrayClear). */
	STANDIN_ENGINE_API void ClearArray(UObject* Object, FName ArrayPropertyName);

	/**
	 * Edits a member of the structure at Index of an array property (EPropertyChangeType::ValueSet): Change receives
	 * the member's address.
	 */
	STANDIN_ENGINE_API void EditArrayElementMember(UObject* Object, FName ArrayPropertyName, int32 Index, FName MemberName, TFunction<void(void* Value)> Change);
}
