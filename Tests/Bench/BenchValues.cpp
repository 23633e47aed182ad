// Publishing values for the host: the module's send (parameter form, then the add to a share object's map)
// against a straightforward snprintf encoder of the same key and value followed by the same map add; one
// value at a time and 10,000 values in one frame. The module runs in the stand-in engine with one
// registered share object; no host is needed, since values travel through the share object only.
// Usage: korvat_bench_values [Google Benchmark flags]
#include "AllocationCounter.h"
#include "BenchFigures.h"
#include "BenchSupport.h"

#include "Blueprints/TextureShareBlueprintContainers.h"
#include "KorvatPluginModule.h"
#include "SandboxEngine.h"
#include "StandInTesting.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace Korvat::UE4::Bench
{
namespace
{

/** Ids cycle through this many values, so the map holds a realistic number of entries. */
constexpr uint32 IdsInUse = 64;
constexpr int32 ValuesPerFrame = 10000;

/** The engine with the module loaded and one share object registered, made once for the whole run. */
struct ValuesRig
{
	BenchNamespace Namespace;
	std::unique_ptr<Sandbox::FSandboxEngine> Engine;
	FKorvatPlugin* Module = nullptr;
	UTextureShareObject* Published = nullptr;
	/** The baseline's own map, not registered with the module. */
	UTextureShareObject* Baseline = nullptr;
	bool bReady = false;

	ValuesRig()
	{
		StandInTesting::SetLogEchoToStderr(false);
		Engine = std::make_unique<Sandbox::FSandboxEngine>();
		FString Error;
		if (!Engine->Start(Error))
		{
			return;
		}
		Engine->RunFrames(2);
		Module = Engine->GetModule();
		Published = NewObject<UTextureShareObject>(GetTransientPackage());
		Baseline = NewObject<UTextureShareObject>(GetTransientPackage());
		GUID Guid;
		Guid.Data1 = 0xBE0C4u;
		Module->RegisterTextureShare(Guid, Published);
		bReady = Module != nullptr;
	}
};

ValuesRig& Rig()
{
	static ValuesRig* const Created = new ValuesRig();
	return *Created;
}

/** The encoder one would write first: every byte through snprintf, then engine strings and the map add. */
void PublishWithSnprintf(TMap<FString, FString>& Map, uint32 Tag, uint32 Id, int32 Marker, const void* Payload, int32 Length)
{
	uint8 KeyBytes[24] = {};
	std::memcpy(KeyBytes, &Tag, 4);
	std::memcpy(KeyBytes + 4, &Id, 4);
	char Key[2 * sizeof(KeyBytes) + 1];
	for (size_t Index = 0; Index < sizeof(KeyBytes); ++Index)
	{
		std::snprintf(Key + 2 * Index, 3, "%02X", KeyBytes[Index]);
	}
	std::string Value(static_cast<size_t>(2 * (4 + Length)) + 1, '\0');
	const auto* MarkerBytes = reinterpret_cast<const uint8*>(&Marker);
	for (int32 Index = 0; Index < 4; ++Index)
	{
		std::snprintf(&Value[2 * Index], 3, "%02X", MarkerBytes[Index]);
	}
	const auto* PayloadBytes = static_cast<const uint8*>(Payload);
	for (int32 Index = 0; Index < Length; ++Index)
	{
		std::snprintf(&Value[2 * (4 + Index)], 3, "%02X", PayloadBytes[Index]);
	}
	Map.Add(FString(Key), FString(Value.c_str()));
}

void CountAllocations(benchmark::State& State, std::uint64_t Before, double ValuesPerIteration)
{
	const std::uint64_t Allocations = Korvat::Bench::AllocationCount() - Before;
	State.counters["allocs_per_value"] = benchmark::Counter(
		static_cast<double>(Allocations) / (static_cast<double>(State.iterations()) * ValuesPerIteration));
}

void BM_SendIntValue_Module(benchmark::State& State)
{
	ValuesRig& Values = Rig();
	if (!Values.bReady)
	{
		State.SkipWithError("the engine did not start");
		return;
	}
	// Every id in use is in the map before timing starts, so the loop measures sends that replace entries.
	for (uint32 Id = 0; Id < IdsInUse; ++Id)
	{
		Values.Module->SendIntValue(Id, 0);
	}
	uint32 Id = 0;
	int32 Value = 0;
	const std::uint64_t Before = Korvat::Bench::AllocationCount();
	for (auto _ : State)
	{
		Values.Module->SendIntValue(Id, Value);
		Id = (Id + 1) % IdsInUse;
		++Value;
	}
	CountAllocations(State, Before, 1.0);
	if (Values.Published->CustomData.SendParameters.Num() != static_cast<int32>(IdsInUse))
	{
		State.SkipWithError("the sends did not reach the share object");
	}
}
BENCHMARK(BM_SendIntValue_Module);

void BM_SendIntValue_Snprintf(benchmark::State& State)
{
	ValuesRig& Values = Rig();
	if (!Values.bReady)
	{
		State.SkipWithError("the engine did not start");
		return;
	}
	TMap<FString, FString>& Map = Values.Baseline->CustomData.SendParameters;
	for (uint32 Id = 0; Id < IdsInUse; ++Id)
	{
		const int32 Zero = 0;
		PublishWithSnprintf(Map, Tag::VINT, Id, 0, &Zero, sizeof(Zero));
	}
	uint32 Id = 0;
	int32 Value = 0;
	const std::uint64_t Before = Korvat::Bench::AllocationCount();
	for (auto _ : State)
	{
		PublishWithSnprintf(Map, Tag::VINT, Id, 0, &Value, sizeof(Value));
		Id = (Id + 1) % IdsInUse;
		++Value;
	}
	CountAllocations(State, Before, 1.0);
	if (Map.Num() != static_cast<int32>(IdsInUse))
	{
		State.SkipWithError("the baseline lost an entry");
	}
}
BENCHMARK(BM_SendIntValue_Snprintf);

/**
 * A frame's worth of values, each with its own id. Between frames the map is emptied but keeps its storage
 * (Reset), and one untimed frame runs first, so both sides measure encoding and adding rather than the
 * growth of the map's storage.
 */
void BM_TenThousandValuesInOneFrame_Module(benchmark::State& State)
{
	ValuesRig& Values = Rig();
	if (!Values.bReady)
	{
		State.SkipWithError("the engine did not start");
		return;
	}
	TMap<FString, FString>& Map = Values.Published->CustomData.SendParameters;
	Map.Reset();
	for (int32 Index = 0; Index < ValuesPerFrame; ++Index)
	{
		Values.Module->SendIntValue(static_cast<uint32>(Index), Index);
	}
	Map.Reset();
	const std::uint64_t Before = Korvat::Bench::AllocationCount();
	for (auto _ : State)
	{
		for (int32 Index = 0; Index < ValuesPerFrame; ++Index)
		{
			Values.Module->SendIntValue(static_cast<uint32>(Index), Index);
		}
		State.PauseTiming();
		if (Map.Num() != ValuesPerFrame)
		{
			State.SkipWithError("a value of the frame is missing");
		}
		Map.Reset();
		State.ResumeTiming();
	}
	CountAllocations(State, Before, ValuesPerFrame);
	State.SetItemsProcessed(State.iterations() * ValuesPerFrame);
}
BENCHMARK(BM_TenThousandValuesInOneFrame_Module)->Unit(benchmark::kMillisecond);

void BM_TenThousandValuesInOneFrame_Snprintf(benchmark::State& State)
{
	ValuesRig& Values = Rig();
	if (!Values.bReady)
	{
		State.SkipWithError("the engine did not start");
		return;
	}
	TMap<FString, FString>& Map = Values.Baseline->CustomData.SendParameters;
	Map.Reset();
	for (int32 Index = 0; Index < ValuesPerFrame; ++Index)
	{
		PublishWithSnprintf(Map, Tag::VINT, static_cast<uint32>(Index), 0, &Index, sizeof(Index));
	}
	Map.Reset();
	const std::uint64_t Before = Korvat::Bench::AllocationCount();
	for (auto _ : State)
	{
		for (int32 Index = 0; Index < ValuesPerFrame; ++Index)
		{
			PublishWithSnprintf(Map, Tag::VINT, static_cast<uint32>(Index), 0, &Index, sizeof(Index));
		}
		State.PauseTiming();
		Map.Reset();
		State.ResumeTiming();
	}
	CountAllocations(State, Before, ValuesPerFrame);
	State.SetItemsProcessed(State.iterations() * ValuesPerFrame);
}
BENCHMARK(BM_TenThousandValuesInOneFrame_Snprintf)->Unit(benchmark::kMillisecond);

/** The baseline's time over the module's, for one pair of the run. */
void PrintRatio(const Korvat::Bench::FFigureReporter& Figures, const char* What, const char* BaselineName, const char* ModuleName)
{
	const Korvat::Bench::FBenchFigures* Baseline = Figures.Find(BaselineName);
	const Korvat::Bench::FBenchFigures* Module = Figures.Find(ModuleName);
	if (Baseline != nullptr && Module != nullptr && Module->RealTime > 0)
	{
		std::printf("%s: snprintf encoder / module = %.2fx\n", What, Baseline->RealTime / Module->RealTime);
	}
}

void PrintRatios(const Korvat::Bench::FFigureReporter& Figures)
{
	std::printf("\n");
	PrintRatio(Figures, "one value", "BM_SendIntValue_Snprintf", "BM_SendIntValue_Module");
	PrintRatio(Figures, "10,000 values in one frame", "BM_TenThousandValuesInOneFrame_Snprintf", "BM_TenThousandValuesInOneFrame_Module");
}

} // namespace
} // namespace Korvat::UE4::Bench

int main(int ArgumentCount, char** Arguments)
{
	return Korvat::Bench::RunBenchmarks(ArgumentCount, Arguments, Korvat::UE4::Bench::PrintRatios);
}
