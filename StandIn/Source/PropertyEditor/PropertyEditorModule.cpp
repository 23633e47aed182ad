// The property editor module: registry of details customizations by class name, and the details layout.
#include "PropertyEditorModule.h"

#include "DetailLayoutBuilder.h"
#include "DetailWidgetRow.h"
#include "Modules/ModuleManager.h"
#include "Styling/AppStyle.h"

IMPLEMENT_MODULE(FPropertyEditorModule, PropertyEditor)

const float FDetailWidgetRow::DefaultValueMinWidth = 125.0f;
const float FDetailWidgetRow::DefaultValueMaxWidth = 125.0f;

void FPropertyEditorModule::StartupModule()
{
}

void FPropertyEditorModule::ShutdownModule()
{
	ClassNameToDetailLayoutNameMap.Empty();
}

void FPropertyEditorModule::RegisterCustomClassLayout(FName ClassName, FOnGetDetailCustomizationInstance DetailLayoutDelegate, FRegisterCustomClassLayoutParams Params)
{
	if (ClassName != NAME_None)
	{
		FDetailLayoutCallback Callback;
		Callback.DetailLayoutDelegate = DetailLayoutDelegate;
		Callback.Order = Params.OptionalOrder.IsSet() ? Params.OptionalOrder.GetValue() : RegistrationCount;
		++RegistrationCount;
		ClassNameToDetailLayoutNameMap.Add(ClassName, Callback);
	}
}

void FPropertyEditorModule::UnregisterCustomClassLayout(FName ClassName)
{
	if (ClassName != NAME_None)
	{
		ClassNameToDetailLayoutNameMap.Remove(ClassName);
	}
}

void FPropertyEditorModule::NotifyCustomizationModuleChanged()
{
	++CustomizationChangeCount;
}

FSlateFontInfo IDetailLayoutBuilder::GetDetailFont()
{
	return FAppStyle::GetFontStyle(TEXT("PropertyWindow.NormalFont"));
}

FSlateFontInfo IDetailLayoutBuilder::GetDetailFontBold()
{
	return FAppStyle::GetFontStyle(TEXT("PropertyWindow.BoldFont"));
}
