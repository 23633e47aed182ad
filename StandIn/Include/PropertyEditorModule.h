// FPropertyEditorModule (PropertyEditor, loaded by name "PropertyEditor"): the registry of details panel
// customizations, keyed by class name (without its U or A prefix).
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "PropertyEditorDelegates.h"

class IDetailCustomization;

/** Options of a class layout registration. */
struct FRegisterCustomClassLayoutParams
{
	/** An order for the customization (lower ones are applied first); registration order when unset. */
	TOptional<int32> OptionalOrder;
};

class PROPERTYEDITOR_API FPropertyEditorModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/**
	 * Registers a custom detail layout delegate for a specific class
	 *
	 * @param ClassName	The name of the class that the custom detail layout is for
	 * @param DetailLayoutDelegate	The delegate to call when querying for custom detail layouts for the classes properties
	 */
	virtual void RegisterCustomClassLayout(FName ClassName, FOnGetDetailCustomizationInstance DetailLayoutDelegate, FRegisterCustomClassLayoutParams Params = FRegisterCustomClassLayoutParams());

	/**
	 * Unregisters a custom detail layout delegate for a specific class name
	 *
	 * @param ClassName	The class name with the custom detail layout delegate to remove
	 */
	virtual void UnregisterCustomClassLayout(FName ClassName);

	/** Call this to update any property editors that may need to refresh due to customization changes */
	virtual void NotifyCustomizationModuleChanged();

private:
	friend struct FPropertyEditorModuleAccess;

	struct FDetailLayoutCallback
	{
		FOnGetDetailCustomizationInstance DetailLayoutDelegate;
		int32 Order = 0;
	};

	/** Customizations by class name. */
	TMap<FName, FDetailLayoutCallback> ClassNameToDetailLayoutNameMap;

	/** Registrations so far; gives the order of registrations without one. */
	int32 RegistrationCount = 0;

	/** How many times the module was told customizations changed. */
	int32 CustomizationChangeCount = 0;
};
