#include "KorvatEditorPluginModule.h"

#include "Containers/StringConv.h"
#include "KorvatD2IGetData.h"
#include "KorvatD2ISendData.h"
#include "KorvatPluginModule.h"
#include "KorvatSyncNodeDetails.h"
#include "Modules/ModuleManager.h"
#include "PropertyEditorModule.h"
#include "Templates/Casts.h"
#include "UObject/UObjectHash.h"

DEFINE_LOG_CATEGORY(KorvatEditorPluginLog);

namespace KorvatEditorPluginModule
{
const FName PropertyEditorModuleName(TEXT("PropertyEditor"));

void AppendUnique(std::vector<Korvat::UE4::FieldDescriptor>& Fields, Korvat::UE4::FieldDescriptor&& Field)
{
	for (const Korvat::UE4::FieldDescriptor& Listed : Fields)
	{
		if (Listed.IsFromKorvat == Field.IsFromKorvat && Listed.Name == Field.Name)
		{
			return;
		}
	}
	Fields.push_back(std::move(Field));
}

template <typename FieldType>
void AppendFields(std::vector<Korvat::UE4::FieldDescriptor>& Fields, const TArray<FieldType>& NodeFields)
{
	for (const FieldType& Field : NodeFields)
	{
		AppendUnique(Fields, DescriptorFromField(Field));
	}
}
} // namespace KorvatEditorPluginModule

void FKorvatEditorPlugin::StartupModule()
{
	using namespace KorvatEditorPluginModule;
	FPropertyEditorModule& PropertyEditor = FModuleManager::LoadModuleChecked<FPropertyEditorModule>(PropertyEditorModuleName);
	const FName ClassName = UKorvatD2ISyncNodeBase::StaticClass()->GetFName();
	check(ClassName != NAME_None);
	PropertyEditor.RegisterCustomClassLayout(ClassName, FOnGetDetailCustomizationInstance::CreateStatic(&FKorvatSyncNodeDetails::MakeInstance));
	RegisteredClassNames.Add(ClassName);
	PropertyEditor.NotifyCustomizationModuleChanged();
}

void FKorvatEditorPlugin::ShutdownModule()
{
	using namespace KorvatEditorPluginModule;
	if (!FModuleManager::Get().IsModuleLoaded(PropertyEditorModuleName))
	{
		return;
	}
	FPropertyEditorModule& PropertyEditor = FModuleManager::GetModuleChecked<FPropertyEditorModule>(PropertyEditorModuleName);
	for (const FName& ClassName : RegisteredClassNames)
	{
		PropertyEditor.UnregisterCustomClassLayout(ClassName);
	}
	PropertyEditor.NotifyCustomizationModuleChanged();
}

void FKorvatEditorPlugin::Tick(float DeltaTime)
{
	FKorvatPlugin* Runtime = FKorvatPlugin::FindLoaded();
	if (Runtime == nullptr)
	{
		return;
	}
	// Each question is handed out once, so each is answered once, even with an empty list.
	for (const auto& [RequestId, NodeName] : Runtime->GetFieldListRequests())
	{
		Runtime->SendFieldList(RequestId, CollectFields(NodeName));
	}
}

TStatId FKorvatEditorPlugin::GetStatId() const
{
	RETURN_QUICK_DECLARE_CYCLE_STAT(FKorvatEditorPlugin, STATGROUP_Tickables);
}

std::vector<Korvat::UE4::FieldDescriptor> FKorvatEditorPlugin::CollectFields(const std::string& NodeName)
{
	using namespace KorvatEditorPluginModule;
	const FString Name(FUTF8ToTCHAR(NodeName.data(), static_cast<int32>(NodeName.size())).Get());
	TArray<UObject*> Nodes;
	GetObjectsOfClass(UKorvatD2ISyncNodeBase::StaticClass(), Nodes, true, RF_ClassDefaultObject);

	std::vector<Korvat::UE4::FieldDescriptor> Fields;
	for (UObject* Object : Nodes)
	{
		const UKorvatD2ISyncNodeBase* Node = Cast<UKorvatD2ISyncNodeBase>(Object);
		if (Node == nullptr || !Node->nodeInKorvatToSyncFrom.Equals(Name, ESearchCase::IgnoreCase))
		{
			continue;
		}
		if (const UKorvatD2IGetData* Get = Cast<UKorvatD2IGetData>(Node))
		{
			AppendFields(Fields, Get->fromKorvatFields);
		}
		else if (const UKorvatD2ISendData* Send = Cast<UKorvatD2ISendData>(Node))
		{
			AppendFields(Fields, Send->toKorvatFields);
		}
	}
	return Fields;
}

IMPLEMENT_MODULE(FKorvatEditorPlugin, KorvatEditorPlugin)
