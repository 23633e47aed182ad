// Link benchmarks, each beside its baseline in the same run:
//  - the idle connected step (Connect + an empty ReadMessages) against the bare platform calls it needs;
//  - draining 64-byte messages with ReadMessages against a raw peek-and-read loop on a pipe of the same kind;
//  - heap allocations per idle step (counted by replacing the global allocation functions; must be 0).
// Ratios are printed after the table.
#include "AllocationCounter.h"
#include "BenchFigures.h"
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

/** The link against its baselines: idle step against the platform floor, drain rate against a raw loop. */
void PrintRatios(const Korvat::Bench::FFigureReporter& Figures)
{
	const Korvat::Bench::FBenchFigures* Idle = Figures.Find("BM_IdleStep_Link");
	const Korvat::Bench::FBenchFigures* Floor = Figures.Find("BM_IdleStep_Floor");
	const Korvat::Bench::FBenchFigures* Drain = Figures.Find("BM_Drain64_Link");
	const Korvat::Bench::FBenchFigures* Raw = Figures.Find("BM_Drain64_RawPeekRead");
	std::printf("\n");
	if (Idle != nullptr && Floor != nullptr && Floor->RealTime > 0)
	{
		std::printf("idle step / floor (time): %.2fx  (%.1f ns vs %.1f ns)\n", Idle->RealTime / Floor->RealTime, Idle->RealTime,
			Floor->RealTime);
		std::printf("allocations per idle step: %.3f\n", Idle->Counter("allocs_per_step"));
	}
	const double DrainRate = Drain != nullptr ? Drain->Counter("items_per_second") : 0.0;
	const double RawRate = Raw != nullptr ? Raw->Counter("items_per_second") : 0.0;
	if (Drain != nullptr && Raw != nullptr && RawRate > 0)
	{
		std::printf("drain rate link / raw peek+read: %.2fx  (%.2f M msg/s vs %.2f M msg/s)\n", DrainRate / RawRate, DrainRate / 1e6,
			RawRate / 1e6);
	}
}

} // namespace
} // namespace Korvat::UE4::Bench

int main(int ArgumentCount, char** Arguments)
{
	return Korvat::Bench::RunBenchmarks(ArgumentCount, Arguments, Korvat::UE4::Bench::PrintRatios);
}
