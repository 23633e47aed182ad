// Runs K idle link steps and K floor iterations in two separately named functions, so that
// valgrind --tool=callgrind --toggle-collect=<function> counts the instructions of each alone.
// Usage: korvat_idle_step_probe [K]
#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>

namespace Korvat::UE4::Bench
{

[[gnu::noinline]] void RunIdleLinkSteps(ConnectedLinkRig& Rig, int Count)
{
	for (int Index = 0; Index < Count; ++Index)
	{
		Rig.IdleStep();
	}
}

[[gnu::noinline]] void RunFloorSteps(PlatformFloorRig& Rig, int Count)
{
	for (int Index = 0; Index < Count; ++Index)
	{
		Rig.Step();
	}
}

} // namespace Korvat::UE4::Bench

int main(int ArgumentCount, char** Arguments)
{
	using namespace Korvat::UE4::Bench;
	const int Count = ArgumentCount > 1 ? std::atoi(Arguments[1]) : 1000;

	BenchNamespace Namespace;
	ConnectedLinkRig LinkRig;
	PlatformFloorRig FloorRig;
	if (!LinkRig.Start() || !FloorRig.Start())
	{
		std::fprintf(stderr, "cannot set up the probe: %s\n", LinkRig.Host.LastError().c_str());
		return 2;
	}
	// Warm both paths once outside the counted functions.
	LinkRig.IdleStep();
	FloorRig.Step();

	RunIdleLinkSteps(LinkRig, Count);
	RunFloorSteps(FloorRig, Count);

	const bool bConnected = LinkRig.Link.IsConnected();
	std::printf("steps=%d connected=%d\n", Count, bConnected ? 1 : 0);
	return bConnected ? 0 : 1;
}
