// Link benchmarks, each beside its baseline in the same run:
//  - the idle connected step (Connect + an empty ReadMessages) against the bare platform calls it needs;
//  - draining 64-byte messages with ReadMessages against a raw peek-and-read loop on a pipe of the same kind;
//  - heap allocations per idle step (counted by replacing the global allocation functions; must be 0).
// Ratios are printed after the table.
#include "AllocationCounter.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

namespace
{


} // namespace


namespace Korvat::UE4::Bench
{
namespace
{

// Small enough that a whole batch fits in the pipe's buffer, so every write is delivered at once.
constexpr int DrainBatch = 64;

BenchNamespace& Namespace()
{
	static BenchNamespace Instance;
	return Instance;
}

ConnectedLinkRig& LinkRig()
{
	static ConnectedLinkRig* Rig = []
	{
		(void)Namespace();
		auto* Created = new ConnectedLinkRig();
		if (!Created->Start())
		{
			std::fprintf(stderr, "cannot connect the link to the host simulator: %s\n", Created->Host.LastError().c_str());
			std::exit(2);
		}
		return Created;
	}();
	return *Rig;
}

void BM_IdleStep_Link(benchmark::State& State)
{
	ConnectedLinkRig& Rig = LinkRig();
	Rig.IdleStep();
	const std::uint64_t Before = Korvat::Bench::AllocationCount();
	for (auto _ : State)
	{
		Rig.IdleStep();
	}
	const std::uint64_t Allocations = Korvat::Bench::AllocationCount() - Before;
	State.counters["allocs_per_step"] =
		benchmark::Counter(static_cast<double>(Allocations) / static_cast<double>(State.iterations()));
	if (!Rig.Link.IsConnected())
	{
		State.SkipWithError("the link lost its connection");
	}
}
BENCHMARK(BM_IdleStep_Link);

void BM_IdleStep_Floor(benchmark::State& State)
{
	(void)Namespace();
	PlatformFloorRig Rig;
	if (!Rig.Start())
	{
		State.SkipWithError("cannot create the floor's objects");
		return;
	}
	for (auto _ : State)
	{
		Rig.Step();
	}
	benchmark::DoNotOptimize(Rig.Sink);
}
BENCHMARK(BM_IdleStep_Floor);

void BM_Drain64_Link(benchmark::State& State)
{
	ConnectedLinkRig& Rig = LinkRig();
	std::vector<std::vector<std::uint8_t>> Messages;
	for (int Index = 0; Index < DrainBatch; ++Index)
	{
		Messages.push_back(SixtyFourByteMessage(static_cast<std::uint32_t>(Index % 16)));
	}
	for (auto _ : State)
	{
		State.PauseTiming();
		for (const auto& Message : Messages)
		{
			if (!Rig.Host.SendRaw(Rig.Slot(), Message))
			{
				State.SkipWithError("the host could not send");
				break;
			}
		}
		State.ResumeTiming();
		(void)Rig.Callbacks.Read(Rig.Link);
	}
	State.SetItemsProcessed(State.iterations() * DrainBatch);
	if (Rig.Callbacks.Accepted < static_cast<std::uint64_t>(State.iterations()) * DrainBatch)
	{
		State.SkipWithError("messages were lost");
	}
}
BENCHMARK(BM_Drain64_Link);

void BM_Drain64_RawPeekRead(benchmark::State& State)
{
	(void)Namespace();
	const std::wstring Name = L"\\\\.\\pipe\\Raw_Drain" + UniqueSuffix();
	Platform::MessagePipeWriter Writer;
	Platform::MessagePipeReader Reader;
	if (Platform::MessagePipeWriter::Create(Name, Writer) != Platform::OpenResult::Ok ||
		Platform::MessagePipeReader::Open(Name, Reader) != Platform::OpenResult::Ok)
	{
		State.SkipWithError("cannot create the raw pipe");
		return;
	}
	const std::vector<std::uint8_t> Message = SixtyFourByteMessage(1);
	const auto Head = std::as_bytes(std::span<const std::uint8_t>(Message.data(), 4));
	const auto Body = std::as_bytes(std::span<const std::uint8_t>(Message.data() + 4, Message.size() - 4));
	std::vector<std::uint8_t> Buffer(64);
	std::uint64_t Bytes = 0;
	std::uint32_t Size = 0;
	(void)Reader.Peek(Size); // lets the writer's end connect
	for (auto _ : State)
	{
		State.PauseTiming();
		for (int Index = 0; Index < DrainBatch; ++Index)
		{
			(void)Writer.Write(Head, Body);
		}
		State.ResumeTiming();
		while (Reader.Peek(Size) == Platform::PipeResult::Ok && Size > 0)
		{
			if (Buffer.size() < Size)
			{
				Buffer.resize(Size);
			}
			std::uint32_t Read = 0;
			(void)Reader.Read(Buffer.data(), Size, Read);
			Bytes += Read;
		}
	}
	State.SetItemsProcessed(State.iterations() * DrainBatch);
	benchmark::DoNotOptimize(Bytes);
	if (Bytes < static_cast<std::uint64_t>(State.iterations()) * DrainBatch * 64)
	{
		State.SkipWithError("messages were lost");
	}
}
BENCHMARK(BM_Drain64_RawPeekRead);

/** Prints the table as usual and keeps each benchmark's figures for the ratios. */
class RatioReporter : public benchmark::ConsoleReporter
{
public:
	RatioReporter() : ConsoleReporter(OO_Tabular) {}

	void ReportRuns(const std::vector<Run>& Runs) override
	{
		ConsoleReporter::ReportRuns(Runs);
		for (const Run& Result : Runs)
		{
			const bool bMedian = Result.run_type == Run::RT_Aggregate && Result.aggregate_name == "median";
			if ((Result.run_type != Run::RT_Iteration && !bMedian) || Result.error_occurred)
			{
				continue;
			}
			Figures& Entry = ByName[Result.run_name.function_name];
			Entry.TimePerIteration = Result.GetAdjustedRealTime();
			const auto Items = Result.counters.find("items_per_second");
			Entry.ItemsPerSecond = Items != Result.counters.end() ? double(Items->second) : 0.0;
			const auto Allocs = Result.counters.find("allocs_per_step");
			Entry.AllocsPerStep = Allocs != Result.counters.end() ? double(Allocs->second) : 0.0;
		}
	}

	void PrintRatios() const
	{
		const auto Find = [this](const char* Name) -> const Figures* {
			const auto Found = ByName.find(Name);
			return Found == ByName.end() ? nullptr : &Found->second;
		};
		const Figures* Idle = Find("BM_IdleStep_Link");
		const Figures* Floor = Find("BM_IdleStep_Floor");
		const Figures* Drain = Find("BM_Drain64_Link");
		const Figures* Raw = Find("BM_Drain64_RawPeekRead");
		std::printf("\n");
		if (Idle != nullptr && Floor != nullptr && Floor->TimePerIteration > 0)
		{
			std::printf("idle step / floor (time): %.2fx  (%.1f ns vs %.1f ns)\n", Idle->TimePerIteration / Floor->TimePerIteration,
				Idle->TimePerIteration, Floor->TimePerIteration);
			std::printf("allocations per idle step: %.3f\n", Idle->AllocsPerStep);
		}
		if (Drain != nullptr && Raw != nullptr && Raw->ItemsPerSecond > 0)
		{
			std::printf("drain rate link / raw peek+read: %.2fx  (%.2f M msg/s vs %.2f M msg/s)\n",
				Drain->ItemsPerSecond / Raw->ItemsPerSecond, Drain->ItemsPerSecond / 1e6, Raw->ItemsPerSecond / 1e6);
		}
	}

private:
	struct Figures
	{
		double TimePerIteration = 0;
		double ItemsPerSecond = 0;
		double AllocsPerStep = 0;
	};
	std::map<std::string, Figures> ByName;
};

} // namespace
} // namespace Korvat::UE4::Bench

int main(int ArgumentCount, char** Arguments)
{
	benchmark::Initialize(&ArgumentCount, Arguments);
	Korvat::UE4::Bench::RatioReporter Reporter;
	benchmark::RunSpecifiedBenchmarks(&Reporter);
	Reporter.PrintRatios();
	benchmark::Shutdown();
	return 0;
}
