// The input packet walker against liblo decoding the same bundle, in the same run. The packet is what a
// frame of host input looks like: a mouse position, a button down, a key down and two touch moves.
//  - the walker: copy the packet (the walk splits addresses in place), walk it, read every argument;
//  - liblo: check the header, then lo_message_deserialise each element and read every argument through
//    lo_message_get_types/lo_message_get_argv. liblo is given the easier job: it only looks at the
//    address text, where the walker also splits it, checks its segments and classifies device and event.
// Allocations per packet are counted twice: C++ allocations through the replaced global operator new
// (as BenchLink does), and every C heap allocation through a malloc that forwards to glibc's own.
// The ratio and the allocation counts are printed after the table.
#include "AllocationCounter.h"
#include "BenchFigures.h"
#include "Input/KorvatInputPacket.h"

#include <benchmark/benchmark.h>
#include <lo/lo_lowlevel.h>

#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace
{

std::atomic<std::uint64_t> MallocCount{0};

} // namespace

#if defined(__GLIBC__)
// Every malloc of the process, liblo's included, counted on its way to glibc's allocator.
extern "C"
{
void* __libc_malloc(std::size_t Size);
void* __libc_calloc(std::size_t Count, std::size_t Size);
void* __libc_realloc(void* Block, std::size_t Size);
void __libc_free(void* Block);

void* malloc(std::size_t Size)
{
	MallocCount.fetch_add(1, std::memory_order_relaxed);
	return __libc_malloc(Size);
}
void* calloc(std::size_t Count, std::size_t Size)
{
	MallocCount.fetch_add(1, std::memory_order_relaxed);
	return __libc_calloc(Count, Size);
}
void* realloc(void* Block, std::size_t Size)
{
	MallocCount.fetch_add(1, std::memory_order_relaxed);
	return __libc_realloc(Block, Size);
}
void free(void* Block)
{
	__libc_free(Block);
}
}
#endif


namespace Korvat::Input::Bench
{
namespace
{

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& Out, std::uint32_t Word)
{
	for (int Shift = 24; Shift >= 0; Shift -= 8)
	{
		Out.push_back(static_cast<std::uint8_t>(Word >> Shift));
	}
}
void AppendText(Bytes& Out, std::string_view Text)
{
	Out.insert(Out.end(), Text.begin(), Text.end());
	Out.resize(Out.size() + 4 - Text.size() % 4, 0);
}

struct FArgument
{
	char Tag;
	std::uint32_t Word;
	std::string_view Text;
};

Bytes Element(std::string_view Address, std::initializer_list<FArgument> Arguments)
{
	Bytes Out;
	AppendText(Out, Address);
	std::string Tags = ",";
	for (const FArgument& Argument : Arguments)
	{
		Tags += Argument.Tag;
	}
	AppendText(Out, Tags);
	for (const FArgument& Argument : Arguments)
	{
		if (Argument.Tag == 's')
		{
			AppendText(Out, Argument.Text);
		}
		else
		{
			Append(Out, Argument.Word);
		}
	}
	return Out;
}

FArgument F(float Value) { return {'f', std::bit_cast<std::uint32_t>(Value), {}}; }
FArgument I(std::int32_t Value) { return {'i', static_cast<std::uint32_t>(Value), {}}; }
FArgument S(std::string_view Value) { return {'s', 0, Value}; }

Bytes RealisticPacket()
{
	Bytes Packet = {'#', 'b', 'u', 'n', 'd', 'l', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 1};
	for (const Bytes& One : {
			 Element("/korvat/1/Mouse/0/Position/0", {F(0.4375f), F(0.625f)}),
			 Element("/korvat/1/Mouse/0/ButtonDown/0", {I(0x100000)}),
			 Element("/korvat/1/Keyboard/0/KeyDown/0", {I(0x41)}),
			 Element("/korvat/1/MultiTouch/0/TouchMove/0", {S("3"), F(0.25f), F(0.5f), F(0.0f), F(0.75f)}),
			 Element("/korvat/1/MultiTouch/0/TouchMove/0", {S("4"), F(0.5f), F(0.5f), F(0.0f), F(1.0f)}),
		 })
	{
		Append(Packet, static_cast<std::uint32_t>(One.size()));
		Packet.insert(Packet.end(), One.begin(), One.end());
	}
	return Packet;
}

/** What both decoders leave of one packet: the sums of its ints and floats (in tag order) and its text bytes. */
struct FDigest
{
	std::int64_t IntSum = 0;
	double FloatSum = 0;
	std::size_t TextBytes = 0;
	std::uint32_t Messages = 0;

	bool operator==(const FDigest&) const = default;
};

FDigest WalkOnce(const Bytes& Packet, Bytes& Copy)
{
	std::memcpy(Copy.data(), Packet.data(), Packet.size());
	FDigest Digest;
	WalkInputPacket(Copy, [&Digest](const FInputMessage& Message) {
		const FInputMessageArgs& Args = Message.Args;
		for (std::uint32_t Index = 0; Index < Args.IntCount; ++Index)
		{
			Digest.IntSum += Args.Ints[Index];
		}
		for (std::uint32_t Index = 0; Index < Args.FloatCount; ++Index)
		{
			Digest.FloatSum += Args.Floats[Index];
		}
		for (std::uint32_t Index = 0; Index < Args.StringCount; ++Index)
		{
			Digest.TextBytes += Args.Strings[Index].size();
		}
		++Digest.Messages;
	});
	return Digest;
}

FDigest LibloOnce(const Bytes& Packet)
{
	FDigest Digest;
	if (Packet.size() < 20 || std::memcmp(Packet.data(), "#bundle", 8) != 0)
	{
		return Digest;
	}
	std::size_t Offset = 16;
	while (Packet.size() - Offset >= 4)
	{
		const std::uint32_t Size = (std::uint32_t{Packet[Offset]} << 24) | (std::uint32_t{Packet[Offset + 1]} << 16) |
			(std::uint32_t{Packet[Offset + 2]} << 8) | Packet[Offset + 3];
		Offset += 4;
		if (Size == 0 || Size > Packet.size() - Offset)
		{
			break;
		}
		int Result = 0;
		const lo_message Message =
			lo_message_deserialise(const_cast<std::uint8_t*>(Packet.data() + Offset), Size, &Result);
		if (Message != nullptr)
		{
			const char* Types = lo_message_get_types(Message);
			lo_arg** Argv = lo_message_get_argv(Message);
			const int Count = lo_message_get_argc(Message);
			for (int Index = 0; Index < Count; ++Index)
			{
				switch (Types[Index])
				{
				case LO_INT32:
					Digest.IntSum += Argv[Index]->i;
					break;
				case LO_FLOAT:
					Digest.FloatSum += Argv[Index]->f;
					break;
				case LO_STRING:
					Digest.TextBytes += std::strlen(&Argv[Index]->s);
					break;
				default:
					break;
				}
			}
			++Digest.Messages;
			lo_message_free(Message);
		}
		Offset += Size;
	}
	return Digest;
}

struct FAllocationProbe
{
	std::uint64_t News = Korvat::Bench::AllocationCount();
	std::uint64_t Mallocs = MallocCount.load();

	void Report(benchmark::State& State) const
	{
		const double Packets = static_cast<double>(State.iterations());
		State.counters["new_per_packet"] = static_cast<double>(Korvat::Bench::AllocationCount() - News) / Packets;
		State.counters["malloc_per_packet"] = static_cast<double>(MallocCount.load() - Mallocs) / Packets;
	}
};

/** Both decoders must agree on the packet, so each reads what the other does. */
bool DecodersAgree(benchmark::State& State)
{
	const Bytes Packet = RealisticPacket();
	Bytes Copy(Packet.size());
	const FDigest Walked = WalkOnce(Packet, Copy);
	const FDigest Deserialised = LibloOnce(Packet);
	if (Walked.Messages != 5 || !(Walked == Deserialised))
	{
		State.SkipWithError("the walker and liblo decode the packet differently");
		return false;
	}
	return true;
}

void BM_InputPacket_Walker(benchmark::State& State)
{
	if (!DecodersAgree(State))
	{
		return;
	}
	const Bytes Packet = RealisticPacket();
	Bytes Copy(Packet.size());
	const FAllocationProbe Probe;
	for (auto _ : State)
	{
		FDigest Digest = WalkOnce(Packet, Copy);
		benchmark::DoNotOptimize(Digest);
	}
	Probe.Report(State);
	State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_InputPacket_Walker);

void BM_InputPacket_Liblo(benchmark::State& State)
{
	if (!DecodersAgree(State))
	{
		return;
	}
	const Bytes Packet = RealisticPacket();
	const FAllocationProbe Probe;
	for (auto _ : State)
	{
		FDigest Digest = LibloOnce(Packet);
		benchmark::DoNotOptimize(Digest);
	}
	Probe.Report(State);
	State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_InputPacket_Liblo);

/** The walker against liblo, and the allocations of each. */
void PrintRatio(const Korvat::Bench::FFigureReporter& Figures)
{
	const Korvat::Bench::FBenchFigures* Walker = Figures.Find("BM_InputPacket_Walker");
	const Korvat::Bench::FBenchFigures* Liblo = Figures.Find("BM_InputPacket_Liblo");
	if (Walker == nullptr || Liblo == nullptr || Walker->RealTime <= 0)
	{
		return;
	}
	std::printf("\nliblo / walker (time per packet): %.2fx  (%.1f ns vs %.1f ns; target >= 5x)\n", Liblo->RealTime / Walker->RealTime,
		Liblo->RealTime, Walker->RealTime);
	if (Walker->CpuTime > 0)
	{
		std::printf("liblo / walker (CPU time per packet): %.2fx  (%.1f ns vs %.1f ns)\n", Liblo->CpuTime / Walker->CpuTime, Liblo->CpuTime,
			Walker->CpuTime);
	}
	for (const auto& [Name, Entry] : Figures.All())
	{
		std::printf("%s: %.2f operator new and %.2f malloc calls per packet\n", Name.c_str(), Entry.Counter("new_per_packet"),
			Entry.Counter("malloc_per_packet"));
	}
}

} // namespace
} // namespace Korvat::Input::Bench

int main(int ArgumentCount, char** Arguments)
{
	return Korvat::Bench::RunBenchmarks(ArgumentCount, Arguments, Korvat::Input::Bench::PrintRatio);
}
