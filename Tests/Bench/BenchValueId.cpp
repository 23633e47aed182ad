// The value-id hash against zlib's crc32 (with its lowest bit inverted, the same id) on names of 8, 16, 32 and
// 64 bytes: the time per name of each and, after the table, zlib's time over ours per size (1.0x or more: ours
// is at least as fast). The ratios use CPU time, which other work on a shared machine disturbs less than
// elapsed time. Every name is checked to give the same id both ways before anything is timed.
// Usage: korvat_bench_value_id [Google Benchmark flags]
#include "BenchFigures.h"

#include "KorvatValueId.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace Korvat::Bench
{
namespace
{

constexpr std::array<std::size_t, 4> NameSizes = {8, 16, 32, 64};

/** Names cycled through per size, so neither side hashes one name over and over. */
constexpr std::size_t NamesPerSize = 16;

/** Lower-case names of exactly Size bytes from the characters node and field names use. */
std::vector<std::string> MakeNames(std::size_t Size)
{
	static constexpr char Alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789._";
	std::uint32_t Seed = 0x9E3779B9u ^ static_cast<std::uint32_t>(Size);
	std::vector<std::string> Names;
	for (std::size_t Index = 0; Index < NamesPerSize; ++Index)
	{
		std::string Name;
		for (std::size_t Char = 0; Char < Size; ++Char)
		{
			Seed = Seed * 1664525u + 1013904223u;
			Name.push_back(Alphabet[(Seed >> 16) % (sizeof(Alphabet) - 1)]);
		}
		Names.push_back(std::move(Name));
	}
	return Names;
}

const std::vector<std::string>& NamesOfSize(std::size_t Size)
{
	static const std::array<std::vector<std::string>, NameSizes.size()> All = [] {
		std::array<std::vector<std::string>, NameSizes.size()> Made;
		for (std::size_t Index = 0; Index < NameSizes.size(); ++Index)
		{
			Made[Index] = MakeNames(NameSizes[Index]);
		}
		return Made;
	}();
	for (std::size_t Index = 0; Index < NameSizes.size(); ++Index)
	{
		if (NameSizes[Index] == Size)
		{
			return All[Index];
		}
	}
	return All[0];
}

const std::uint8_t* BytesOf(const std::string& Name)
{
	return reinterpret_cast<const std::uint8_t*>(Name.data());
}

std::uint32_t ZlibValueId(const std::string& Name)
{
	return static_cast<std::uint32_t>(crc32(0L, BytesOf(Name), static_cast<uInt>(Name.size()))) ^ 1u;
}

template <typename HashType> void HashNames(benchmark::State& State, std::size_t Size, HashType Hash)
{
	const std::vector<std::string>& Names = NamesOfSize(Size);
	std::size_t Index = 0;
	for (auto _ : State)
	{
		std::uint32_t Id = Hash(Names[Index]);
		benchmark::DoNotOptimize(Id);
		Index = (Index + 1) % NamesPerSize;
	}
	State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Size));
}

void BM_ValueIdOfBytes(benchmark::State& State, std::size_t Size)
{
	HashNames(State, Size, [](const std::string& Name) { return Korvat::ValueIdOfBytes(BytesOf(Name), Name.size()); });
}

void BM_ZlibCrc32(benchmark::State& State, std::size_t Size)
{
	HashNames(State, Size, ZlibValueId);
}

BENCHMARK_CAPTURE(BM_ValueIdOfBytes, 8, 8);
BENCHMARK_CAPTURE(BM_ZlibCrc32, 8, 8);
BENCHMARK_CAPTURE(BM_ValueIdOfBytes, 16, 16);
BENCHMARK_CAPTURE(BM_ZlibCrc32, 16, 16);
BENCHMARK_CAPTURE(BM_ValueIdOfBytes, 32, 32);
BENCHMARK_CAPTURE(BM_ZlibCrc32, 32, 32);
BENCHMARK_CAPTURE(BM_ValueIdOfBytes, 64, 64);
BENCHMARK_CAPTURE(BM_ZlibCrc32, 64, 64);

/** False, naming the first name that differs, unless both sides give every benchmarked name the same id. */
bool SameIdsBothWays()
{
	for (const std::size_t Size : NameSizes)
	{
		for (const std::string& Name : NamesOfSize(Size))
		{
			const std::uint32_t Ours = Korvat::ValueIdOfBytes(BytesOf(Name), Name.size());
			if (Ours != ZlibValueId(Name))
			{
				std::fprintf(stderr, "korvat_bench_value_id: '%s' hashes to 0x%08X, zlib gives 0x%08X\n", Name.c_str(),
				             static_cast<unsigned>(Ours), static_cast<unsigned>(ZlibValueId(Name)));
				return false;
			}
		}
	}
	return true;
}

void PrintRatios(const FFigureReporter& Figures)
{
	std::printf("\nper name     ValueIdOfBytes     zlib crc32     zlib / ours (target >= 1.0x)\n");
	for (const std::size_t Size : NameSizes)
	{
		const std::string Suffix = "/" + std::to_string(Size);
		const FBenchFigures* Ours = Figures.Find("BM_ValueIdOfBytes" + Suffix);
		const FBenchFigures* Zlib = Figures.Find("BM_ZlibCrc32" + Suffix);
		if (Ours == nullptr || Zlib == nullptr || Ours->CpuTime <= 0)
		{
			continue;
		}
		std::printf("%2zu bytes     %8.2f ns        %8.2f ns     %.2fx\n", Size, Ours->CpuTime, Zlib->CpuTime,
		            Zlib->CpuTime / Ours->CpuTime);
	}
}

} // namespace
} // namespace Korvat::Bench

int main(int ArgumentCount, char** Arguments)
{
	if (!Korvat::Bench::SameIdsBothWays())
	{
		return 1;
	}
	return Korvat::Bench::RunBenchmarks(ArgumentCount, Arguments, Korvat::Bench::PrintRatios);
}
