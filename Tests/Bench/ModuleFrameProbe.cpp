// Runs K idle connected frames of the runtime module (the begin-frame driver and the module tick, with a
// game running and nothing arriving from the host) in a separately named function, so that
// valgrind --tool=callgrind --toggle-collect=<function> counts their instructions, and counts the heap
// allocations they make. The same frames run again while a trace of the link records (an idle frame has
// nothing to record), so the two counts show what the trace's hooks cost when it is off and when it is on.
// The host runs on a thread of its own, as a host process would.
// Usage: korvat_module_frame_probe [K]
#include "AllocationCounter.h"
#include "BenchSupport.h"

#include "HAL/IConsoleManager.h"
#include "HostSimulator.h"
#include "Misc/OutputDeviceNull.h"
#include "KorvatPluginModule.h"
#include "Misc/CoreDelegates.h"
#include "SandboxEngine.h"
#include "StandInTesting.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <thread>


namespace Korvat::UE4::Bench
{

void RunFrames(FKorvatPlugin& Module, int Count)
{
	for (int Index = 0; Index < Count; ++Index)
	{
		FCoreDelegates::OnBeginFrame.Broadcast();
		Module.Tick(1.0f / 60.0f);
	}
}

[[gnu::noinline]] void RunIdleModuleFrames(FKorvatPlugin& Module, int Count)
{
	RunFrames(Module, Count);
}

[[gnu::noinline]] void RunTracedIdleModuleFrames(FKorvatPlugin& Module, int Count)
{
	RunFrames(Module, Count);
}

} // namespace Korvat::UE4::Bench

int main(int ArgumentCount, char** Arguments)
{
	using namespace Korvat;
	const int Count = ArgumentCount > 1 ? std::atoi(Arguments[1]) : 1000;

	UE4::Bench::BenchNamespace Namespace;
	const std::string ShareDirectory = std::filesystem::temp_directory_path().string() + "/korvat-bench-share";
#if !defined(_WIN32)
	::setenv("KORVAT_TEXTURESHARE_DIR", ShareDirectory.c_str(), 1);
#endif
	StandInTesting::SetLogEchoToStderr(false);

	Host::HostSimulator Host;
	if (!Host.Start())
	{
		std::fprintf(stderr, "cannot start the host: %s\n", Host.LastError().c_str());
		return 2;
	}
	std::atomic<bool> bStop{false};
	std::thread HostThread([&] {
		while (!bStop.load())
		{
			(void)Host.Poll();
			(void)Host.TakeReceived();
			std::this_thread::sleep_for(std::chrono::milliseconds(1));
		}
		Host.Stop();
	});

	Sandbox::FSandboxEngine Engine;
	FString Error;
	if (!Engine.Start(Error))
	{
		bStop = true;
		HostThread.join();
		std::fprintf(stderr, "cannot start the engine\n");
		return 2;
	}
	Engine.StartPlay();
	FKorvatPlugin* Module = Engine.GetModule();
	for (int Frame = 0; Frame < 2000 && !Module->IsConnected(); ++Frame)
	{
		Engine.RunFrames(1);
		std::this_thread::sleep_for(std::chrono::milliseconds(1));
	}
	// A few more frames so that the share list and everything of the first connected frame is behind us.
	Engine.RunFrames(10);
	const bool bConnected = Module->IsConnected();

	const std::uint64_t Before = Korvat::Bench::AllocationCount();
	UE4::Bench::RunIdleModuleFrames(*Module, Count);
	const std::uint64_t Allocations = Korvat::Bench::AllocationCount() - Before;

	FOutputDeviceNull Output;
	const std::string TracePath = ShareDirectory + "-trace.jsonl";
	IConsoleManager::Get().ProcessUserConsoleInput(*(FString(TEXT("Korvat.Trace.Start ")) + FString(TracePath.c_str())), Output, nullptr);
	const bool bTracing = Module->IsTracing();
	const std::uint64_t BeforeTracing = Korvat::Bench::AllocationCount();
	UE4::Bench::RunTracedIdleModuleFrames(*Module, Count);
	const std::uint64_t TracingAllocations = Korvat::Bench::AllocationCount() - BeforeTracing;
	IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Korvat.Trace.Stop"), Output, nullptr);
	std::filesystem::remove(TracePath);

	std::printf("frames=%d connected=%d allocations-per-frame=%.3f tracing=%d allocations-per-frame-while-tracing=%.3f\n", Count,
		bConnected ? 1 : 0, static_cast<double>(Allocations) / Count, bTracing ? 1 : 0, static_cast<double>(TracingAllocations) / Count);
	Engine.Shutdown();
	bStop = true;
	HostThread.join();
	std::filesystem::remove_all(ShareDirectory);
	return bConnected && bTracing && Allocations == 0 && TracingAllocations == 0 ? 0 : 1;
}
