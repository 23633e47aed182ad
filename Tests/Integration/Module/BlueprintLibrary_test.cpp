// The Blueprint function library as Blueprints and the editor's nodes see it: its reflected surface (names,
// parameters, flags, metadata), the value ids of names, the behaviour without the module, and, run through
// ProcessEvent as the Blueprint VM runs it, the round trip with the host simulator.
#include "ModuleTestSupport.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "StandInTesting.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"

#include "KorvatBPEvent.h"
#include "KorvatNameHash.h"
#include "KorvatPluginModule.h"
#include "KorvatTestReceiver.h"
#include "KorvatValueId.h"

#include <map>

namespace Korvat::ModuleTesting
{
namespace
{
namespace Tag = Korvat::UE4::Tag;

std::vector<std::string> ParameterNames(const UFunction* Function)
{
	std::vector<std::string> Names;
	for (TFieldIterator<FProperty> It(Function); It && It->HasAnyPropertyFlags(CPF_Parm); ++It)
	{
		Names.push_back(TCHAR_TO_UTF8(*It->GetName()));
	}
	return Names;
}

std::vector<std::string> ParameterTypes(const UFunction* Function)
{
	std::vector<std::string> Types;
	for (TFieldIterator<FProperty> It(Function); It && It->HasAnyPropertyFlags(CPF_Parm); ++It)
	{
		FString Extended;
		const FString Type = It->GetCPPType(&Extended);
		Types.push_back(TCHAR_TO_UTF8(*(Type + Extended)));
	}
	return Types;
}

UFunction* LibraryFunction(const TCHAR* Name)
{
	return UKorvatBPFunctionLibrary::StaticClass()->FindFunctionByName(FName(Name));
}

/** The warnings the module logged since the last call. */
std::vector<std::string> TakeModuleWarnings()
{
	std::vector<std::string> Warnings;
	for (const StandInTesting::FCapturedLogLine& Line : StandInTesting::GetLogLines())
	{
		if (Line.Category == FName(TEXT("LogKorvatPlugin")) && Line.Verbosity == ELogVerbosity::Warning)
		{
			Warnings.push_back(TCHAR_TO_UTF8(*Line.Text));
		}
	}
	StandInTesting::ClearLogLines();
	return Warnings;
}

std::uint32_t IdOfBytes(const std::string& Bytes)
{
	return Korvat::ValueIdOfBytes(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
}

/** A parameter key of the share objects: tag, id and zero identifier in the parameter form. */
std::string ParameterKey(const char* TagDigits, std::uint32_t Id)
{
	char Digits[9];
	std::snprintf(Digits, sizeof(Digits), "%02X%02X%02X%02X", Id & 0xFFu, (Id >> 8) & 0xFFu, (Id >> 16) & 0xFFu, (Id >> 24) & 0xFFu);
	return std::string(TagDigits) + Digits + std::string(32, '0');
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

TEST(BlueprintLibrarySurface, NameBasedFunctionsAreHiddenAndTakeTheNodeNames)
{
	static const std::pair<const TCHAR*, const char*> Readers[] = {
		{TEXT("GetKorvatIntValueByNodeName"), "int32"},
		{TEXT("GetKorvatFloatValueByNodeName"), "float"},
		{TEXT("GetKorvatStringValueByNodeName"), "FString"},
		{TEXT("GetKorvatBoolValueByNodeName"), "bool"},
		{TEXT("GetKorvatIntArrayByNodeName"), "TArray<int32>"},
		{TEXT("GetKorvatFloatArrayByNodeName"), "TArray<float>"},
		{TEXT("GetKorvatStringArrayByNodeName"), "TArray<FString>"},
		{TEXT("GetKorvatBoolArrayByNodeName"), "TArray<bool>"},
	};
	for (const auto& [Name, Type] : Readers)
	{
		SCOPED_TRACE(TCHAR_TO_UTF8(Name));
		const UFunction* Function = LibraryFunction(Name);
		ASSERT_NE(Function, nullptr);
		EXPECT_TRUE(Function->HasAllFunctionFlags(FUNC_Static | FUNC_Native | FUNC_BlueprintCallable | FUNC_Public | FUNC_HasOutParms));
		EXPECT_FALSE(Function->HasAnyFunctionFlags(FUNC_BlueprintPure));
		EXPECT_EQ(Function->GetMetaData(TEXT("Category")), TEXT("Korvat"));
		EXPECT_EQ(Function->GetMetaData(TEXT("BlueprintInternalUseOnly")), TEXT("true"));
		EXPECT_EQ(ParameterNames(Function), (std::vector<std::string>{"nodeName", "fieldName", "isAvailable", "ReturnValue"}));
		EXPECT_EQ(ParameterTypes(Function), (std::vector<std::string>{"FString", "FString", "bool", Type}));
	}
	static const std::pair<const TCHAR*, const char*> Senders[] = {
		{TEXT("SendKorvatIntValueByNodeName"), "int32"},
		{TEXT("SendKorvatFloatValueByNodeName"), "float"},
		{TEXT("SendKorvatStringValueByNodeName"), "FString"},
		{TEXT("SendKorvatBoolValueByNodeName"), "bool"},
		{TEXT("SendKorvatIntArrayByNodeName"), "TArray<int32>"},
		{TEXT("SendKorvatFloatArrayByNodeName"), "TArray<float>"},
		{TEXT("SendKorvatStringArrayByNodeName"), "TArray<FString>"},
		{TEXT("SendKorvatBoolArrayByNodeName"), "TArray<bool>"},
	};
	for (const auto& [Name, Type] : Senders)
	{
		SCOPED_TRACE(TCHAR_TO_UTF8(Name));
		const UFunction* Function = LibraryFunction(Name);
		ASSERT_NE(Function, nullptr);
		EXPECT_TRUE(Function->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable));
		EXPECT_FALSE(Function->HasAnyFunctionFlags(FUNC_BlueprintPure));
		EXPECT_EQ(Function->GetMetaData(TEXT("BlueprintInternalUseOnly")), TEXT("true"));
		EXPECT_EQ(ParameterNames(Function), (std::vector<std::string>{"nodeName", "fieldName", "value"}));
		EXPECT_EQ(ParameterTypes(Function), (std::vector<std::string>{"FString", "FString", Type}));
	}
}

TEST(BlueprintLibrarySurface, PaletteFunctionsCarryTheirParametersFlagsAndTooltips)
{
	struct FExpected
	{
		const TCHAR* Name;
		std::vector<std::string> Parameters;
		bool bPure;
		const TCHAR* ShortToolTip;
	};
	const FExpected Functions[] = {
		{TEXT("GetKorvatTransformValue"), {"valueName", "isAvailable", "ReturnValue"}, false, TEXT("Get a Transform value from an Axis Unreal node from Korvat")},
		{TEXT("SendKorvatTransformValue"), {"valueName", "value"}, false, TEXT("Send a Transform value to the named Korvat Axis Unreal node")},
		{TEXT("RegisterKorvatMethod"), {"node", "method", "calledEvent"}, false,
			TEXT("Register a custom event to be called whenever a specified Method is called in Korvat")},
		{TEXT("TriggerKorvatEvent"), {"node", "event", "argument"}, false, TEXT("Trigger an event in Korvat")},
		{TEXT("IsKorvatConnected"), {"ReturnValue"}, true, TEXT("Query the status of the Korvat connection")},
		{TEXT("KorvatConnectionState"), {"connectionStatus"}, false, nullptr},
		{TEXT("KorvatClusterClock"), {"frameCounter", "time", "frameRateNumerator", "frameRateDenominator", "ReturnValue"}, true, nullptr},
		{TEXT("GetKorvatCameraTransform"), {"isAvailable", "ReturnValue"}, false, TEXT("Get camera transform from Korvat")},
	};
	for (const FExpected& Expected : Functions)
	{
		SCOPED_TRACE(TCHAR_TO_UTF8(Expected.Name));
		const UFunction* Function = LibraryFunction(Expected.Name);
		ASSERT_NE(Function, nullptr);
		EXPECT_TRUE(Function->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable));
		EXPECT_EQ(Function->HasAnyFunctionFlags(FUNC_BlueprintPure), Expected.bPure);
		EXPECT_EQ(Function->GetMetaData(TEXT("Category")), TEXT("Korvat"));
		EXPECT_FALSE(Function->HasMetaData(TEXT("BlueprintInternalUseOnly")));
		EXPECT_EQ(ParameterNames(Function), Expected.Parameters);
		if (Expected.ShortToolTip)
		{
			EXPECT_EQ(Function->GetToolTipText(true).ToString(), Expected.ShortToolTip);
		}
	}
	EXPECT_EQ(LibraryFunction(TEXT("KorvatConnectionState"))->GetMetaData(TEXT("ExpandEnumAsExecs")), TEXT("connectionStatus"));
	EXPECT_EQ(ParameterTypes(LibraryFunction(TEXT("KorvatClusterClock"))),
		(std::vector<std::string>{"int64", "float", "int32", "int32", "bool"}));
	EXPECT_EQ(ParameterTypes(LibraryFunction(TEXT("RegisterKorvatMethod")))[2], "FKorvatEventCallback");
	// The parameter documentation reaches the tooltip after its first line.
	EXPECT_NE(LibraryFunction(TEXT("TriggerKorvatEvent"))->GetMetaData(TEXT("ToolTip")).Find(TEXT("The argument of the event")), INDEX_NONE);
	EXPECT_NE(LibraryFunction(TEXT("SendKorvatTransformValue"))->GetMetaData(TEXT("ToolTip")).Find(TEXT("in the Unreal coordinate system")),
		INDEX_NONE);
}

TEST(BlueprintLibrarySurface, EnumsHaveTheirValuesAndDisplayNames)
{
	const UEnum* Status = StaticEnum<KorvatConnectionStatus>();
	ASSERT_NE(Status, nullptr);
	EXPECT_EQ(Status->GetValueByNameString(TEXT("Disconnected")), 0);
	EXPECT_EQ(Status->GetValueByNameString(TEXT("Connected")), 1);
	const UEnum* Order = StaticEnum<EulerRotationOrder>();
	ASSERT_NE(Order, nullptr);
	static const TCHAR* const Orders[] = {TEXT("ZXY"), TEXT("ZYX"), TEXT("YZX"), TEXT("YXZ"), TEXT("XYZ"), TEXT("XZY")};
	for (int32 Value = 0; Value < 6; ++Value)
	{
		EXPECT_EQ(Order->GetDisplayNameTextByValue(Value).ToString(), Orders[Value]);
		EXPECT_EQ(Order->GetValueByNameString(Orders[Value]), Value);
	}
	EXPECT_EQ(StaticEnum<LimitedEulerRotationOrder>()->GetDisplayNameTextByValue(0).ToString(), TEXT("XYZ"));
	EXPECT_EQ(sizeof(KorvatConnectionStatus), 1u);
	EXPECT_EQ(sizeof(EulerRotationOrder), 1u);
}

TEST(BlueprintLibraryNames, NamesHashToTheHostsValueIds)
{
	StandInTesting::ClearLogLines();
	EXPECT_EQ(KorvatNameHash::ValueIdOfName(TEXT("abc")), 0x352441C3u);
	EXPECT_EQ(KorvatNameHash::ValueIdOfName(TEXT("ABC")), 0x352441C3u);
	EXPECT_EQ(KorvatNameHash::ValueIdOfField(TEXT("Node"), TEXT("Field")), 0x822009C1u);
	EXPECT_EQ(KorvatNameHash::ValueIdOfField(TEXT("NODE"), TEXT("field")), 0x822009C1u);
	EXPECT_EQ(KorvatNameHash::ValueIdOfName(TEXT("node.field")), 0x822009C1u);
	// The full stop is not escaped: both splits are the same name.
	EXPECT_EQ(KorvatNameHash::ValueIdOfField(TEXT("a.b"), TEXT("c")), KorvatNameHash::ValueIdOfField(TEXT("a"), TEXT("b.c")));
	// Nothing is trimmed.
	EXPECT_NE(KorvatNameHash::ValueIdOfName(TEXT(" abc")), 0x352441C3u);
	// Beyond ASCII the engine's lower-casing and UTF-8 conversion give the bytes.
	const FString Accented(TEXT("Gr\u00D6\u00DFe \u00C9t\u00E9"));
	EXPECT_EQ(KorvatNameHash::ValueIdOfName(Accented), IdOfBytes(TCHAR_TO_UTF8(*Accented.ToLower())));
	EXPECT_EQ(KorvatNameHash::ValueIdOfField(Accented, TEXT("X")), IdOfBytes(std::string(TCHAR_TO_UTF8(*Accented.ToLower())) + ".x"));
	// Names longer than one chunk of the in-place path.
	FString Long;
	for (int32 Index = 0; Index < 150; ++Index)
	{
		Long.AppendChar(TEXT('Q'));
	}
	EXPECT_EQ(KorvatNameHash::ValueIdOfField(Long, Long), IdOfBytes(std::string(150, 'q') + "." + std::string(150, 'q')));
	// The bytes end at the first NUL.
	FString WithNul(TEXT("ab_cd"));
	WithNul[2] = TEXT('\0');
	EXPECT_EQ(KorvatNameHash::ValueIdOfName(WithNul), IdOfBytes("ab"));
	EXPECT_EQ(KorvatNameHash::ValueIdOfField(WithNul, TEXT("x")), IdOfBytes("ab"));
	EXPECT_TRUE(TakeModuleWarnings().empty());

	EXPECT_EQ(KorvatNameHash::ValueIdOfName(FString()), 0u);
	EXPECT_EQ(KorvatNameHash::ValueIdOfName(TEXT("")), 0u);
	// Emptied but keeping its buffer: still an empty name.
	FString Emptied(TEXT("KorvatAxisNode"));
	Emptied.Reset();
	EXPECT_EQ(KorvatNameHash::ValueIdOfName(Emptied), 0u);
	EXPECT_EQ(TakeModuleWarnings(), std::vector<std::string>(3, "Null pointer string passed to string hasher!"));
	// A field name joined to an empty node name is never empty.
	EXPECT_EQ(KorvatNameHash::ValueIdOfField(FString(), FString()), IdOfBytes("."));
	EXPECT_TRUE(TakeModuleWarnings().empty());
}

class BlueprintLibraryTest : public ModuleTest
{
protected:
	void StartConnected()
	{
		StartHost();
		StartEngine();
		ASSERT_TRUE(RunUntilConnected());
	}

	/** Runs a library function through ProcessEvent on the class default object, as a Blueprint graph does. */
	template <typename ParmsType>
	void Call(const TCHAR* Name, ParmsType& Parms)
	{
		UFunction* Function = LibraryFunction(Name);
		ASSERT_NE(Function, nullptr);
		// The block ends with the last parameter; the C++ structure may add padding after it.
		ASSERT_LE(Function->ParmsSize, sizeof(ParmsType)) << TCHAR_TO_UTF8(Name);
		ASSERT_GT(Function->ParmsSize + alignof(ParmsType), sizeof(ParmsType)) << TCHAR_TO_UTF8(Name);
		GetMutableDefault<UKorvatBPFunctionLibrary>()->ProcessEvent(Function, &Parms);
	}
};

TEST_F(BlueprintLibraryTest, WithoutTheModuleEverythingIsUnavailableAndNothingHappens)
{
	ASSERT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("KorvatPlugin")));
	bool bAvailable = true;
	EXPECT_EQ(UKorvatBPFunctionLibrary::GetKorvatIntValueByNodeName(TEXT("n"), TEXT("f"), bAvailable), 0);
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_TRUE(UKorvatBPFunctionLibrary::GetKorvatStringArrayByNodeName(TEXT("n"), TEXT("f"), bAvailable).IsEmpty());
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_TRUE(UKorvatBPFunctionLibrary::GetKorvatTransformValue(TEXT("n"), bAvailable).Equals(FTransform::Identity, 0.0));
	EXPECT_FALSE(bAvailable);
	bAvailable = true;
	EXPECT_TRUE(UKorvatBPFunctionLibrary::GetKorvatCameraTransform(bAvailable).Equals(FTransform::Identity, 0.0));
	EXPECT_FALSE(bAvailable);
	UKorvatBPFunctionLibrary::SendKorvatIntValueByNodeName(TEXT("n"), TEXT("f"), 1);
	UKorvatBPFunctionLibrary::TriggerKorvatEvent(TEXT("n"), TEXT("e"), 1);
	UKorvatBPFunctionLibrary::RegisterKorvatMethod(TEXT("n"), TEXT("m"), FKorvatEventCallback());
	EXPECT_FALSE(UKorvatBPFunctionLibrary::IsKorvatConnected());

	// The connection-state node leaves by Disconnected; the clock leaves its outputs as they were.
	struct
	{
		KorvatConnectionStatus connectionStatus = KorvatConnectionStatus::Connected;
	} StateParms;
	Call(TEXT("KorvatConnectionState"), StateParms);
	EXPECT_EQ(StateParms.connectionStatus, KorvatConnectionStatus::Disconnected);
	int64 FrameCounter = -5;
	float Time = -1.0f;
	int32 Numerator = -2;
	int32 Denominator = -3;
	EXPECT_FALSE(UKorvatBPFunctionLibrary::KorvatClusterClock(FrameCounter, Time, Numerator, Denominator));
	EXPECT_EQ(FrameCounter, -5);
	EXPECT_EQ(Time, -1.0f);
	EXPECT_EQ(Numerator, -2);
	EXPECT_EQ(Denominator, -3);
	EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("KorvatPlugin")));
}

TEST_F(BlueprintLibraryTest, BlueprintsReadHostValuesByNodeAndFieldName)
{
	StartConnected();
	const std::uint32_t Id = 0x822009C1; // node.field
	Send(Tag::VINT, Words({static_cast<std::int32_t>(Id), 41}));
	Send(Tag::VSTR, {0xC1, 0x09, 0x20, 0x82, 'h', 'i'});
	Send(Tag::ABOL, {0xC1, 0x09, 0x20, 0x82, 0x00, 0x07});
	RunFrames(2);

	struct
	{
		FString nodeName;
		FString fieldName;
		bool isAvailable = false;
		int32 ReturnValue = 0;
	} IntParms{TEXT("NODE"), TEXT("field"), false, 0};
	Call(TEXT("GetKorvatIntValueByNodeName"), IntParms);
	EXPECT_TRUE(IntParms.isAvailable);
	EXPECT_EQ(IntParms.ReturnValue, 41);

	bool bAvailable = false;
	EXPECT_EQ(UKorvatBPFunctionLibrary::GetKorvatStringValueByNodeName(TEXT("Node"), TEXT("Field"), bAvailable), TEXT("hi"));
	EXPECT_TRUE(bAvailable);
	EXPECT_EQ(UKorvatBPFunctionLibrary::GetKorvatBoolArrayByNodeName(TEXT("node"), TEXT("FIELD"), bAvailable), TArray<bool>({false, true}));
	EXPECT_TRUE(bAvailable);
	// Each kind is its own value: no float under this name.
	EXPECT_EQ(UKorvatBPFunctionLibrary::GetKorvatFloatValueByNodeName(TEXT("node"), TEXT("field"), bAvailable), 0.0f);
	EXPECT_FALSE(bAvailable);

	// An empty transform name warns and reads id 0, which the host has not sent.
	StandInTesting::ClearLogLines();
	bAvailable = true;
	EXPECT_TRUE(UKorvatBPFunctionLibrary::GetKorvatTransformValue(FString(), bAvailable).Equals(FTransform::Identity, 0.0));
	EXPECT_FALSE(bAvailable);
	EXPECT_EQ(TakeModuleWarnings(), std::vector<std::string>{"Null pointer string passed to string hasher!"});
}

TEST_F(BlueprintLibraryTest, BlueprintsSendEveryKindUnderTheNamesId)
{
	StartEngine();
	RunFrames(1);
	UTextureShareObject* Object = NewObject<UTextureShareObject>(GetTransientPackage());
	Module().RegisterTextureShare(MakeGuid(0x77, 0, 0, {}), Object);

	struct
	{
		FString nodeName;
		FString fieldName;
		TArray<FString> value;
	} ArrayParms{TEXT("Node"), TEXT("Field"), {TEXT("a"), TEXT("")}};
	Call(TEXT("SendKorvatStringArrayByNodeName"), ArrayParms);
	UKorvatBPFunctionLibrary::SendKorvatIntValueByNodeName(TEXT("node"), TEXT("FIELD"), -2);
	UKorvatBPFunctionLibrary::SendKorvatFloatArrayByNodeName(TEXT("a.b"), TEXT("c"), {1.0f});
	UKorvatBPFunctionLibrary::SendKorvatFloatArrayByNodeName(TEXT("a"), TEXT("b.c"), {2.0f}); // the same name: replaces
	UKorvatBPFunctionLibrary::SendKorvatTransformValue(FString(), FTransform::Identity);
	UKorvatBPFunctionLibrary::TriggerKorvatEvent(TEXT("Door"), TEXT("Opened"), 7);

	const std::uint32_t AbcId = IdOfBytes("a.b.c");
	const std::uint32_t OpenedId = IdOfBytes("door.opened");
	std::map<std::string, std::string> Parameters = ParametersOf(*Object);
	// The event's payload: the process's sequence number, then the argument.
	const std::string Event = Parameters[ParameterKey("45564E54", OpenedId)];
	ASSERT_EQ(Event.size(), 24u);
	EXPECT_EQ(Event.substr(0, 8), "00000000");
	EXPECT_EQ(Event.substr(16), "07000000");
	Parameters.erase(ParameterKey("45564E54", OpenedId));
	const std::map<std::string, std::string> Expected = {
		{ParameterKey("41535452", 0x822009C1), "00000000" "6100" "00"},
		{ParameterKey("56494E54", 0x822009C1), "00000000" "FEFFFFFF"},
		{ParameterKey("41464C54", AbcId), "00000000" "00000040"},
		{ParameterKey("4D545856", 0),
			"00000000"
			"000000000000F03F" "0000000000000000" "0000000000000000" "0000000000000000"
			"0000000000000000" "000000000000F03F" "0000000000000000" "0000000000000000"
			"0000000000000000" "0000000000000000" "000000000000F03F" "0000000000000000"
			"0000000000000000" "0000000000000000" "0000000000000000" "000000000000F03F"},
	};
	EXPECT_EQ(Parameters, Expected);
}

TEST_F(BlueprintLibraryTest, RegisteredMethodsRunWhenTheHostCallsThem)
{
	StartConnected();
	TArray<FString> Log;
	UKorvatTestReceiver* Receiver = NewObject<UKorvatTestReceiver>(GetTransientPackage());
	Receiver->Label = TEXT("door");
	Receiver->Log = &Log;

	struct
	{
		FString node;
		FString method;
		FKorvatEventCallback calledEvent;
	} Parms{TEXT("Door"), TEXT("Open"), FKorvatEventCallback()};
	Parms.calledEvent.BindUFunction(Receiver, FName(TEXT("OnMethod")));
	Call(TEXT("RegisterKorvatMethod"), Parms);

	Send(Tag::EVNT, Words({static_cast<std::int32_t>(IdOfBytes("door.open")), 0, 42}));
	Send(Tag::EVNT, Words({static_cast<std::int32_t>(IdOfBytes("door.close")), 0, 43}));
	RunFrames(2);
	EXPECT_EQ(Log, TArray<FString>({TEXT("door:42")}));
}

TEST_F(BlueprintLibraryTest, ConnectionClockAndCameraFollowTheHost)
{
	StartConnected();
	Send(Tag::CLCK, {0xD2, 0x04, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0xA0, 0x41, 60, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
	RunFrames(2);

	EXPECT_TRUE(UKorvatBPFunctionLibrary::IsKorvatConnected());
	struct
	{
		KorvatConnectionStatus connectionStatus = KorvatConnectionStatus::Disconnected;
	} StateParms;
	Call(TEXT("KorvatConnectionState"), StateParms);
	EXPECT_EQ(StateParms.connectionStatus, KorvatConnectionStatus::Connected);

	struct
	{
		int64 frameCounter = 0;
		float time = 0.0f;
		int32 frameRateNumerator = 0;
		int32 frameRateDenominator = 0;
		bool ReturnValue = false;
	} ClockParms;
	Call(TEXT("KorvatClusterClock"), ClockParms);
	EXPECT_TRUE(ClockParms.ReturnValue);
	EXPECT_EQ(ClockParms.frameCounter, 1234);
	EXPECT_EQ(ClockParms.time, 20.0f);
	EXPECT_EQ(ClockParms.frameRateNumerator, 60);
	EXPECT_EQ(ClockParms.frameRateDenominator, 1);

	bool bAvailable = false;
	const FTransform Camera = UKorvatBPFunctionLibrary::GetKorvatCameraTransform(bAvailable);
	EXPECT_TRUE(bAvailable);
	EXPECT_TRUE(Camera.Equals(Module().GetKorvatCameraTransform(), 0.0));

	Host.reset();
	RunFrames(5);
	ASSERT_FALSE(Module().IsConnected());
	UKorvatBPFunctionLibrary::GetKorvatCameraTransform(bAvailable);
	EXPECT_FALSE(bAvailable);
	EXPECT_FALSE(UKorvatBPFunctionLibrary::IsKorvatConnected());
}

} // namespace
} // namespace Korvat::ModuleTesting
