#include "Misc/CommandLine.h"
#include "Misc/EngineVersion.h"
#include "Containers/UnrealString.h"
#include "Math/Color.h"
#include "ProfilingDebugging/CpuProfilerTrace.h"
#include "Stats/Stats.h"
#include "StandInState.h"

#include <cmath>

// --- Command line ------------------------------------------------------------------------------

namespace
{
	struct FCommandLineState
	{
		FString Current;
		FString Original;
		bool bInitialized = false;
	};

	FCommandLineState& CommandLineState()
	{
		static FCommandLineState* State = new FCommandLineState();
		return *State;
	}
}

const TCHAR* FCommandLine::Get()
{
	return *CommandLineState().Current;
}

const TCHAR* FCommandLine::GetOriginal()
{
	return *CommandLineState().Original;
}

bool FCommandLine::IsInitialized()
{
	return CommandLineState().bInitialized;
}

bool FCommandLine::Set(const TCHAR* NewCommandLine)
{
	FCommandLineState& State = CommandLineState();
	if (!State.bInitialized)
	{
		State.Original = NewCommandLine;
	}
	State.Current = NewCommandLine;
	State.bInitialized = true;
	return true;
}

void FCommandLine::Append(const TCHAR* AppendString)
{
	CommandLineState().Current += AppendString;
}

// --- Engine version ----------------------------------------------------------------------------

namespace
{
	FEngineVersion& MutableCurrentVersion()
	{
		static FEngineVersion* Version = new FEngineVersion(5, 5, 4, 0, FString(TEXT("++UE5+Release-5.5")));
		return *Version;
	}
}

FEngineVersion::FEngineVersion(uint16 InMajor, uint16 InMinor, uint16 InPatch, uint32 InChangelist, const FString& InBranch)
{
	Set(InMajor, InMinor, InPatch, InChangelist, InBranch);
}

void FEngineVersion::Set(uint16 InMajor, uint16 InMinor, uint16 InPatch, uint32 InChangelist, const FString& InBranch)
{
	Major = InMajor;
	Minor = InMinor;
	Patch = InPatch;
	Changelist = InChangelist;
	Branch = InBranch;
}

void FEngineVersion::Empty()
{
	Set(0, 0, 0, 0, FString());
}

bool FEngineVersion::ExactMatch(const FEngineVersion& Other) const
{
	return Major == Other.Major && Minor == Other.Minor && Patch == Other.Patch && Changelist == Other.Changelist && Branch == Other.Branch;
}

bool FEngineVersion::IsCompatibleWith(const FEngineVersionBase& Other) const
{
	return Major == Other.GetMajor() && Minor == Other.GetMinor();
}

FString FEngineVersion::ToString(EVersionComponent LastComponent) const
{
	FString Result = FString::Printf(TEXT("%u"), static_cast<uint32>(Major));
	if (LastComponent >= EVersionComponent::Minor)
	{
		Result += FString::Printf(TEXT(".%u"), static_cast<uint32>(Minor));
	}
	if (LastComponent >= EVersionComponent::Patch)
	{
		Result += FString::Printf(TEXT(".%u"), static_cast<uint32>(Patch));
	}
	if (LastComponent >= EVersionComponent::Changelist)
	{
		Result += FString::Printf(TEXT("-%u"), GetChangelist());
	}
	if (LastComponent >= EVersionComponent::Branch && !Branch.IsEmpty())
	{
		Result += TEXT("+") + Branch;
	}
	return Result;
}

const FEngineVersion& FEngineVersion::Current()
{
	return MutableCurrentVersion();
}

const FEngineVersion& FEngineVersion::CompatibleWith()
{
	return MutableCurrentVersion();
}

namespace StandInState
{
	void SetEngineVersionPatch(uint16 InPatch)
	{
		const FEngineVersion& Version = MutableCurrentVersion();
		MutableCurrentVersion().Set(Version.GetMajor(), Version.GetMinor(), InPatch, Version.GetChangelist(), Version.GetBranchDescriptor());
	}
}

// --- CPU profiler scopes -----------------------------------------------------------------------

bool FCpuProfilerTrace::IsRecording()
{
	return StandInState::Records().bCpuProfilerRecording.load(std::memory_order_relaxed);
}

void FCpuProfilerTrace::OutputBeginEvent(const ANSICHAR* Name)
{
	StandInState::FRecords& Records = StandInState::Records();
	std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
	Records.CpuProfilerScopes.Add(FString(Name));
}

void FCpuProfilerTrace::OutputBeginEvent(const TCHAR* Name)
{
	StandInState::FRecords& Records = StandInState::Records();
	std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
	Records.CpuProfilerScopes.Add(FString(Name));
}

// --- Stats -------------------------------------------------------------------------------------

namespace
{
	struct FStatRegistry
	{
		std::mutex Mutex;
		TArray<UE::Stats::Private::FStatDescription*> Stats;
	};

	FStatRegistry& StatRegistry()
	{
		static FStatRegistry* Registry = new FStatRegistry();
		return *Registry;
	}
}

namespace UE::Stats::Private
{
	TStatId RegisterStat(const FStatDescription& Description)
	{
		FStatRegistry& Registry = StatRegistry();
		std::lock_guard<std::mutex> Lock(Registry.Mutex);
		FStatDescription* Registered = new FStatDescription(Description);
		Registry.Stats.Add(Registered);
		return TStatId(Registered);
	}
}

namespace StandInState
{
	StandInTesting::FStatInfo GetStatInfo(TStatId StatId)
	{
		const UE::Stats::Private::FStatDescription* Description = StatId.GetRawPointer();
		if (!Description)
		{
			return StandInTesting::FStatInfo{};
		}
		return StandInTesting::FStatInfo{FString(Description->StatName), FString(Description->Description), FString(Description->GroupName),
			FString(Description->GroupCategory), FString(Description->GroupDescription)};
	}

	int32 GetStatRegistrationCount(const FString& StatName)
	{
		FStatRegistry& Registry = StatRegistry();
		std::lock_guard<std::mutex> Lock(Registry.Mutex);
		int32 Count = 0;
		for (const UE::Stats::Private::FStatDescription* Description : Registry.Stats)
		{
			Count += StatName.Equals(Description->StatName, ESearchCase::CaseSensitive) ? 1 : 0;
		}
		return Count;
	}
}

// --- Colours -----------------------------------------------------------------------------------

const FLinearColor FLinearColor::White(1.f, 1.f, 1.f);
const FLinearColor FLinearColor::Gray(0.5f, 0.5f, 0.5f);
const FLinearColor FLinearColor::Black(0, 0, 0);
const FLinearColor FLinearColor::Transparent(0, 0, 0, 0);
const FLinearColor FLinearColor::Red(1.f, 0, 0);
const FLinearColor FLinearColor::Green(0, 1.f, 0);
const FLinearColor FLinearColor::Blue(0, 0, 1.f);
const FLinearColor FLinearColor::Yellow(1.f, 1.f, 0);

const FColor FColor::White(255, 255, 255);
const FColor FColor::Black(0, 0, 0);
const FColor FColor::Transparent(0, 0, 0, 0);
const FColor FColor::Red(255, 0, 0);
const FColor FColor::Green(0, 255, 0);
const FColor FColor::Blue(0, 0, 255);
const FColor FColor::Yellow(255, 255, 0);
const FColor FColor::Cyan(0, 255, 255);
const FColor FColor::Magenta(255, 0, 255);
const FColor FColor::Orange(243, 156, 18);
const FColor FColor::Purple(169, 7, 228);
const FColor FColor::Turquoise(26, 188, 156);
const FColor FColor::Silver(189, 195, 199);
const FColor FColor::Emerald(46, 204, 113);

namespace
{
	float SRGBToLinear(uint8 Channel)
	{
		const float C = Channel / 255.0f;
		return C > 0.04045f ? std::pow(C * (1.0f / 1.055f) + 0.0521327f, 2.4f) : C * (1.0f / 12.92f);
	}
}

FLinearColor::FLinearColor(const FColor& Color)
	: R(SRGBToLinear(Color.R))
	, G(SRGBToLinear(Color.G))
	, B(SRGBToLinear(Color.B))
	, A(Color.A / 255.0f)
{
}

FLinearColor FLinearColor::FromSRGBColor(const FColor& Color)
{
	return FLinearColor(Color);
}

FColor FLinearColor::ToFColor(const bool bSRGB) const
{
	float FloatR = FMath::Clamp(R, 0.0f, 1.0f);
	float FloatG = FMath::Clamp(G, 0.0f, 1.0f);
	float FloatB = FMath::Clamp(B, 0.0f, 1.0f);
	const float FloatA = FMath::Clamp(A, 0.0f, 1.0f);
	if (bSRGB)
	{
		auto Encode = [](float C) { return C <= 0.0031308f ? C * 12.92f : std::pow(C, 1.0f / 2.4f) * 1.055f - 0.055f; };
		FloatR = Encode(FloatR);
		FloatG = Encode(FloatG);
		FloatB = Encode(FloatB);
	}
	return FColor(static_cast<uint8>(FMath::FloorToInt(FloatR * 255.999f)), static_cast<uint8>(FMath::FloorToInt(FloatG * 255.999f)),
		static_cast<uint8>(FMath::FloorToInt(FloatB * 255.999f)), static_cast<uint8>(FMath::FloorToInt(FloatA * 255.999f)));
}
