// Texture sharing: the share list the host receives (TSHR), the share object's name, and the echo of host
// values through the share parameters, stamped with the frame marker. One test runs the module in a child
// process started with a known launch id, as the host starts Unreal.
#include "ModuleTestSupport.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "ITextureShare.h"
#include "ITextureShareAPI.h"
#include "ITextureShareObject.h"
#include "Modules/ModuleManager.h"
#include "ShareChannel.h"
#include "StandInTesting.h"
#include "TextureShareTesting.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include "KorvatPluginModule.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>

namespace Korvat::ModuleTesting
{
namespace
{
using Korvat::UE4::Tag::QLTY;
using Korvat::UE4::Tag::TSHR;
using Korvat::UE4::Tag::VINT;

/** A 32-bit word in the parameter form: its little-endian bytes as upper-case hexadecimal digits. */
std::string HexWord(std::uint32_t Word)
{
	char Text[9];
	std::snprintf(Text, sizeof(Text), "%02X%02X%02X%02X", Word & 0xFFu, (Word >> 8) & 0xFFu, (Word >> 16) & 0xFFu, (Word >> 24) & 0xFFu);
	return Text;
}

/** The GUID lists of every TSHR received, oldest first; a malformed one fails the test. */
std::vector<std::vector<GUID>> ShareLists(const std::vector<std::vector<std::uint8_t>>& Payloads)
{
	std::vector<std::vector<GUID>> Lists;
	for (const std::vector<std::uint8_t>& Payload : Payloads)
	{
		const std::optional<std::vector<GUID>> List = DecodeShareList(Payload);
		EXPECT_TRUE(List.has_value()) << "TSHR of " << Payload.size() << " bytes";
		Lists.push_back(List.value_or(std::vector<GUID>{}));
	}
	return Lists;
}

bool SameGuidSet(std::vector<GUID> Actual, std::vector<GUID> Expected)
{
	const auto Less = [](const GUID& A, const GUID& B) { return std::memcmp(&A, &B, sizeof(GUID)) < 0; };
	std::sort(Actual.begin(), Actual.end(), Less);
	std::sort(Expected.begin(), Expected.end(), Less);
	return Actual == Expected;
}

/** The frame number the API's share object of that name has now; -1 when there is none. */
int64 ApiFrameIndex(const std::string& ShareName)
{
	ITextureShare& TextureShare = FModuleManager::LoadModuleChecked<ITextureShare>(TEXT("TextureShare"));
	const TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe> Object = TextureShare.GetTextureShareAPI().GetObject(FString(ShareName.c_str()));
	return Object.IsValid() ? static_cast<int64>(Object->GetCoreData().FrameMarker.CustomFrameIndex1) : -1;
}

using TextureSharingTest = ModuleTest;

TEST_F(TextureSharingTest, ShareListIsSentOncePerConnectionAndOnEveryChange)
{
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	RunFrames(3);
	// The first connected frame announces the (empty) list: exactly the count 0.
	std::vector<std::vector<std::uint8_t>> Payloads = PayloadsOf(TSHR);
	ASSERT_EQ(Payloads.size(), 1u);
	EXPECT_EQ(Payloads[0], Words({0}));

	const GUID LaunchId = Module().GetKorvatLaunchID();
	ForgetReceived();
	Engine->StartPlay();
	RunFrames(3);
	std::vector<std::vector<GUID>> Lists = ShareLists(PayloadsOf(TSHR));
	ASSERT_EQ(Lists.size(), 1u);
	EXPECT_EQ(Lists[0], std::vector<GUID>({LaunchId}));

	// The same GUID again replaces the object silently; unknown GUIDs are not announced as removed.
	UTextureShareObject* Replacement = NewObject<UTextureShareObject>(GetTransientPackage());
	ForgetReceived();
	Module().RegisterTextureShare(LaunchId, Replacement);
	Module().UnRegisterTextureShare(MakeGuid(0xDEADBEEFu, 1, 2, {3}));
	RunFrames(1);
	EXPECT_TRUE(PayloadsOf(TSHR).empty());
	Send(VINT, Words({1, 5}));
	RunFrames(1);
	const FString* Echoed = Replacement->CustomData.SendParameters.Find(TEXT("56494E541A74B8F200000000000000000000000000000000"));
	ASSERT_NE(Echoed, nullptr);
	EXPECT_TRUE(Echoed->EndsWith(TEXT("05000000")));

	// A project's own share object is announced on registration and on removal.
	const GUID Other = MakeGuid(0x00000ABCu, 0x0001, 0x0002, {0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04});
	Module().RegisterTextureShare(Other, NewObject<UTextureShareObject>(GetTransientPackage()));
	Lists = ShareLists(PayloadsOf(TSHR));
	ASSERT_EQ(Lists.size(), 1u);
	EXPECT_TRUE(SameGuidSet(Lists[0], {LaunchId, Other}));
	Module().UnRegisterTextureShare(Other);
	Lists = ShareLists(PayloadsOf(TSHR));
	ASSERT_EQ(Lists.size(), 2u);
	EXPECT_EQ(Lists[1], std::vector<GUID>({LaunchId}));

	// A new connection hears the list once more, on its first connected frame.
	ForgetReceived();
	Host->Drop(Slot);
	ASSERT_TRUE(RunUntilConnected());
	RunFrames(3);
	Lists = ShareLists(PayloadsOf(TSHR));
	ASSERT_EQ(Lists.size(), 1u);
	EXPECT_EQ(Lists[0], std::vector<GUID>({LaunchId}));

	// Game stop drops the module's own entry.
	ForgetReceived();
	Engine->StopPlay();
	RunFrames(2);
	Payloads = PayloadsOf(TSHR);
	ASSERT_EQ(Payloads.size(), 1u);
	EXPECT_EQ(Payloads[0], Words({0}));
}

TEST_F(TextureSharingTest, HostConnectingWhileTheGameRunsHearsTheListOnce)
{
	StartEngine();
	Engine->StartPlay();
	RunFrames(3);
	StartHost();
	ASSERT_TRUE(RunUntilConnected());
	RunFrames(3);
	const std::vector<std::vector<GUID>> Lists = ShareLists(PayloadsOf(TSHR));
	ASSERT_EQ(Lists.size(), 1u);
	EXPECT_EQ(Lists[0], std::vector<GUID>({Module().GetKorvatLaunchID()}));
	EXPECT_EQ(Host->ReadSlot(Slot).GameRunning, 1);
}

TEST_F(TextureSharingTest, HostValueIsEchoedWithTheFrameMarkerOfTheShareObject)
{
	ASSERT_EQ(TextureShareTesting::GetChannelDirectory(), FString(ChannelDirectory.string().c_str()));
	StartHost();
	StartEngine();
	ASSERT_TRUE(RunUntilConnected());
	Engine->StartPlay();
	RunFrames(3);

	const std::string ShareName = ShareNameOf(Module().GetKorvatLaunchID());
	// The module's tick of the last frame ran before that frame was rendered, which advanced the object once.
	const int64 FrameNow = ApiFrameIndex(ShareName);
	ASSERT_GT(FrameNow, 1);
	const auto Marker = static_cast<std::uint32_t>(FrameNow - 1);
	const int32 DeliveriesBefore = TextureShareTesting::GetDeliveries().Num();

	Send(VINT, Words({1, 5}));
	Send(VINT, Words({0, -2}));
	RunFrames(1);

	const TArray<TextureShareTesting::FDelivery> Deliveries = TextureShareTesting::GetDeliveries();
	ASSERT_EQ(Deliveries.Num(), DeliveriesBefore + 1);
	const TextureShareTesting::FDelivery& Delivery = Deliveries.Last();
	EXPECT_EQ(Delivery.ShareName, FString(ShareName.c_str()));
	const std::string Zeros(32, '0');
	const std::string EchoKey = "56494E541A74B8F2" + Zeros;
	const std::string ZeroIdKey = "56494E5400000000" + Zeros;
	std::map<std::string, std::string> Parameters;
	for (const TPair<FString, FString>& Parameter : Delivery.Parameters)
	{
		Parameters[TCHAR_TO_UTF8(*Parameter.Key)] = TCHAR_TO_UTF8(*Parameter.Value);
	}
	ASSERT_EQ(Parameters.size(), 2u);
	EXPECT_EQ(Parameters[EchoKey], HexWord(Marker) + "05000000");
	EXPECT_EQ(Parameters[ZeroIdKey], HexWord(Marker) + "FEFFFFFF");

	// The host reads the same through the channel file.
	Korvat::Host::ShareChannelFrame Frame;
	ASSERT_EQ(Korvat::Host::ReadShareObject(ChannelDirectory, ShareName, Frame), Korvat::Host::ShareChannelResult::Ok);
	EXPECT_EQ(Frame.Frame, Delivery.Frame);
	bool bFound = false;
	for (const auto& [Key, Value] : Frame.Parameters)
	{
		Korvat::Host::ShareParameter Parameter;
		ASSERT_TRUE(Korvat::Host::DecodeShareParameter(Key, Value, Parameter)) << Key << "=" << Value;
		if (Parameter.Id == 0xF2B8741Au)
		{
			bFound = true;
			EXPECT_EQ(Parameter.Tag, VINT);
			EXPECT_TRUE(Parameter.Identifier.IsZero());
			EXPECT_EQ(Parameter.FrameMarker, static_cast<std::int32_t>(Marker));
			EXPECT_EQ(Parameter.Payload, Words({5}));
		}
	}
	EXPECT_TRUE(bFound);

	// Messages the store does not take (the quality) are not echoed: nothing waits to be delivered.
	Send(QLTY, Words({3}));
	RunFrames(2);
	EXPECT_EQ(TextureShareTesting::GetDeliveries().Num(), DeliveriesBefore + 1);
}

/** Lets the host poll while waiting for Condition; false if it does not come within the limit. */
bool PollHostUntil(Korvat::Host::HostSimulator& Host, std::vector<Korvat::Host::ReceivedMessage>& Received,
                   std::vector<Korvat::Host::SlotNotice>& Notices, const std::function<bool()>& Condition)
{
	const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
	while (std::chrono::steady_clock::now() < Deadline)
	{
		for (const Korvat::Host::SlotNotice& Notice : Host.Poll())
		{
			Notices.push_back(Notice);
		}
		for (Korvat::Host::ReceivedMessage& Message : Host.TakeReceived())
		{
			Received.push_back(std::move(Message));
		}
		if (Condition())
		{
			return true;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(2));
	}
	return false;
}

TEST_F(TextureSharingTest, LaunchIdFromTheCommandLineNamesTheSlotAndTheShareObject)
{
	using Korvat::Host::SlotNotice;
	StartHost();
	std::string Error;
	auto Child = Korvat::Testing::ChildProcess::Start(Korvat::Testing::CurrentExecutablePath(),
		{ChildModuleFlag, "-KorvatLaunchID=00000ABC-0001-0002-0003-000000000004"}, Error);
	ASSERT_NE(Child, nullptr) << Error;

	const auto NoticeOf = [this](SlotNotice::EKind Kind) {
		return std::any_of(Notices.begin(), Notices.end(), [Kind](const SlotNotice& Notice) { return Notice.Kind == Kind; });
	};
	ASSERT_TRUE(PollHostUntil(*Host, Received, Notices, [&] { return NoticeOf(SlotNotice::EKind::Connected); }));
	for (const SlotNotice& Notice : Notices)
	{
		if (Notice.Kind == SlotNotice::EKind::Connected)
		{
			Slot = Notice.Slot;
		}
	}

	// The slot carries the host's id, not a generated one; the share object's name drops leading zeros.
	const GUID Expected = MakeGuid(0x00000ABCu, 0x0001, 0x0002, {0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04});
	const std::string ExpectedName = "abc123004000000_";
	ASSERT_EQ(ShareNameOf(Expected), ExpectedName);
	const Korvat::Host::SlotSnapshot Snapshot = Host->ReadSlot(Slot);
	EXPECT_EQ(Snapshot.LaunchId, Expected);
	EXPECT_EQ(Snapshot.LaunchIdGenerated, 0);

	const auto ListsTheLaunchId = [&] {
		for (const Korvat::Host::ReceivedMessage& Message : Received)
		{
			const std::optional<std::vector<GUID>> List = Message.Tag == TSHR ? DecodeShareList(Message.Payload) : std::nullopt;
			if (List && *List == std::vector<GUID>({Expected}))
			{
				return true;
			}
		}
		return false;
	};
	ASSERT_TRUE(PollHostUntil(*Host, Received, Notices, [&] { return ListsTheLaunchId() && Host->ReadSlot(Slot).GameRunning == 1; }))
		<< Child->TranscriptText();

	ASSERT_TRUE(Host->Send(Slot, VINT, Words({1, 5})));
	Korvat::Host::ShareChannelFrame Frame;
	ASSERT_TRUE(PollHostUntil(*Host, Received, Notices, [&] {
		return Korvat::Host::ReadShareObject(ChannelDirectory, ExpectedName, Frame) == Korvat::Host::ShareChannelResult::Ok;
	}));
	std::vector<std::string> Names;
	ASSERT_TRUE(Korvat::Host::ListShareObjects(ChannelDirectory, Names));
	EXPECT_EQ(Names, std::vector<std::string>({ExpectedName}));
	ASSERT_EQ(Frame.Parameters.size(), 1u);
	EXPECT_EQ(Frame.Parameters[0].first, "56494E541A74B8F2" + std::string(32, '0'));
	EXPECT_EQ(Frame.Parameters[0].second.substr(8), "05000000");

	// The end of the child's input ends its game and its engine; the slot is handed back.
	Child->CloseInput();
	EXPECT_TRUE(Child->WaitForLine("child done", std::chrono::seconds(60)).has_value()) << Child->TranscriptText();
	EXPECT_EQ(Child->Wait(std::chrono::seconds(60)), 0);
	ASSERT_TRUE(PollHostUntil(*Host, Received, Notices, [&] { return Host->ReadSlot(Slot).State == 0; }));
	Names.clear();
	ASSERT_TRUE(Korvat::Host::ListShareObjects(ChannelDirectory, Names));
	EXPECT_TRUE(Names.empty());
}

} // namespace
} // namespace Korvat::ModuleTesting
