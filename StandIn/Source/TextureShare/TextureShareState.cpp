#include "TextureShareState.h"

#include "TextureShareChannel.h"
#include "TextureShareWorldSubsystem.h"
#include "Blueprints/TextureShareBlueprintContainers.h"
#include "UObject/WeakObjectPtrTemplates.h"

namespace
{

class FTextureShareObjectStandIn final : public ITextureShareObject
{
public:
	explicit FTextureShareObjectStandIn(const FString& InName)
		: Name(InName)
	{
	}

	virtual const FString& GetName() const override { return Name; }
	virtual bool IsActive() const override { return bActive; }
	virtual const FTextureShareCoreData& GetCoreData() const override { return CoreData; }

	FString Name;
	bool bActive = true;
	FTextureShareCoreData CoreData;
};

class FTextureShareAPIStandIn final : public ITextureShareAPI
{
public:
	virtual TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe> GetObject(const FString& ShareName) const override
	{
		const TSharedPtr<FTextureShareObjectStandIn, ESPMode::ThreadSafe>* Found = Objects.Find(ShareName);
		return Found != nullptr ? TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe>(*Found) : nullptr;
	}

	virtual bool IsObjectExist(const FString& ShareName) const override { return Objects.Contains(ShareName); }

	/** Keyed by share name; FString keys compare without regard to case, as share names do. */
	TMap<FString, TSharedPtr<FTextureShareObjectStandIn, ESPMode::ThreadSafe>> Objects;
};

struct FState
{
	TArray<TWeakObjectPtr<UTextureShareWorldSubsystem>> Subsystems;
	FTextureShareAPIStandIn API;
	TArray<TextureShareState::FDelivery> Deliveries;
};

FState& State()
{
	static FState Instance;
	return Instance;
}

// The enabled share objects of all live subsystems, first of each name (names are unique per process).
TArray<UTextureShareObject*> EnabledObjects()
{
	TArray<UTextureShareObject*> Result;
	TSet<FString> Seen;
	for (const TWeakObjectPtr<UTextureShareWorldSubsystem>& Weak : State().Subsystems)
	{
		UTextureShareWorldSubsystem* Subsystem = Weak.Get();
		UTextureShare* TextureShare = Subsystem != nullptr ? Subsystem->GetTextureShare() : nullptr;
		if (TextureShare == nullptr || !TextureShare->IsEnabled())
		{
			continue;
		}
		for (UTextureShareObject* Object : TextureShare->GetTextureShareObjects())
		{
			const FString Name = Object->Desc.GetTextureShareObjectName();
			if (Object->IsEnabled() && !Seen.Contains(Name))
			{
				Seen.Add(Name);
				Result.Add(Object);
			}
		}
	}
	return Result;
}

} // namespace

namespace TextureShareState
{

void AddSubsystem(UTextureShareWorldSubsystem* Subsystem)
{
	State().Subsystems.Add(Subsystem);
}

void RemoveSubsystem(UTextureShareWorldSubsystem* Subsystem)
{
	State().Subsystems.RemoveAll([Subsystem](const TWeakObjectPtr<UTextureShareWorldSubsystem>& Weak) { return !Weak.IsValid() || Weak.Get() == Subsystem; });
	SyncObjects();
}

void SyncObjects()
{
	FTextureShareAPIStandIn& API = State().API;
	const TArray<UTextureShareObject*> Enabled = EnabledObjects();
	TSet<FString> Live;
	for (UTextureShareObject* Object : Enabled)
	{
		const FString Name = Object->Desc.GetTextureShareObjectName();
		Live.Add(Name);
		if (!API.Objects.Contains(Name))
		{
			API.Objects.Add(Name, MakeShared<FTextureShareObjectStandIn, ESPMode::ThreadSafe>(Name));
		}
	}
	TArray<FString> Gone;
	for (const auto& Pair : API.Objects)
	{
		if (!Live.Contains(Pair.Key))
		{
			Gone.Add(Pair.Key);
		}
	}
	for (const FString& Name : Gone)
	{
		// Anyone still holding the object sees it inactive; the host sees its file disappear.
		API.Objects[Name]->bActive = false;
		API.Objects.Remove(Name);
		TextureShareChannel::Remove(Name);
	}
}

void RenderFrame()
{
	SyncObjects();
	FTextureShareAPIStandIn& API = State().API;
	for (UTextureShareObject* Object : EnabledObjects())
	{
		const FString Name = Object->Desc.GetTextureShareObjectName();
		FTextureShareObjectStandIn& ApiObject = *API.Objects[Name];
		ApiObject.CoreData.FrameMarker.NextFrame();
		TMap<FString, FString>& SendParameters = Object->CustomData.SendParameters;
		if (SendParameters.Num() == 0)
		{
			continue;
		}
		// Parameters wait in the map until a frame delivers them, so the newest value of each key wins;
		// delivering empties the map.
		FDelivery Delivery;
		Delivery.ShareName = Name;
		Delivery.Frame = ApiObject.CoreData.FrameMarker.CustomFrameIndex1;
		for (const auto& Pair : SendParameters)
		{
			Delivery.Parameters.Add(TPair<FString, FString>(Pair.Key, Pair.Value));
		}
		TextureShareChannel::Deliver(Name, Delivery.Frame, Delivery.Parameters);
		State().Deliveries.Add(MoveTemp(Delivery));
		SendParameters.Empty();
	}
}

ITextureShareAPI& GetAPI()
{
	return State().API;
}

TArray<FDelivery>& GetDeliveries()
{
	return State().Deliveries;
}

void Reset()
{
	for (const auto& Pair : State().API.Objects)
	{
		Pair.Value->bActive = false;
		TextureShareChannel::Remove(Pair.Key);
	}
	State().API.Objects.Empty();
	State().Deliveries.Empty();
}

} // namespace TextureShareState
