#include "Blueprints/TextureShareBlueprintContainers.h"
#include "Blueprints/TextureShareBlueprintContainersBase.h"
#include "TextureShareWorldSubsystem.h"
#include "Misc/ConfigCacheIni.h"

#include "TextureShareState.h"

namespace
{
const TCHAR* const DefaultShareName = TEXT("DefaultShareName");
}

FString FTextureShareObjectDesc::GetTextureShareObjectName() const
{
	return ShareName.IsEmpty() ? FString(DefaultShareName) : ShareName;
}

UTextureShareObject::UTextureShareObject(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

void UTextureShareObject::SendCustomData(const TMap<FString, FString>& InSendParameters)
{
	CustomData.SendParameters = InSendParameters;
}

UTextureShare::UTextureShare(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

UTextureShareObject* UTextureShare::GetOrCreateTextureShareObject(const FString& InShareName)
{
	FTextureShareObjectDesc Desc;
	Desc.ShareName = InShareName;
	const FString Name = Desc.GetTextureShareObjectName();
	for (UTextureShareObject* Object : TextureShareObjects)
	{
		// FString comparison ignores case, as share names do.
		if (Object != nullptr && Object->Desc.GetTextureShareObjectName() == Name)
		{
			return Object;
		}
	}
	UTextureShareObject* Created = NewObject<UTextureShareObject>(this);
	Created->Desc = Desc;
	TextureShareObjects.Add(Created);
	return Created;
}

bool UTextureShare::RemoveTextureShareObject(const FString& InShareName)
{
	FTextureShareObjectDesc Desc;
	Desc.ShareName = InShareName;
	const FString Name = Desc.GetTextureShareObjectName();
	const int32 Removed = TextureShareObjects.RemoveAll([&Name](const TObjectPtr<UTextureShareObject>& Object) {
		return Object == nullptr || Object->Desc.GetTextureShareObjectName() == Name;
	});
	return Removed > 0;
}

UTextureShareObject* UTextureShare::GetTextureShareObject(const FString& InShareName) const
{
	FTextureShareObjectDesc Desc;
	Desc.ShareName = InShareName;
	const FString Name = Desc.GetTextureShareObjectName();
	for (UTextureShareObject* Object : TextureShareObjects)
	{
		if (Object != nullptr && Object->IsEnabled() && Object->Desc.GetTextureShareObjectName() == Name)
		{
			return Object;
		}
	}
	return nullptr;
}

const TArray<UTextureShareObject*> UTextureShare::GetTextureShareObjects() const
{
	TArray<UTextureShareObject*> Result;
	for (UTextureShareObject* Object : TextureShareObjects)
	{
		if (Object != nullptr)
		{
			Result.Add(Object);
		}
	}
	return Result;
}

TSet<FString> UTextureShare::GetTextureShareObjectNames() const
{
	TSet<FString> Names;
	for (UTextureShareObject* Object : TextureShareObjects)
	{
		if (Object != nullptr)
		{
			Names.Add(Object->Desc.GetTextureShareObjectName());
		}
	}
	return Names;
}

UTextureShareWorldSubsystem::UTextureShareWorldSubsystem() = default;

UTextureShare* UTextureShareWorldSubsystem::GetTextureShare() const
{
	return TextureShare;
}

void UTextureShareWorldSubsystem::Initialize(FSubsystemCollectionBase& Collection)
{
	Super::Initialize(Collection);
	// The plug-in's settings (the project's game configuration) decide whether the world gets a UTextureShare,
	// which starts with one default share object; without it GetTextureShare has nothing to return.
	bool bCreateDefaults = true;
	GConfig->GetBool(TEXT("/Script/Plugins.TextureShare"), TEXT("bCreateDefaults"), bCreateDefaults, GGameIni);
	if (bCreateDefaults)
	{
		TextureShare = NewObject<UTextureShare>(this);
		TextureShare->GetOrCreateTextureShareObject(FString(DefaultShareName))->bEnable = true;
	}
	TextureShareState::AddSubsystem(this);
}

void UTextureShareWorldSubsystem::Deinitialize()
{
	TextureShareState::RemoveSubsystem(this);
	TextureShare = nullptr;
	Super::Deinitialize();
}

void UTextureShareWorldSubsystem::Tick(float DeltaTime)
{
	Super::Tick(DeltaTime);
	TextureShareState::SyncObjects();
}

TStatId UTextureShareWorldSubsystem::GetStatId() const
{
	RETURN_QUICK_DECLARE_CYCLE_STAT(UTextureShareWorldSubsystem, STATGROUP_Tickables);
}
