// The figures of a Google Benchmark run, kept for the ratios a benchmark program prints after its table: each
// benchmark's time per iteration (the median when repeated) and its counters.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace Korvat::Bench
{

struct FBenchFigures
{
	double RealTime = 0;
	double CpuTime = 0;
	std::map<std::string, double> Counters;

	/** A counter's value, 0 when the benchmark did not set it. */
	double Counter(const std::string& Name) const
	{
		const auto Found = Counters.find(Name);
		return Found != Counters.end() ? Found->second : 0.0;
	}
};

/** Prints the table as usual and keeps each benchmark's figures by function name. */
class FFigureReporter : public benchmark::ConsoleReporter
{
public:
	FFigureReporter() : ConsoleReporter(OO_Tabular) {}

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
			FBenchFigures& Entry = ByName[Result.run_name.function_name];
			Entry.RealTime = Result.GetAdjustedRealTime();
			Entry.CpuTime = Result.GetAdjustedCPUTime();
			for (const auto& [Name, Value] : Result.counters)
			{
				Entry.Counters[Name] = double(Value);
			}
		}
	}

	/** The figures of the benchmark Name, or null when it did not run. */
	const FBenchFigures* Find(const std::string& Name) const
	{
		const auto Found = ByName.find(Name);
		return Found == ByName.end() ? nullptr : &Found->second;
	}

	const std::map<std::string, FBenchFigures>& All() const { return ByName; }

private:
	std::map<std::string, FBenchFigures> ByName;
};

/** Runs the benchmarks the command line selects, then PrintRatios with what they measured. */
template <typename PrintType>
int RunBenchmarks(int ArgumentCount, char** Arguments, PrintType&& PrintRatios)
{
	benchmark::Initialize(&ArgumentCount, Arguments);
	FFigureReporter Reporter;
	benchmark::RunSpecifiedBenchmarks(&Reporter);
	PrintRatios(Reporter);
	benchmark::Shutdown();
	return 0;
}

} // namespace Korvat::Bench
