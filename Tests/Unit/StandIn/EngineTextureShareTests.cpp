// The TextureShare stand-in: share objects of a world's UTextureShare, the API's frame numbers, and the
// delivery of send parameters through the channel the host simulator reads.
#include "EngineTestSupport.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "CoreGlobals.h"
#include "Engine/World.h"
#include "ITextureShare.h"
#include "ITextureShareAPI.h"
#include "ITextureShareObject.h"
#include "Misc/ConfigCacheIni.h"
#include "Modules/ModuleManager.h"
#include "TextureShareWorldSubsystem.h"

#include <fstream>
#include <iterator>
#include <string>

namespace
{
using EngineTestSupport::EngineFixture;

class EngineTextureShare_test : public EngineFixture
{
protected:
	UTextureShare* StartWorld()
	{
		EngineTesting::StartGameEngine();
		World = EngineTesting::CreateGameWorld();
		EngineTesting::StartPlay(World);
		return World->GetSubsystem<UTextureShareWorldSubsystem>()->GetTextureShare();
	}

	std::string ReadChannelFile(const std::string& ShareName) const
	{
		std::ifstream File(ChannelDirectory / (ShareName + ".params"), std::ios::binary);
		return File.is_open() ? std::string(std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()) : std::string("<missing>");
	}

	uint32 FrameOf(const TCHAR* ShareName) const
	{
		const TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe> Object = ITextureShare::Get().GetTextureShareAPI().GetObject(ShareName);
		return Object.IsValid() ? Object->GetCoreData().FrameMarker.CustomFrameIndex1 : 0;
	}

	UWorld* World = nullptr;
};

TEST_F(EngineTextureShare_test, ModuleIsLoadedByNameWithTheEngine)
{
	EngineTesting::StartGameEngine();

	EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("TextureShare")));
	EXPECT_TRUE(ITextureShare::IsAvailable());
	EXPECT_EQ(&ITextureShare::Get(), &FModuleManager::LoadModuleChecked<ITextureShare>(TEXT("TextureShare")));
}

TEST_F(EngineTextureShare_test, ShareObjectsAreCreatedFoundAndRemovedByCaseInsensitiveName)
{
	UTextureShare* TextureShare = StartWorld();
	ASSERT_NE(TextureShare, nullptr);
	// By default a new UTextureShare starts with an enabled default object.
	EXPECT_TRUE(TextureShare->GetTextureShareObjectNames().Contains(TEXT("DefaultShareName")));

	UTextureShareObject* Created = TextureShare->GetOrCreateTextureShareObject(TEXT("Abc_"));
	ASSERT_NE(Created, nullptr);
	EXPECT_FALSE(Created->bEnable);
	EXPECT_EQ(TextureShare->GetOrCreateTextureShareObject(TEXT("ABC_")), Created);
	EXPECT_EQ(TextureShare->GetTextureShareObject(TEXT("abc_")), nullptr) << "only enabled objects are returned";
	Created->bEnable = true;
	EXPECT_EQ(TextureShare->GetTextureShareObject(TEXT("abc_")), Created);

	EXPECT_TRUE(TextureShare->RemoveTextureShareObject(TEXT("DefaultShareName")));
	EXPECT_FALSE(TextureShare->RemoveTextureShareObject(TEXT("DefaultShareName")));
	EXPECT_EQ(TextureShare->GetTextureShareObjects().Num(), 1);
}

TEST_F(EngineTextureShare_test, ASettingInTheEngineConfigurationDoesNotRemoveTheTextureShare)
{
	// The plug-in's own settings live in the game configuration; a key of the same name elsewhere changes nothing.
	GConfig->SetBool(TEXT("/Script/TextureShare.TextureShareSettings"), TEXT("bCreateDefaults"), false, GEngineIni);
	UTextureShare* TextureShare = StartWorld();
	GConfig->RemoveKey(TEXT("/Script/TextureShare.TextureShareSettings"), TEXT("bCreateDefaults"), GEngineIni);
	ASSERT_NE(TextureShare, nullptr);
	EXPECT_TRUE(TextureShare->GetTextureShareObjectNames().Contains(TEXT("DefaultShareName")));
}

TEST_F(EngineTextureShare_test, WithoutDefaultsInTheGameConfigurationAWorldHasNoTextureShare)
{
	GConfig->SetBool(TEXT("/Script/Plugins.TextureShare"), TEXT("bCreateDefaults"), false, GGameIni);
	UTextureShare* TextureShare = StartWorld();
	GConfig->RemoveKey(TEXT("/Script/Plugins.TextureShare"), TEXT("bCreateDefaults"), GGameIni);
	EXPECT_EQ(TextureShare, nullptr);
}

TEST_F(EngineTextureShare_test, ApiObjectFollowsTheEnableFlagAndCountsRenderedFrames)
{
	UTextureShare* TextureShare = StartWorld();
	UTextureShareObject* Object = TextureShare->GetOrCreateTextureShareObject(TEXT("share_"));
	ITextureShareAPI& API = ITextureShare::Get().GetTextureShareAPI();

	EngineTesting::RunFrame();
	EXPECT_FALSE(API.IsObjectExist(TEXT("share_"))) << "a disabled object takes no part";

	Object->bEnable = true;
	EngineTesting::RunFrame();
	EngineTesting::RunFrame();
	EngineTesting::RunFrame();
	EXPECT_TRUE(API.IsObjectExist(TEXT("SHARE_")));
	EXPECT_EQ(FrameOf(TEXT("share_")), 3u);

	const TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe> Held = API.GetObject(TEXT("share_"));
	TextureShare->bEnable = false;
	EngineTesting::RunFrame();
	EXPECT_FALSE(API.IsObjectExist(TEXT("share_")));
	ASSERT_TRUE(Held.IsValid());
	EXPECT_FALSE(Held->IsActive());
}

TEST_F(EngineTextureShare_test, SendParametersAreDeliveredWithTheFrameNumberThenEmptied)
{
	UTextureShare* TextureShare = StartWorld();
	UTextureShareObject* Object = TextureShare->GetOrCreateTextureShareObject(TEXT("123abc_"));
	Object->bEnable = true;
	EngineTesting::RunFrame();

	Object->CustomData.SendParameters.Add(TEXT("KEY1"), TEXT("old"));
	Object->CustomData.SendParameters.Add(TEXT("KEY2"), TEXT("a=b\\c"));
	Object->CustomData.SendParameters.Add(TEXT("key1"), TEXT("new"));
	EngineTesting::RunFrame();

	// Keys ignore case: the newest value (and spelling) of KEY1 is delivered, in the map's order.

	EXPECT_EQ(ReadChannelFile("123abc_"), "frame 2\nkey1=new\nKEY2=a\\=b\\\\c\n");
	EXPECT_EQ(Object->CustomData.SendParameters.Num(), 0);
	const TArray<TextureShareTesting::FDelivery> Deliveries = TextureShareTesting::GetDeliveries();
	ASSERT_EQ(Deliveries.Num(), 1);
	EXPECT_EQ(Deliveries[0].ShareName, TEXT("123abc_"));
	EXPECT_EQ(Deliveries[0].Frame, 2u);
	ASSERT_EQ(Deliveries[0].Parameters.Num(), 2);
	EXPECT_EQ(Deliveries[0].Parameters[0].Value, TEXT("new"));

	// A frame without parameters delivers nothing and leaves the last delivered frame in place.
	EngineTesting::RunFrame();
	EXPECT_EQ(TextureShareTesting::GetDeliveries().Num(), 1);
	EXPECT_EQ(ReadChannelFile("123abc_"), "frame 2\nkey1=new\nKEY2=a\\=b\\\\c\n");

	Object->SendCustomData({{TEXT("K"), TEXT("V")}});
	EngineTesting::RunFrame();
	EXPECT_EQ(ReadChannelFile("123abc_"), "frame 4\nK=V\n");

	// The object going away removes its channel file.
	TextureShare->RemoveTextureShareObject(TEXT("123ABC_"));
	EngineTesting::RunFrame();
	EXPECT_EQ(ReadChannelFile("123abc_"), "<missing>");
}

TEST_F(EngineTextureShare_test, DestroyingTheWorldEndsItsShareObjectsAndTheirChannelFiles)
{
	UTextureShare* TextureShare = StartWorld();
	UTextureShareObject* Object = TextureShare->GetOrCreateTextureShareObject(TEXT("gone_"));
	Object->bEnable = true;
	Object->CustomData.SendParameters.Add(TEXT("K"), TEXT("V"));
	EngineTesting::RunFrame();
	ASSERT_EQ(ReadChannelFile("gone_"), "frame 1\nK=V\n");

	EngineTesting::StopPlay();
	EngineTesting::DestroyWorld(World);

	EXPECT_FALSE(ITextureShare::Get().GetTextureShareAPI().IsObjectExist(TEXT("gone_")));
	EXPECT_EQ(ReadChannelFile("gone_"), "<missing>");
}

TEST_F(EngineTextureShare_test, OnlyGameEditorAndPlayInEditorWorldsGetTheSubsystem)
{
	EngineTesting::StartGameEngine();

	EXPECT_NE(UWorld::CreateWorld(EWorldType::Game, true)->GetSubsystem<UTextureShareWorldSubsystem>(), nullptr);
	EXPECT_NE(UWorld::CreateWorld(EWorldType::PIE, true)->GetSubsystem<UTextureShareWorldSubsystem>(), nullptr);
	EXPECT_NE(UWorld::CreateWorld(EWorldType::Editor, true)->GetSubsystem<UTextureShareWorldSubsystem>(), nullptr);
	EXPECT_EQ(UWorld::CreateWorld(EWorldType::EditorPreview, true)->GetSubsystem<UTextureShareWorldSubsystem>(), nullptr);
	EXPECT_EQ(UWorld::CreateWorld(EWorldType::Inactive, true)->GetSubsystem<UTextureShareWorldSubsystem>(), nullptr);
}

} // namespace
