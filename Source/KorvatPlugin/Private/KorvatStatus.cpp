// The module's console commands: Korvat.Status reports the link and what it carried, Korvat.Trace.Start and
// Korvat.Trace.Stop record the link's messages to a file.
#include "KorvatPluginModule.h"

#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"
#include "Blueprints/TextureShareBlueprintContainers.h"

#include "KorvatLaunchId.h"
#include "KorvatPluginLog.h"
#include "KorvatTrace.h"


#include <algorithm>
#include <map>
#include <vector>

namespace
{
FString TagString(std::uint32_t Tag)
{
	const ANSICHAR Text[5] = {static_cast<ANSICHAR>(Tag), static_cast<ANSICHAR>(Tag >> 8), static_cast<ANSICHAR>(Tag >> 16),
		static_cast<ANSICHAR>(Tag >> 24), 0};
	return FString(Text);
}

/** "CAMR 2, PROJ 2" for the tags counted at least once, in the link's fixed order; "none" without any. */
FString DescribeCounters(const Korvat::UE4::TagCounters& Counters)
{
	TArray<FString> Parts;
	for (size_t Index = 0; Index < Korvat::UE4::KnownTags.size(); ++Index)
	{
		if (Counters[Index] != 0)
		{
			Parts.Add(FString::Printf(TEXT("%s %llu"), *TagString(Korvat::UE4::KnownTags[Index]), static_cast<unsigned long long>(Counters[Index])));
		}
	}
	if (Counters[Korvat::UE4::KnownTags.size()] != 0)
	{
		Parts.Add(FString::Printf(TEXT("other %llu"), static_cast<unsigned long long>(Counters[Korvat::UE4::KnownTags.size()])));
	}
	return Parts.Num() > 0 ? FString::Join(Parts, TEXT(", ")) : FString(TEXT("none"));
}

const TCHAR* QualityName(Korvat::UE4::RenderQuality Quality)
{
	switch (Quality)
	{
	case Korvat::UE4::RenderQuality::Default: return TEXT("Default");
	case Korvat::UE4::RenderQuality::Low: return TEXT("Low");
	case Korvat::UE4::RenderQuality::Medium: return TEXT("Medium");
	case Korvat::UE4::RenderQuality::High: return TEXT("High");
	case Korvat::UE4::RenderQuality::VeryHigh: return TEXT("VeryHigh");
	case Korvat::UE4::RenderQuality::Cinematic: return TEXT("Cinematic");
	}
	return TEXT("unknown");
}

FString Quoted(const std::string& Utf8)
{
	return FString::Printf(TEXT("\"%s\""), *FString(UTF8_TO_TCHAR(Utf8.c_str())));
}

template <typename ValueType, typename FormatType>
FString JoinValues(const std::vector<ValueType>& Values, FormatType Format)
{
	TArray<FString> Parts;
	for (const ValueType& Value : Values)
	{
		Parts.Add(Format(Value));
	}
	return TEXT("[") + FString::Join(Parts, TEXT(", ")) + TEXT("]");
}

FString FloatString(float Value)
{
	return FString::Printf(TEXT("%g"), static_cast<double>(Value));
}

FString MatrixString(const Korvat::UE4::Matrix16& Matrix)
{
	return JoinValues(std::vector<float>(Matrix.begin(), Matrix.end()), FloatString);
}

/** Adds one line per value of Map, by id, formatted by Format. */
template <typename MapType, typename FormatType>
void AddValueLines(const TCHAR* Kind, const MapType& Map, FormatType Format, TArray<FString>& OutLines)
{
	std::map<std::uint32_t, FString> Sorted;
	for (const auto& [Id, Value] : Map)
	{
		Sorted.emplace(Id, Format(Value));
	}
	for (const auto& [Id, Text] : Sorted)
	{
		OutLines.Add(FString::Printf(TEXT("  %s 0x%08X = %s"), Kind, Id, *Text));
	}
}
} // namespace

void FKorvatPlugin::RegisterConsoleCommands()
{
	IConsoleManager& Console = IConsoleManager::Get();
	ConsoleCommands.Add(Console.RegisterConsoleCommand(TEXT("Korvat.Status"),
		TEXT("Prints the state of the link to the Korvat host: connection, launch id, messages per tag, resolution, quality, "
			 "clock, share objects, field-list questions, input packets, writes and the trace. 'Korvat.Status full' also lists "
			 "every value held and every share parameter."),
		FConsoleCommandWithArgsAndOutputDeviceDelegate::CreateRaw(this, &FKorvatPlugin::ExecStatusCommand), ECVF_Default));
	ConsoleCommands.Add(Console.RegisterConsoleCommand(TEXT("Korvat.Trace.Start"),
		TEXT("Records every message of the link to the Korvat host as JSON lines, into the given file (relative names lie in "
			 "the project's log folder) or a new file there. Stops by itself at Korvat.Trace.MaxMiB."),
		FConsoleCommandWithArgsAndOutputDeviceDelegate::CreateRaw(this, &FKorvatPlugin::ExecTraceStartCommand), ECVF_Default));
	ConsoleCommands.Add(Console.RegisterConsoleCommand(TEXT("Korvat.Trace.Stop"), TEXT("Stops recording the Korvat link's messages."),
		FConsoleCommandWithArgsAndOutputDeviceDelegate::CreateRaw(this, &FKorvatPlugin::ExecTraceStopCommand), ECVF_Default));
	TraceMaxMiB = Console.RegisterConsoleVariable(TEXT("Korvat.Trace.MaxMiB"), FKorvatTrace::DefaultMaxMiB,
		TEXT("The size in MiB at which a Korvat trace stops recording (1 to 4096; read when a trace starts)."), ECVF_Default);
	ConsoleCommands.Add(TraceMaxMiB);
}

void FKorvatPlugin::UnregisterConsoleCommands()
{
	for (IConsoleObject* Command : ConsoleCommands)
	{
		if (Command != nullptr)
		{
			IConsoleManager::Get().UnregisterConsoleObject(Command, false);
		}
	}
	ConsoleCommands.Empty();
	TraceMaxMiB = nullptr;
}

bool FKorvatPlugin::IsTracing() const
{
	return Trace.IsValid() && Trace->IsRecording();
}

void FKorvatPlugin::ExecStatusCommand(const TArray<FString>& Args, FOutputDevice& Ar)
{
	const bool bFull = Args.Num() > 0 && Args[0].Equals(TEXT("full"), ESearchCase::IgnoreCase);
	TArray<FString> Lines;
	DescribeStatus(bFull, Lines);
	for (const FString& Line : Lines)
	{
		Ar.Log(Line);
	}
}

void FKorvatPlugin::ExecTraceStartCommand(const TArray<FString>& Args, FOutputDevice& Ar)
{
	if (IsTracing())
	{
		Ar.Logf(TEXT("Korvat trace already recording to %s"), *Trace->GetPath());
		return;
	}
	if (!Trace.IsValid())
	{
		Trace = MakeUnique<FKorvatTrace>(Link);
	}
	// The console splits the line at spaces and keeps quotes: a name with spaces comes back whole, unquoted.
	FString Name = FString::Join(Args, TEXT(" "));
	if (Name.Len() >= 2 && Name.StartsWith(TEXT("\"")) && Name.EndsWith(TEXT("\"")))
	{
		Name = Name.Mid(1, Name.Len() - 2);
	}
	const FString Path = Name.IsEmpty() ? FKorvatTrace::DefaultPath() : FKorvatTrace::ResolvePath(Name);
	const int32 MaxMiB = FMath::Clamp(TraceMaxMiB != nullptr ? TraceMaxMiB->GetInt() : FKorvatTrace::DefaultMaxMiB, 1, 4096);
	FString Error;
	if (!Trace->Start(Path, int64{MaxMiB} << 20, Error))
	{
		UE_LOG(LogKorvatPlugin, Error, TEXT("Korvat trace not started: %s"), *Error);
		return;
	}
	UE_LOG(LogKorvatPlugin, Display, TEXT("Korvat trace recording to %s"), *Path);
}

void FKorvatPlugin::ExecTraceStopCommand(const TArray<FString>& Args, FOutputDevice& Ar)
{
	if (!IsTracing())
	{
		Ar.Log(TEXT("Korvat trace is not recording"));
		return;
	}
	Trace->Stop();
	UE_LOG(LogKorvatPlugin, Display, TEXT("Korvat trace stopped: %lld messages, %lld bytes in %s"), Trace->GetMessageCount(),
		Trace->GetBytesWritten(), *Trace->GetPath());
}

void FKorvatPlugin::DescribeStatus(bool bFull, TArray<FString>& OutLines) const
{
	const Korvat::UE4::ConnectionReport& Report = Link.GetConnectionReport();
	if (Link.IsConnected())
	{
		OutLines.Add(FString::Printf(TEXT("Korvat link: connected, slot %u, connection %s"), Link.GetSlotIndex(),
			*Korvat::GuidToString(Report.ConnectionId)));
	}
	else
	{
		OutLines.Add(FString::Printf(TEXT("Korvat link: not connected (%s)"), *FString(Korvat::UE4::ToString(Report.Condition))));
	}
	OutLines.Add(FString::Printf(TEXT("Launch id: %s (%s)"), *Korvat::GuidToString(LaunchId),
		bLaunchIdGenerated ? TEXT("generated") : TEXT("from the command line")));

	const Korvat::UE4::MessageCounters& Counters = Link.GetMessageCounters();
	OutLines.Add(FString::Printf(TEXT("Messages received: %s; malformed %llu"), *DescribeCounters(Counters.Received),
		static_cast<unsigned long long>(Counters.Malformed)));
	OutLines.Add(FString::Printf(TEXT("Messages sent: %s"), *DescribeCounters(Counters.Sent)));

	int32 Width = 0;
	int32 Height = 0;
	Link.GetLastResolution(Width, Height);
	OutLines.Add(Width != 0 || Height != 0 ? FString::Printf(TEXT("Resolution: %dx%d"), Width, Height)
										   : FString(TEXT("Resolution: none received")));
	OutLines.Add(FString::Printf(TEXT("Quality: %s (%d)"), QualityName(CurrentRenderQuality), static_cast<int32>(CurrentRenderQuality)));
	const Korvat::UE4::FromKorvatClock Clock = Link.GetClock();
	OutLines.Add(FString::Printf(TEXT("Clock: frame %lld, time %.3f, rate %d/%d"), static_cast<long long>(Clock.frameCounter),
		static_cast<double>(Clock.time), Clock.frameRateNumerator, Clock.frameRateDenominator));

	// By GUID, so that the report reads the same from one run to the next.
	std::map<FString, const TWeakObjectPtr<UTextureShareObject>*> Shares;
	for (const auto& [Guid, Object] : RegisteredTextureShares)
	{
		Shares.emplace(Korvat::GuidToString(Guid), &Object);
	}
	OutLines.Add(FString::Printf(TEXT("Share objects: %d registered"), static_cast<int32>(Shares.size())));
	for (const auto& [Guid, Object] : Shares)
	{
		const UTextureShareObject* Live = Object->Get();
		OutLines.Add(Live != nullptr ? FString::Printf(TEXT("  %s: %d parameters"), *Guid, Live->CustomData.SendParameters.Num())
									 : FString::Printf(TEXT("  %s: destroyed"), *Guid));
	}

	OutLines.Add(FString::Printf(TEXT("Field lists: %d asked of the host and unanswered, %d asked by the host and not yet answered"),
		static_cast<int32>(Link.GetPendingFieldListRequestCount()), static_cast<int32>(FieldListRequests.size())));
	OutLines.Add(FString::Printf(TEXT("Input packets: %llu taken, %llu injected"), static_cast<unsigned long long>(InputPacketsTaken),
		static_cast<unsigned long long>(InputPacketsInjected)));
	const Korvat::UE4::WriteFailures& Failures = Link.GetWriteFailures();
	OutLines.Add(FString::Printf(TEXT("Outbound writes: %u pending, %llu failed%s"), Link.GetPendingWrites(),
		static_cast<unsigned long long>(Failures.Total), Failures.bFailing ? TEXT(" (failing now)") : TEXT("")));
	OutLines.Add(IsTracing() ? FString::Printf(TEXT("Trace: recording to %s (%lld messages, %lld bytes)"), *Trace->GetPath(),
								   Trace->GetMessageCount(), Trace->GetBytesWritten())
							 : FString(TEXT("Trace: off")));

	if (!bFull)
	{
		return;
	}

	const Korvat::UE4::InboundStore& Store = Link.Inbound;
	OutLines.Add(TEXT("Values held:"));
	AddValueLines(TEXT("int"), Store.IntValues, [](std::int32_t Value) { return FString::Printf(TEXT("%d"), Value); }, OutLines);
	AddValueLines(TEXT("float"), Store.FloatValues, FloatString, OutLines);
	AddValueLines(TEXT("string"), Store.StringValues, Quoted, OutLines);
	AddValueLines(TEXT("bool"), Store.BoolValues, [](bool Value) { return FString(Value ? TEXT("true") : TEXT("false")); }, OutLines);
	AddValueLines(TEXT("int array"), Store.IntArrays,
		[](const std::vector<std::int32_t>& Values) {
			return JoinValues(Values, [](std::int32_t Value) { return FString::Printf(TEXT("%d"), Value); });
		},
		OutLines);
	AddValueLines(TEXT("float array"), Store.FloatArrays,
		[](const std::vector<float>& Values) { return JoinValues(Values, FloatString); }, OutLines);
	AddValueLines(TEXT("string array"), Store.StringArrays,
		[](const std::wstring& Text) {
			// The items follow one another, each ended by a NUL.
			std::vector<FString> Items;
			for (size_t Start = 0; Start < Text.size();)
			{
				const size_t End = std::min(Text.find(L'\0', Start), Text.size());
				Items.emplace_back(FString::Printf(TEXT("\"%s\""),
					*FString(static_cast<int32>(End - Start), Text.data() + Start)));
				Start = End + 1;
			}
			return JoinValues(Items, [](const FString& Item) { return Item; });
		},
		OutLines);
	AddValueLines(TEXT("bool array"), Store.BoolArrays,
		[](const std::vector<std::uint8_t>& Values) {
			return JoinValues(Values, [](std::uint8_t Value) { return FString(Value != 0 ? TEXT("true") : TEXT("false")); });
		},
		OutLines);
	AddValueLines(TEXT("matrix"), Store.Matrices, MatrixString, OutLines);

	for (const auto& [Guid, Object] : Shares)
	{
		const UTextureShareObject* Live = Object->Get();
		if (Live == nullptr)
		{
			continue;
		}
		OutLines.Add(FString::Printf(TEXT("Share parameters of %s:"), *Guid));
		std::map<FString, FString> Parameters;
		for (const auto& Pair : Live->CustomData.SendParameters)
		{
			Parameters.emplace(Pair.Key, Pair.Value);
		}
		for (const auto& [Key, Value] : Parameters)
		{
			// A value starts with the frame marker it was published at (4 bytes), then the payload.
			OutLines.Add(FString::Printf(TEXT("  %s = %s (marker %s)"), *Key, *Value.Mid(8), *Value.Left(8)));
		}
	}
}
