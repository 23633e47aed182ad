// Methods, events and field lists of the runtime module in the sandbox engine, against the host simulator:
// the host's method calls reach the callbacks registered for their id; triggered events land as parameters
// with the process's sequence numbers; field lists are asked of the host and answered for it.
#include "ModuleTestSupport.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "CoreUObjectTesting.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include "KorvatPluginModule.h"
#include "KorvatTestReceiver.h"

#include <cstdio>
#include <map>
#include <string>

namespace Korvat::ModuleTesting
{
namespace
{
namespace Tag = Korvat::UE4::Tag;
using Korvat::UE4::FieldDescriptor;

const std::string ZeroIdentifier(32, '0');

/** Bytes appended one list after the other. */
std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> Parts)
{
	std::vector<std::uint8_t> All;
	for (const std::vector<std::uint8_t>& Part : Parts)
	{
		All.insert(All.end(), Part.begin(), Part.end());
	}
	return All;
}

std::vector<std::uint8_t> GuidBytes(const GUID& Guid)
{
	std::vector<std::uint8_t> Bytes(sizeof(GUID));
	std::memcpy(Bytes.data(), &Guid, sizeof(GUID));
	return Bytes;
}

GUID GuidAt(const std::vector<std::uint8_t>& Payload)
{
	GUID Guid{};
	if (Payload.size() >= sizeof(GUID))
	{
		std::memcpy(&Guid, Payload.data(), sizeof(GUID));
	}
	return Guid;
}

std::vector<std::string> Strings(const TArray<FString>& Log)
{
	std::vector<std::string> Lines;
	for (const FString& Line : Log)
	{
		Lines.push_back(TCHAR_TO_UTF8(*Line));
	}
	return Lines;
}

std::map<std::string, std::string> ParametersOf(const UTextureShareObject& Object)
{
	std::map<std::string, std::string> Parameters;
	for (const TPair<FString, FString>& Parameter : Object.CustomData.SendParameters)
	{
		Parameters[TCHAR_TO_UTF8(*Parameter.Key)] = TCHAR_TO_UTF8(*Parameter.Value);
	}
	return Parameters;
}

/** A node whose pins follow a field list: keeps every list it is given. */
class RecordingNode : public IKorvatNodeFieldSync
{
public:
	void UpdateNodeFields(const std::vector<FieldDescriptor>& Fields) override { Updates.push_back(Fields); }

	std::vector<std::vector<FieldDescriptor>> Updates;
};

class EventsTest : public ModuleTest
{
protected:
	void StartConnected()
	{
		StartHost();
		StartEngine();
		ASSERT_TRUE(RunUntilConnected());
	}

	UKorvatTestReceiver* MakeReceiver(const TCHAR* Label)
	{
		UKorvatTestReceiver* Receiver = NewObject<UKorvatTestReceiver>(GetTransientPackage());
		Receiver->Label = Label;
		Receiver->Log = &Log;
		return Receiver;
	}

	static FKorvatEventCallback Bind(UKorvatTestReceiver* Receiver, const TCHAR* Function = TEXT("OnMethod"))
	{
		FKorvatEventCallback Callback;
		Callback.BindUFunction(Receiver, FName(Function));
		return Callback;
	}

	/** The host calls method Id with Argument (the full 12-byte payload). */
	void CallMethod(std::uint32_t Id, std::int32_t Argument)
	{
		Send(Tag::EVNT, Words({static_cast<std::int32_t>(Id), 0x7F7F7F7F, Argument}));
	}

	/** The one "FLD?" the host received since the last ForgetReceived. */
	std::vector<std::uint8_t> OnlyQuestion()
	{
		const std::vector<std::vector<std::uint8_t>> Questions = PayloadsOf(Tag::FLDQ);
		EXPECT_EQ(Questions.size(), 1u);
		return Questions.empty() ? std::vector<std::uint8_t>() : Questions.front();
	}

	TArray<FString> Log;
};

TEST_F(EventsTest, HostMethodCallsRunEveryCallbackOfTheirIdLatestFirst)
{
	StartConnected();
	FKorvatPlugin& Plugin = Module();
	UKorvatTestReceiver* First = MakeReceiver(TEXT("first"));
	UKorvatTestReceiver* Second = MakeReceiver(TEXT("second"));
	UKorvatTestReceiver* Doomed = MakeReceiver(TEXT("doomed"));
	UKorvatTestReceiver* Other = MakeReceiver(TEXT("other"));

	Plugin.RegisterEvent(1, Bind(First));
	Plugin.RegisterEvent(1, Bind(Doomed));
	Plugin.RegisterEvent(1, Bind(Second));
	Plugin.RegisterEvent(1, Bind(Second)); // a duplicate runs twice
	Plugin.RegisterEvent(1, Bind(First, TEXT("NoSuchFunction"))); // a function the object lacks is skipped
	Plugin.RegisterEvent(2, Bind(Other, TEXT("OnOtherMethod")));
	CoreUObjectTesting::DestroyObject(Doomed);

	CallMethod(1, 42);
	CallMethod(3, 9); // nobody registered: nothing runs
	CallMethod(2, -7);
	Send(Tag::EVNT, Words({2, 0x11111111})); // 4 bytes after the id: the argument is 0
	RunFrames(1);

	const std::vector<std::string> Expected = {"second:42", "second:42", "first:42", "other+other:-7", "other+other:0"};
	EXPECT_EQ(Strings(Log), Expected);

	// Delivered once: the queue is empty afterwards.
	Log.Reset();
	RunFrames(2);
	EXPECT_EQ(Log.Num(), 0);
}

TEST_F(EventsTest, RegistrationsDuringDeliveryDoNotDisturbIt)
{
	StartConnected();
	FKorvatPlugin& Plugin = Module();
	UKorvatTestReceiver* Registrar = MakeReceiver(TEXT("registrar"));
	UKorvatTestReceiver* Late = MakeReceiver(TEXT("late"));
	UKorvatTestReceiver* Tail = MakeReceiver(TEXT("tail"));
	int32 Registrations = 0;
	Registrar->OnCall = [&Plugin, Late, &Registrations](int32) {
		// Enough registrations to make the map grow while its earlier contents are being delivered.
		for (int32 Index = 0; Index < 64; ++Index)
		{
			Plugin.RegisterEvent(10, Bind(Late, TEXT("OnOtherMethod")));
		}
		Plugin.RegisterEvent(1, Bind(Late));
		Registrations += 1;
	};
	Plugin.RegisterEvent(1, Bind(Tail));
	Plugin.RegisterEvent(1, Bind(Registrar));

	CallMethod(1, 5);
	CallMethod(10, 6);
	RunFrames(1);

	// The call in progress runs the callbacks registered before it; a later call sees the new ones.
	ASSERT_GE(Log.Num(), 2);
	EXPECT_EQ(Strings(Log)[0], "registrar:5");
	EXPECT_EQ(Strings(Log)[1], "tail:5");
	EXPECT_EQ(Log.Num(), 2 + 64);
	EXPECT_EQ(Registrations, 1);

	Log.Reset();
	Registrar->OnCall = nullptr;
	CallMethod(1, 8);
	RunFrames(1);
	const std::vector<std::string> Expected = {"late:8", "registrar:8", "tail:8"};
	EXPECT_EQ(Strings(Log), Expected);
}

TEST_F(EventsTest, ANewWorldDropsRegisteredMethodsAndQueuedCalls)
{
	StartConnected();
	FKorvatPlugin& Plugin = Module();
	UKorvatTestReceiver* Receiver = MakeReceiver(TEXT("r"));
	Plugin.RegisterEvent(1, Bind(Receiver));
	CallMethod(1, 1);
	RunFrames(1);
	ASSERT_EQ(Strings(Log), std::vector<std::string>({"r:1"}));

	Engine->CreateWorld();
	CallMethod(1, 2);
	RunFrames(2);
	EXPECT_EQ(Strings(Log), std::vector<std::string>({"r:1"}));

	// Registered again in the new world, the method runs again, once.
	Plugin.RegisterEvent(1, Bind(Receiver));
	CallMethod(1, 3);
	RunFrames(1);
	EXPECT_EQ(Strings(Log), std::vector<std::string>({"r:1", "r:3"}));
}

TEST_F(EventsTest, TriggeredEventsCarryTheProcessSequenceNumber)
{
	StartEngine();
	RunFrames(2); // no game: the frame marker is 0
	FKorvatPlugin& Plugin = Module();
	UTextureShareObject* Object = NewObject<UTextureShareObject>(GetTransientPackage());
	Plugin.RegisterTextureShare(MakeGuid(0x71, 0, 0, {}), Object);

	// The counter belongs to the process: other tests may have taken numbers already.
	Plugin.TriggerEvent(7, 5);
	const std::string FirstKey = "45564E54" "07000000" + ZeroIdentifier;
	const std::map<std::string, std::string> First = ParametersOf(*Object);
	ASSERT_EQ(First.size(), 1u);
	ASSERT_EQ(First.count(FirstKey), 1u);
	ASSERT_EQ(First.at(FirstKey).size(), 24u);
	const std::uint32_t Base = static_cast<std::uint32_t>(std::stoul(First.at(FirstKey).substr(8, 2), nullptr, 16));
	ASSERT_LT(Base, 0xF0u) << "the test reads the sequence number's low byte only";
	auto Sequence = [Base](std::uint32_t Offset) {
		char Digits[9];
		std::snprintf(Digits, sizeof(Digits), "%02X000000", Base + Offset);
		return std::string(Digits);
	};
	EXPECT_EQ(First.at(FirstKey), "00000000" + Sequence(0) + "05000000");

	Plugin.TriggerEvent(0x0A0B0C0Du, -1);
	Plugin.TriggerEvent(7, 9); // replaces the earlier trigger of id 7 until the map is transmitted
	EXPECT_EQ(ParametersOf(*Object), (std::map<std::string, std::string>{
										{FirstKey, "00000000" + Sequence(2) + "09000000"},
										{"45564E54" "0D0C0B0A" + ZeroIdentifier, "00000000" + Sequence(1) + "FFFFFFFF"},
									}));

	// A trigger that goes nowhere still takes its number.
	Plugin.UnRegisterTextureShare(MakeGuid(0x71, 0, 0, {}));
	Plugin.TriggerEvent(8, 1);
	UTextureShareObject* Later = NewObject<UTextureShareObject>(GetTransientPackage());
	Plugin.RegisterTextureShare(MakeGuid(0x72, 0, 0, {}), Later);
	Plugin.TriggerEvent(8, 0x12345678);
	EXPECT_EQ(ParametersOf(*Later), (std::map<std::string, std::string>{
									   {"45564E54" "08000000" + ZeroIdentifier, "00000000" + Sequence(4) + "78563412"},
								   }));
}

TEST_F(EventsTest, FieldListQuestionsReachTheHostAndItsAnswerTheRequester)
{
	StartConnected();
	FKorvatPlugin& Plugin = Module();
	RecordingNode Node;
	ForgetReceived();

	Plugin.RequestFieldListUpdate(FString(TEXT("MyNode \u00E9")), &Node);
	RunFrames(1);
	const std::vector<std::uint8_t> Question = OnlyQuestion();
	ASSERT_EQ(Question.size(), 16u + 10u);
	const std::vector<std::uint8_t> Name(Question.begin() + 16, Question.end());
	EXPECT_EQ(Name, std::vector<std::uint8_t>({0x6D, 0x79, 0x6E, 0x6F, 0x64, 0x65, 0x20, 0xC3, 0xA9, 0x00}));
	EXPECT_NE(GuidAt(Question), GUID{});

	// Two records: Int from the host "speed", String to the host "label".
	const std::vector<std::uint8_t> Answer = Concat({GuidBytes(GuidAt(Question)),
		{0x01, 0x01, 's', 'p', 'e', 'e', 'd', 0x00, 0x03, 0x00, 'l', 'a', 'b', 'e', 'l', 0x00}});
	Send(Tag::FLDS, Answer);
	RunFrames(1);
	ASSERT_EQ(Node.Updates.size(), 1u);
	const std::vector<FieldDescriptor> Expected = {{1, true, "speed"}, {3, false, "label"}};
	EXPECT_EQ(Node.Updates[0], Expected);

	// Answered once: the same answer again, or one for a question never asked, reaches nobody.
	Send(Tag::FLDS, Answer);
	Send(Tag::FLDS, Concat({GuidBytes(MakeGuid(1, 2, 3, {4})), {0x00, 0x00, 'x', 0x00}}));
	RunFrames(2);
	EXPECT_EQ(Node.Updates.size(), 1u);

	// The name ends at its first NUL; an empty name is still asked, as the NUL alone.
	ForgetReceived();
	const TCHAR WithNul[] = {TEXT('A'), TEXT('b'), TEXT('\0'), TEXT('C')};
	Plugin.RequestFieldListUpdate(FString(4, WithNul), &Node);
	RunFrames(1);
	const std::vector<std::uint8_t> Cut = OnlyQuestion();
	EXPECT_EQ(std::vector<std::uint8_t>(Cut.begin() + FMath::Min<size_t>(16, Cut.size()), Cut.end()),
		std::vector<std::uint8_t>({'a', 'b', 0x00}));
	ForgetReceived();
	Plugin.RequestFieldListUpdate(FString(), &Node);
	RunFrames(1);
	EXPECT_EQ(OnlyQuestion().size(), 17u);
}

TEST_F(EventsTest, AWithdrawnRequesterNeverGetsItsAnswer)
{
	StartConnected();
	FKorvatPlugin& Plugin = Module();
	RecordingNode Withdrawn;
	RecordingNode Kept;
	ForgetReceived();

	Plugin.RequestFieldListUpdate(TEXT("a"), &Withdrawn);
	Plugin.RequestFieldListUpdate(TEXT("a"), &Withdrawn);
	Plugin.RequestFieldListUpdate(TEXT("b"), &Kept);
	// Without anybody to receive it, no question is asked.
	Plugin.RequestFieldListUpdate(TEXT("c"), nullptr);
	RunFrames(1);
	const std::vector<std::vector<std::uint8_t>> Questions = PayloadsOf(Tag::FLDQ);
	ASSERT_EQ(Questions.size(), 3u);

	Plugin.CancelFieldListRequests(&Withdrawn);
	for (const std::vector<std::uint8_t>& Question : Questions)
	{
		Send(Tag::FLDS, Concat({GuidBytes(GuidAt(Question)), {0x02, 0x00, 'f', 0x00}}));
	}
	RunFrames(1);
	EXPECT_TRUE(Withdrawn.Updates.empty());
	ASSERT_EQ(Kept.Updates.size(), 1u);
	EXPECT_EQ(Kept.Updates[0], std::vector<FieldDescriptor>({{2, false, "f"}}));
}

TEST_F(EventsTest, HostQuestionsAreCollectedOnceAndAnswered)
{
	StartConnected();
	FKorvatPlugin& Plugin = Module();
	const GUID First = MakeGuid(0x04030201, 0x0605, 0x0807, {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10});
	const GUID Second = MakeGuid(0xA1, 0, 0, {});
	Send(Tag::FLDQ, Concat({GuidBytes(First), {'o', 'l', 'd', 0x00}}));
	Send(Tag::FLDQ, Concat({GuidBytes(Second), {'D', 'o', 'o', 'r', 0x00}}));
	Send(Tag::FLDQ, Concat({GuidBytes(First), {'l', 'a', 'm', 'p', 0x00}})); // the same GUID again replaces the name
	RunFrames(1);

	const Korvat::UE4::FieldListRequestMap Requests = Plugin.GetFieldListRequests();
	EXPECT_EQ(Requests, (Korvat::UE4::FieldListRequestMap{{First, "lamp"}, {Second, "Door"}}));
	EXPECT_TRUE(Plugin.GetFieldListRequests().empty());

	ForgetReceived();
	Plugin.SendFieldList(First, {{1, true, "speed"}, {0x103, false, "label"}});
	Plugin.SendFieldList(Second, {});
	RunFrames(1);
	const std::vector<std::vector<std::uint8_t>> Answers = PayloadsOf(Tag::FLDS);
	ASSERT_EQ(Answers.size(), 2u);
	EXPECT_EQ(Answers[0], std::vector<std::uint8_t>({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,
							  0x0D, 0x0E, 0x0F, 0x10, 0x01, 0x01, 's', 'p', 'e', 'e', 'd', 0x00, 0x03, 0x00, 'l', 'a', 'b',
							  'e', 'l', 0x00}));
	EXPECT_EQ(Answers[1], std::vector<std::uint8_t>({0xA1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(EventsTest, WithoutAConnectionFieldListsAreDroppedSilently)
{
	StartEngine();
	RunFrames(2);
	FKorvatPlugin& Plugin = Module();
	ASSERT_FALSE(Plugin.IsConnected());
	RecordingNode Node;
	Plugin.RequestFieldListUpdate(TEXT("Node"), &Node);
	Plugin.SendFieldList(MakeGuid(1, 0, 0, {}), {{0, false, "x"}});
	EXPECT_TRUE(Plugin.GetFieldListRequests().empty());

	// Nothing was kept for later: once connected, the host has received neither message.
	StartHost();
	ASSERT_TRUE(RunUntilConnected());
	RunFrames(2);
	EXPECT_TRUE(PayloadsOf(Tag::FLDQ).empty());
	EXPECT_TRUE(PayloadsOf(Tag::FLDS).empty());
	EXPECT_TRUE(Node.Updates.empty());
}

} // namespace
} // namespace Korvat::ModuleTesting
