// Texture sharing: the share object that carries the rendered image to the host, the list of share objects
// announced to the host, and the share parameters through which values reach the host frame-stamped.
#include "KorvatPluginModule.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "Engine/World.h"
#include "ITextureShare.h"
#include "ITextureShareAPI.h"
#include "ITextureShareObject.h"
#include "Subsystems/WorldSubsystem.h"
#include "UObject/Class.h"

#include "KorvatPluginLog.h"
#include "KorvatTrace.h"
#include "KorvatValueId.h"
#include "ParameterForm.h"

#include <span>
#include <vector>

namespace
{
/** The share object the engine would create by itself; removed so that only the module's object is shared. */
const TCHAR* const DefaultShareName = TEXT("DefaultShareName");

uint32 ReadLittleEndian32(const uint8* Bytes)
{
	return static_cast<uint32>(Bytes[0]) | (static_cast<uint32>(Bytes[1]) << 8) | (static_cast<uint32>(Bytes[2]) << 16) |
		(static_cast<uint32>(Bytes[3]) << 24);
}
} // namespace

FString FKorvatPlugin::FormatShareName(const Korvat::UE4::GUID& InLaunchId)
{
	return FString::Printf(TEXT("%x%x%x%x%x_"), InLaunchId.Data1, static_cast<uint32>(InLaunchId.Data2),
		static_cast<uint32>(InLaunchId.Data3), ReadLittleEndian32(InLaunchId.Data4), ReadLittleEndian32(InLaunchId.Data4 + 4));
}

void FKorvatPlugin::RefreshFrameMarker()
{
	static const FName TextureShareModuleName(TEXT("TextureShare"));
	ITextureShare& TextureShare = FModuleManager::LoadModuleChecked<ITextureShare>(TextureShareModuleName);
	TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe> Object = TextureShare.GetTextureShareAPI().GetObject(ShareName());
	if (Object.IsValid())
	{
		FrameMarker = static_cast<int32>(Object->GetCoreData().FrameMarker.CustomFrameIndex1);
	}
}

UTextureShare* FKorvatPlugin::FindWorldTextureShare(UWorld* World) const
{
	UWorldSubsystem* Subsystem = nullptr;
	for (UWorldSubsystem* Candidate : World->GetSubsystemArrayCopy<UWorldSubsystem>())
	{
		if (Candidate != nullptr && Candidate->GetClass()->GetName().Equals(TEXT("TextureShareWorldSubsystem"), ESearchCase::IgnoreCase))
		{
			Subsystem = Candidate;
			break;
		}
	}
	if (Subsystem == nullptr)
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("Unreal TextureShareWorldSubsystem unavailable!"));
		return nullptr;
	}

	UFunction* GetTextureShare = Subsystem->FindFunction(FName(TEXT("GetTextureShare")));
	if (GetTextureShare == nullptr)
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("Unreal TextureShareWorldSubsystem doesn't have a GetTextureShare function!"));
		return nullptr;
	}

	struct FGetTextureShareParams
	{
		UObject* ReturnValue = nullptr;
	} Params;
	Subsystem->ProcessEvent(GetTextureShare, &Params);
	if (Params.ReturnValue == nullptr)
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("Unreal TextureShareWorldSubsystem::GetTextureShare call failed!"));
		return nullptr;
	}
	UTextureShare* TextureShare = Cast<UTextureShare>(Params.ReturnValue);
	if (TextureShare == nullptr)
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("Unreal TextureShareWorldSubsystem::GetTextureShare call return a non UTextureShare object!"));
	}
	return TextureShare;
}

void FKorvatPlugin::CreateKorvatTextureShare(UWorld* World)
{
	if (!IsRenderBackEndD3D11())
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("Korvat texture share requires using the DirectX 11 rendering backend, please switch your project to it."));
		return;
	}

	const FString Name = ShareName();
	UTextureShare* TextureShare = FindWorldTextureShare(World);
	if (TextureShare == nullptr)
	{
		return;
	}
	if (!IsValid(TextureShare))
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("TextureShare unavailable"));
		return;
	}

	TextureShare->RemoveTextureShareObject(DefaultShareName);
	UTextureShareObject* Object = TextureShare->GetOrCreateTextureShareObject(Name);
	if (Object == nullptr)
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("Failed to create Texture Share object by the name of '%s'"), *Name);
		return;
	}

	Object->bEnable = true;
	RegisterTextureShare(LaunchId, Object);
	UE_LOG(LogKorvatPlugin, Log, TEXT("Texture share by the name of '%s' created"), *Name);
}

void FKorvatPlugin::DestroyKorvatTextureShare(UWorld* World)
{
	if (World != nullptr)
	{
		UTextureShare* TextureShare = FindWorldTextureShare(World);
		if (TextureShare == nullptr)
		{
			return;
		}
		TextureShare->RemoveTextureShareObject(ShareName());
	}

	if (RegisteredTextureShares.erase(LaunchId) > 0)
	{
		SendTextureShareList();
	}
}

void FKorvatPlugin::RegisterTextureShare(const Korvat::UE4::GUID& Guid, UTextureShareObject* Object)
{
	const auto [Entry, bAdded] = RegisteredTextureShares.insert_or_assign(Guid, Object);
	if (bAdded)
	{
		SendTextureShareList();
	}
}

void FKorvatPlugin::UnRegisterTextureShare(const Korvat::UE4::GUID& Guid)
{
	if (RegisteredTextureShares.erase(Guid) > 0)
	{
		SendTextureShareList();
	}
}

UTextureShareObject* FKorvatPlugin::GetRegisteredTextureShare(const Korvat::UE4::GUID& Guid) const
{
	const auto Entry = RegisteredTextureShares.find(Guid);
	return Entry != RegisteredTextureShares.end() ? Entry->second.Get() : nullptr;
}

void FKorvatPlugin::SendTextureShareList()
{
	if (!Link.IsConnected())
	{
		return;
	}
	std::vector<Korvat::UE4::GUID> Ids;
	Ids.reserve(RegisteredTextureShares.size());
	for (const auto& Entry : RegisteredTextureShares)
	{
		Ids.push_back(Entry.first);
	}
	Link.SendTextureShareList(Ids);
}

void FKorvatPlugin::PublishParameter(uint32 Tag, uint32 Id, const Korvat::UE4::GUID& Identifier, const void* Payload, int32 Length)
{
	if (RegisteredTextureShares.empty())
	{
		return;
	}
	if (Trace.IsValid() && Trace->IsRecording())
	{
		Trace->RecordShareParameter(Tag, Id, std::span<const uint8>(static_cast<const uint8*>(Payload), static_cast<size_t>(Length)),
			FrameMarker);
	}
	Korvat::UE4::FormatParameterKey(Tag, Id, Identifier, ParameterKeyBuffer);
	Korvat::UE4::FormatParameterValue(
		FrameMarker, std::span<const uint8>(static_cast<const uint8*>(Payload), static_cast<size_t>(Length)), ParameterValueBuffer);
	FString Key(ParameterKeyBuffer.c_str());
	FString Value(ParameterValueBuffer.c_str());
	// Usually one share object is registered: the last one takes the strings themselves, the others copies.
	size_t Remaining = RegisteredTextureShares.size();
	for (const auto& Entry : RegisteredTextureShares)
	{
		--Remaining;
		if (UTextureShareObject* Object = Entry.second.Get())
		{
			if (Remaining == 0)
			{
				Object->CustomData.SendParameters.Add(MoveTemp(Key), MoveTemp(Value));
			}
			else
			{
				Object->CustomData.SendParameters.Add(Key, Value);
			}
		}
	}
}

void FKorvatPlugin::EchoAcceptedMessage(const Korvat::UE4::DecodedMessage& Message)
{
	// The host learns which of its values Unreal took over under the id of the value's name + "_synced".
	PublishParameter(Message.Tag, Korvat::SyncedEchoId(Message.Id), Message.Identifier, Message.Data, Message.Length);
}
