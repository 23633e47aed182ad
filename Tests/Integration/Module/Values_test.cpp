// The value channel of the runtime module in the sandbox engine: values the host sends are read back by kind
// and id; values game code sends land as hexadecimal parameters in every registered share object, and the
// host simulator reads them from the share channel with the frame marker of the module's share object.
#include "ModuleTestSupport.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "ITextureShare.h"
#include "ITextureShareAPI.h"
#include "ITextureShareObject.h"
#include "Modules/ModuleManager.h"
#include "ShareChannel.h"
#include "TextureShareTesting.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include "KorvatPluginModule.h"

#include <cstdio>
#include <map>

namespace Korvat::ModuleTesting
{
namespace
{
namespace Tag = Korvat::UE4::Tag;

const std::string ZeroIdentifier(32, '0');

/** Bytes appended one list after the other. */
std::vector<std::uint8_t> Bytes(std::initializer_list<std::vector<std::uint8_t>> Parts)
{
	std::vector<std::uint8_t> All;
	for (const std::vector<std::uint8_t>& Part : Parts)
	{
		All.insert(All.end(), Part.begin(), Part.end());
	}
	return All;
}

/** The bytes of a text, without terminator; embedded NULs are kept. */
template <std::size_t N>
std::vector<std::uint8_t> Text(const char (&Chars)[N])
{
	return std::vector<std::uint8_t>(Chars, Chars + N - 1);
}

/** The bytes of an MTXV payload: id, 16 identifier bytes, 16 singles. */
std::vector<std::uint8_t> MatrixPayload(std::uint32_t Id, const GUID& Identifier, const std::array<float, 16>& Elements)
{
	std::vector<std::uint8_t> Payload(4 + 16 + 64);
	std::memcpy(Payload.data(), &Id, 4);
	std::memcpy(Payload.data() + 4, &Identifier, 16);
	std::memcpy(Payload.data() + 20, Elements.data(), 64);
	return Payload;
}

std::string Utf8(const FString& Value)
{
	return TCHAR_TO_UTF8(*Value);
}

/** The parameters of a share object, as plain strings. */
std::map<std::string, std::string> ParametersOf(const UTextureShareObject& Object)
{
	std::map<std::string, std::string> Parameters;
	for (const TPair<FString, FString>& Parameter : Object.CustomData.SendParameters)
	{
		Parameters[Utf8(Parameter.Key)] = Utf8(Parameter.Value);
	}
	return Parameters;
}

/** A 32-bit word in the parameter form: its little-endian bytes as upper-case hexadecimal digits. */
std::string WordDigits(std::uint32_t Word)
{
	char Digits[9];
	std::snprintf(Digits, sizeof(Digits), "%02X%02X%02X%02X", Word & 0xFFu, (Word >> 8) & 0xFFu, (Word >> 16) & 0xFFu, (Word >> 24) & 0xFFu);
	return Digits;
}

FTransform ScaledTransform()
{
	return FTransform(FRotator(30.0, 45.0, -60.0).Quaternion(), FVector(120.0, -45.5, 310.25), FVector(2.0, 3.0, 0.5));
}

class ValuesTest : public ModuleTest
{
protected:
	/** Engine and host connected, no game. */
	void StartConnected()
	{
		StartHost();
		StartEngine();
		ASSERT_TRUE(RunUntilConnected());
	}

	/** A project's own share object, registered under Data1 = Seed. */
	UTextureShareObject* RegisterObject(std::uint32_t Seed)
	{
		UTextureShareObject* Object = NewObject<UTextureShareObject>(GetTransientPackage());
		Module().RegisterTextureShare(MakeGuid(Seed, 0, 0, {}), Object);
		return Object;
	}

	/** The frame marker the module stamps now: its tick ran before the last rendered frame advanced the object. */
	std::uint32_t CurrentMarker()
	{
		ITextureShare& TextureShare = FModuleManager::LoadModuleChecked<ITextureShare>(TEXT("TextureShare"));
		const FString Name(ShareNameOf(Module().GetKorvatLaunchID()).c_str());
		const TSharedPtr<ITextureShareObject, ESPMode::ThreadSafe> Object = TextureShare.GetTextureShareAPI().GetObject(Name);
		EXPECT_TRUE(Object.IsValid());
		return Object.IsValid() ? static_cast<std::uint32_t>(Object->GetCoreData().FrameMarker.CustomFrameIndex1 - 1) : 0;
	}

	/** The parameters the host reads from the module's share object, decoded. */
	std::vector<Korvat::Host::ShareParameter> HostReadsParameters()
	{
		Korvat::Host::ShareChannelFrame Frame;
		const std::string ShareName = ShareNameOf(Module().GetKorvatLaunchID());
		EXPECT_EQ(Korvat::Host::ReadShareObject(ChannelDirectory, ShareName, Frame), Korvat::Host::ShareChannelResult::Ok);
		std::vector<Korvat::Host::ShareParameter> Parameters;
		for (const auto& [Key, Value] : Frame.Parameters)
		{
			Korvat::Host::ShareParameter Parameter;
			EXPECT_TRUE(Korvat::Host::DecodeShareParameter(Key, Value, Parameter)) << Key << "=" << Value;
			Parameters.push_back(Parameter);
		}
		return Parameters;
	}
};

TEST_F(ValuesTest, NothingIsAvailableBeforeTheHostSends)
{
	StartConnected();
	FKorvatPlugin& Plugin = Module();
	bool bAvailable = true;
	EXPECT_EQ(Plugin.GetIntValue(1, bAvailable), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_EQ(Plugin.GetFloatValue(1, bAvailable), 0.0f);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_TRUE(Plugin.GetStringValue(1, bAvailable).IsEmpty());
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_FALSE(Plugin.GetBoolValue(1, bAvailable));
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_EQ(Plugin.GetIntArray(1, bAvailable).Num(), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_EQ(Plugin.GetFloatArray(1, bAvailable).Num(), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_EQ(Plugin.GetStringArray(1, bAvailable).Num(), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_EQ(Plugin.GetBoolArray(1, bAvailable).Num(), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	const FTransform Transform = Plugin.GetTransformValue(1, bAvailable);
	EXPECT_FALSE(bAvailable);
	EXPECT_TRUE(Transform.Equals(FTransform::Identity, 0.0));
	EXPECT_EQ(Transform.GetRotation(), FQuat(0, 0, 0, 1));
	EXPECT_EQ(Transform.GetScale3D(), FVector(1, 1, 1));
	bAvailable = true;
	EXPECT_EQ(Plugin.GetColorValue(1, bAvailable), FColor(0, 0, 0, 0));
	EXPECT_FALSE(bAvailable);
}

TEST_F(ValuesTest, HostValuesAreReadByKindAndId)
{
	StartConnected();
	Send(Tag::VINT, Words({1, 5}));
	Send(Tag::VFLT, Bytes({Words({1}), {0x00, 0x00, 0xC0, 0x3F}})); // 1.5
	Send(Tag::VSTR, Bytes({Words({1}), Text("h\xC3\xA9llo")}));
	Send(Tag::VBOL, Bytes({Words({1}), {0x01}}));
	Send(Tag::AINT, Words({1, 7, -3, 0x7FFFFFFF}));
	Send(Tag::AFLT, Bytes({Words({1}), {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x20, 0xC1}})); // 1, -10
	Send(Tag::ASTR, Bytes({Words({1}), Text("one\0two\0")}));
	Send(Tag::ABOL, Bytes({Words({1}), {0x00, 0x01, 0x00}}));
	Send(Tag::MTXV, MatrixPayload(1, GUID{}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1}));
	RunFrames(1);

	FKorvatPlugin& Plugin = Module();
	bool bAvailable = false;
	EXPECT_EQ(Plugin.GetIntValue(1, bAvailable), 5);
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_EQ(Plugin.GetFloatValue(1, bAvailable), 1.5f);
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_EQ(Plugin.GetStringValue(1, bAvailable), FString(TEXT("h\u00E9llo")));
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_TRUE(Plugin.GetBoolValue(1, bAvailable));
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_EQ(Plugin.GetIntArray(1, bAvailable), TArray<int32>({7, -3, 0x7FFFFFFF}));
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_EQ(Plugin.GetFloatArray(1, bAvailable), TArray<float>({1.0f, -10.0f}));
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_EQ(Plugin.GetStringArray(1, bAvailable), TArray<FString>({TEXT("one"), TEXT("two")}));
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_EQ(Plugin.GetBoolArray(1, bAvailable), TArray<bool>({false, true, false}));
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	const FTransform Transform = Plugin.GetTransformValue(1, bAvailable);
	EXPECT_TRUE(bAvailable);
	EXPECT_EQ(Transform.GetTranslation(), FVector(10, 20, 30));
	EXPECT_TRUE(Transform.GetRotation().Equals(FQuat::Identity, 1e-9));
	EXPECT_EQ(Transform.GetScale3D(), FVector(1, 1, 1));
	// No host message fills colours.
	bAvailable = true;
	EXPECT_EQ(Plugin.GetColorValue(1, bAvailable), FColor(0, 0, 0, 0));
	EXPECT_FALSE(bAvailable);

	// A later message replaces the value; a later array replaces the whole sequence.
	Send(Tag::VINT, Words({1, -8}));
	Send(Tag::AINT, Words({1, 4}));
	Send(Tag::ASTR, Bytes({Words({1}), Text("z\0")}));
	RunFrames(1);
	EXPECT_EQ(Plugin.GetIntValue(1, bAvailable), -8);
	EXPECT_EQ(Plugin.GetIntArray(1, bAvailable), TArray<int32>({4}));
	EXPECT_EQ(Plugin.GetStringArray(1, bAvailable), TArray<FString>({TEXT("z")}));
}

TEST_F(ValuesTest, EachKindKeepsItsOwnValues)
{
	StartConnected();
	Send(Tag::VFLT, Bytes({Words({2}), {0x00, 0x00, 0x80, 0x3F}}));
	Send(Tag::VINT, Words({3, 11}));
	Send(Tag::AINT, Words({3, 12}));
	RunFrames(1);

	FKorvatPlugin& Plugin = Module();
	bool bAvailable = true;
	// Id 2 holds only a float: no other kind sees it.
	EXPECT_EQ(Plugin.GetIntValue(2, bAvailable), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_FALSE(Plugin.GetBoolValue(2, bAvailable));
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_EQ(Plugin.GetFloatArray(2, bAvailable).Num(), 0);
	EXPECT_FALSE(bAvailable);
	EXPECT_EQ(Plugin.GetFloatValue(2, bAvailable), 1.0f);
	EXPECT_TRUE(bAvailable);
	// Id 3 holds an int and an int array side by side, and no float.
	EXPECT_EQ(Plugin.GetIntValue(3, bAvailable), 11);
	EXPECT_TRUE(bAvailable);
	EXPECT_EQ(Plugin.GetIntArray(3, bAvailable), TArray<int32>({12}));
	EXPECT_TRUE(bAvailable);
	EXPECT_EQ(Plugin.GetFloatValue(3, bAvailable), 0.0f);
	EXPECT_FALSE(bAvailable);
	// Another id of the same kind is separate too.
	EXPECT_EQ(Plugin.GetIntValue(4, bAvailable), 0);
	EXPECT_FALSE(bAvailable);
}

TEST_F(ValuesTest, HostValuesAreConvertedAtTheirEdges)
{
	StartConnected();
	Send(Tag::VSTR, Bytes({Words({1}), Text("ab\0cd")}));           // text ends at the NUL
	Send(Tag::VSTR, Bytes({Words({2}), {}}));                       // empty text is still a value
	Send(Tag::AINT, Bytes({Words({1, 1, 2}), {0xAA, 0xBB}}));       // 10 bytes: two elements
	Send(Tag::AINT, Words({2}));                                    // no elements
	Send(Tag::ABOL, Bytes({Words({1}), {0x02, 0x00, 0xFF}}));       // any non-zero byte is true
	Send(Tag::VBOL, Bytes({Words({1}), {0x02}}));
	Send(Tag::ASTR, Bytes({Words({1}), Text("x\0y")}));             // no final NUL
	Send(Tag::ASTR, Bytes({Words({2}), Text("a\0\0")}));            // an empty second item
	Send(Tag::ASTR, Bytes({Words({3}), Text("\0b\0")}));            // an empty first item
	Send(Tag::MTXV, MatrixPayload(0, MakeGuid(9, 9, 9, {9}), {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1}));
	// A mirrored matrix: the negative determinant goes onto the X scale.
	Send(Tag::MTXV, MatrixPayload(5, GUID{}, {-2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1}));
	RunFrames(1);

	FKorvatPlugin& Plugin = Module();
	bool bAvailable = false;
	EXPECT_EQ(Plugin.GetStringValue(1, bAvailable), FString(TEXT("ab")));
	EXPECT_TRUE(bAvailable);
	bAvailable = false;
	EXPECT_TRUE(Plugin.GetStringValue(2, bAvailable).IsEmpty());
	EXPECT_TRUE(bAvailable);
	EXPECT_EQ(Plugin.GetIntArray(1, bAvailable), TArray<int32>({1, 2}));
	bAvailable = false;
	EXPECT_EQ(Plugin.GetIntArray(2, bAvailable).Num(), 0);
	EXPECT_TRUE(bAvailable);
	EXPECT_EQ(Plugin.GetBoolArray(1, bAvailable), TArray<bool>({true, false, true}));
	EXPECT_TRUE(Plugin.GetBoolValue(1, bAvailable));
	EXPECT_EQ(Plugin.GetStringArray(1, bAvailable), TArray<FString>({TEXT("x"), TEXT("y")}));
	EXPECT_EQ(Plugin.GetStringArray(2, bAvailable), TArray<FString>({TEXT("a"), TEXT("")}));
	EXPECT_EQ(Plugin.GetStringArray(3, bAvailable), TArray<FString>({TEXT(""), TEXT("b")}));
	bAvailable = true;
	EXPECT_TRUE(Plugin.GetTransformValue(0, bAvailable).Equals(FTransform::Identity, 0.0));
	EXPECT_FALSE(bAvailable);
	const FTransform Mirrored = Plugin.GetTransformValue(5, bAvailable);
	EXPECT_TRUE(bAvailable);
	EXPECT_EQ(Mirrored.GetScale3D(), FVector(-2, 3, 4));
	EXPECT_TRUE(Mirrored.GetRotation().Equals(FQuat::Identity, 1e-9));
}

TEST_F(ValuesTest, ValuesOfAnOldWorldAreGoneInANewOne)
{
	StartConnected();
	Send(Tag::VINT, Words({1, 5}));
	Send(Tag::VSTR, Bytes({Words({1}), Text("s")}));
	Send(Tag::ASTR, Bytes({Words({1}), Text("s\0")}));
	Send(Tag::MTXV, MatrixPayload(1, GUID{}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
	RunFrames(1);
	bool bAvailable = false;
	EXPECT_EQ(Module().GetIntValue(1, bAvailable), 5);
	ASSERT_TRUE(bAvailable);

	ASSERT_NE(Engine->CreateWorld(), nullptr);
	RunFrames(1);
	EXPECT_EQ(Module().GetIntValue(1, bAvailable), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	(void)Module().GetStringValue(1, bAvailable);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	(void)Module().GetStringArray(1, bAvailable);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	(void)Module().GetTransformValue(1, bAvailable);
	EXPECT_FALSE(bAvailable);

	Send(Tag::VINT, Words({1, 6}));
	RunFrames(1);
	EXPECT_EQ(Module().GetIntValue(1, bAvailable), 6);
	EXPECT_TRUE(bAvailable);
}

TEST_F(ValuesTest, EverySendWritesItsParameterForm)
{
	// No game: the module's own share object does not exist, so the frame marker is still 0.
	StartEngine();
	RunFrames(2);
	UTextureShareObject* Object = RegisterObject(0x51);
	FKorvatPlugin& Plugin = Module();

	Plugin.SendIntValue(1, 5);
	Plugin.SendFloatValue(2, 1.5f);
	Plugin.SendStringValue(3, FString(TEXT("h\u00E9")));
	Plugin.SendBoolValue(4, true);
	Plugin.SendIntArray(5, TArray<int32>({1, -1}));
	Plugin.SendFloatArray(6, TArray<float>({1.0f, -2.0f}));
	Plugin.SendStringArray(7, TArray<FString>({TEXT(""), TEXT("a")}));
	Plugin.SendBoolArray(8, TArray<bool>({true, false, true}));
	Plugin.SendTransformValue(9, FTransform(FVector(1.0, 2.0, 3.0)));
	Plugin.SendIntValue(0x0A0B0C0Du, -2);

	const std::map<std::string, std::string> Expected = {
		{"56494E54" "01000000" + ZeroIdentifier, "00000000" "05000000"},
		{"56464C54" "02000000" + ZeroIdentifier, "00000000" "0000C03F"},
		{"56535452" "03000000" + ZeroIdentifier, "00000000" "68C3A9"},
		{"56424F4C" "04000000" + ZeroIdentifier, "00000000" "01"},
		{"41494E54" "05000000" + ZeroIdentifier, "00000000" "01000000" "FFFFFFFF"},
		{"41464C54" "06000000" + ZeroIdentifier, "00000000" "0000803F" "000000C0"},
		{"41535452" "07000000" + ZeroIdentifier, "00000000" "00" "6100"},
		{"41424F4C" "08000000" + ZeroIdentifier, "00000000" "010001"},
		{"4D545856" "09000000" + ZeroIdentifier,
			"00000000"
			"000000000000F03F" "0000000000000000" "0000000000000000" "0000000000000000"
			"0000000000000000" "000000000000F03F" "0000000000000000" "0000000000000000"
			"0000000000000000" "0000000000000000" "000000000000F03F" "0000000000000000"
			"000000000000F03F" "0000000000000040" "0000000000000840" "000000000000F03F"},
		{"56494E54" "0D0C0B0A" + ZeroIdentifier, "00000000" "FEFFFFFF"},
	};
	EXPECT_EQ(ParametersOf(*Object), Expected);
}

TEST_F(ValuesTest, SentValuesAtTheirEdges)
{
	StartEngine();
	RunFrames(1);
	FKorvatPlugin& Plugin = Module();
	// Without a registered share object nothing is kept: an object registered later sees none of it.
	Plugin.SendIntValue(1, 5);
	Plugin.SendStringArray(2, TArray<FString>({TEXT("a")}));
	Plugin.SendTransformValue(3, FTransform::Identity);
	UTextureShareObject* Object = RegisterObject(0x52);
	EXPECT_EQ(Object->CustomData.SendParameters.Num(), 0);

	// Texts end at their first NUL; an item ends there too but keeps its own NUL.
	const TCHAR WithNul[] = {TEXT('a'), TEXT('b'), TEXT('\0'), TEXT('c')};
	Plugin.SendStringValue(1, FString(4, WithNul));
	Plugin.SendStringArray(2, TArray<FString>({FString(4, WithNul), TEXT("d")}));
	Plugin.SendStringArray(3, TArray<FString>());
	Plugin.SendStringValue(4, FString());
	Plugin.SendBoolValue(5, false);
	Plugin.SendIntArray(6, TArray<int32>());
	Plugin.SendBoolArray(7, TArray<bool>());
	const std::map<std::string, std::string> Expected = {
		{"56535452" "01000000" + ZeroIdentifier, "00000000" "6162"},
		{"41535452" "02000000" + ZeroIdentifier, "00000000" "616200" "6400"},
		{"41535452" "03000000" + ZeroIdentifier, "00000000"},
		{"56535452" "04000000" + ZeroIdentifier, "00000000"},
		{"56424F4C" "05000000" + ZeroIdentifier, "00000000" "00"},
		{"41494E54" "06000000" + ZeroIdentifier, "00000000"},
		{"41424F4C" "07000000" + ZeroIdentifier, "00000000"},
	};
	EXPECT_EQ(ParametersOf(*Object), Expected);
}

TEST_F(ValuesTest, TheLastSendOfAKindAndIdWinsInEveryRegisteredObject)
{
	StartEngine();
	RunFrames(1);
	UTextureShareObject* First = RegisterObject(0x61);
	UTextureShareObject* Second = RegisterObject(0x62);
	FKorvatPlugin& Plugin = Module();

	Plugin.SendIntValue(1, 5);
	Plugin.SendIntValue(1, 6);
	Plugin.SendIntValue(2, 7);
	Plugin.SendFloatValue(1, 0.0f);
	const std::map<std::string, std::string> Expected = {
		{"56494E54" "01000000" + ZeroIdentifier, "00000000" "06000000"},
		{"56494E54" "02000000" + ZeroIdentifier, "00000000" "07000000"},
		{"56464C54" "01000000" + ZeroIdentifier, "00000000" "00000000"},
	};
	EXPECT_EQ(ParametersOf(*First), Expected);
	EXPECT_EQ(ParametersOf(*Second), Expected);

	// An unregistered object hears nothing more.
	Module().UnRegisterTextureShare(MakeGuid(0x61, 0, 0, {}));
	Plugin.SendIntValue(3, 8);
	EXPECT_EQ(ParametersOf(*First), Expected);
	EXPECT_EQ(ParametersOf(*Second).count("56494E54" "03000000" + ZeroIdentifier), 1u);
}

TEST_F(ValuesTest, HostReadsSentValuesStampedWithTheFrameMarker)
{
	StartConnected();
	Engine->StartPlay();
	RunFrames(3);
	const std::uint32_t Marker = CurrentMarker();
	ASSERT_GT(Marker, 0u);

	FKorvatPlugin& Plugin = Module();
	Plugin.SendIntValue(1, 5);
	Plugin.SendIntValue(1, 9);
	Plugin.SendBoolArray(2, TArray<bool>({false, true}));
	Plugin.SendStringValue(3, FString(TEXT("hi")));
	RunFrames(1);

	std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<std::uint8_t>> Published;
	for (const Korvat::Host::ShareParameter& Parameter : HostReadsParameters())
	{
		EXPECT_EQ(Parameter.FrameMarker, static_cast<std::int32_t>(Marker));
		EXPECT_TRUE(Parameter.Identifier.IsZero());
		Published[{Parameter.Tag, Parameter.Id}] = Parameter.Payload;
	}
	const std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<std::uint8_t>> Expected = {
		{{Tag::VINT, 1}, {0x09, 0x00, 0x00, 0x00}},
		{{Tag::ABOL, 2}, {0x00, 0x01}},
		{{Tag::VSTR, 3}, {0x68, 0x69}},
	};
	EXPECT_EQ(Published, Expected);

	// The raw text of one entry, as the channel file holds it.
	Korvat::Host::ShareChannelFrame Frame;
	ASSERT_EQ(Korvat::Host::ReadShareObject(ChannelDirectory, ShareNameOf(Module().GetKorvatLaunchID()), Frame),
		Korvat::Host::ShareChannelResult::Ok);
	const std::pair<std::string, std::string> IntEntry("56494E54" "01000000" + ZeroIdentifier, WordDigits(Marker) + "09000000");
	EXPECT_NE(std::find(Frame.Parameters.begin(), Frame.Parameters.end(), IntEntry), Frame.Parameters.end());
}

TEST_F(ValuesTest, TransformWithScaleMakesTheRoundTrip)
{
	StartConnected();
	Engine->StartPlay();
	RunFrames(3);
	const FTransform Sent = ScaledTransform();
	Module().SendTransformValue(7, Sent);
	RunFrames(1);

	// The host takes the 16 doubles, rounds them to singles and sends them back as its own matrix.
	std::vector<std::uint8_t> Payload;
	for (const Korvat::Host::ShareParameter& Parameter : HostReadsParameters())
	{
		if (Parameter.Tag == Tag::MTXV && Parameter.Id == 7)
		{
			Payload = Parameter.Payload;
		}
	}
	ASSERT_EQ(Payload.size(), 128u);
	std::array<double, 16> Doubles;
	std::memcpy(Doubles.data(), Payload.data(), 128);
	const FMatrix Matrix = Sent.ToMatrixWithScale();
	std::array<float, 16> Singles;
	for (int Index = 0; Index < 16; ++Index)
	{
		EXPECT_EQ(Doubles[Index], Matrix.M[Index / 4][Index % 4]) << "element " << Index;
		Singles[Index] = static_cast<float>(Doubles[Index]);
	}
	EXPECT_EQ(Doubles[3], 0.0);
	EXPECT_EQ(Doubles[7], 0.0);
	EXPECT_EQ(Doubles[11], 0.0);
	EXPECT_EQ(Doubles[15], 1.0);
	EXPECT_EQ(Doubles[12], 120.0);

	Send(Tag::MTXV, MatrixPayload(7, GUID{}, Singles));
	RunFrames(1);
	bool bAvailable = false;
	const FTransform ReadBack = Module().GetTransformValue(7, bAvailable);
	ASSERT_TRUE(bAvailable);
	EXPECT_TRUE(ReadBack.GetScale3D().Equals(Sent.GetScale3D(), 1e-5)) << Utf8(ReadBack.GetScale3D().ToString());
	EXPECT_TRUE(ReadBack.GetTranslation().Equals(Sent.GetTranslation(), 1e-4)) << Utf8(ReadBack.GetTranslation().ToString());
	EXPECT_TRUE(ReadBack.GetRotation().Equals(Sent.GetRotation(), 1e-5)) << Utf8(ReadBack.GetRotation().ToString());
}

TEST_F(ValuesTest, HostMatrixWithoutIdIsNeitherReadNorEchoed)
{
	StartConnected();
	Engine->StartPlay();
	RunFrames(3);
	const int32 DeliveriesBefore = TextureShareTesting::GetDeliveries().Num();
	Send(Tag::MTXV, MatrixPayload(0, MakeGuid(1, 2, 3, {4}), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1}));
	RunFrames(2);
	bool bAvailable = true;
	(void)Module().GetTransformValue(0, bAvailable);
	EXPECT_FALSE(bAvailable);
	// Nothing was published, so no frame delivered parameters.
	EXPECT_EQ(TextureShareTesting::GetDeliveries().Num(), DeliveriesBefore);
}

} // namespace
} // namespace Korvat::ModuleTesting
