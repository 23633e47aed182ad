// The editor act of the main job: a Blueprint graph built from the Korvat nodes, synced from the host, compiled
// and run frame by frame against it.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Korvat::Sandbox
{
/** The graph and its state between the steps of the act; every step prints what it did through Say. */
class FNodesAct
{
public:
	explicit FNodesAct(std::function<void(const std::string&)> InSay);
	~FNodesAct();

	/** Places a Get Korvat Value node (Door.Width, integer) and a Send Data To Korvat D2I node for host node Lamp. */
	void BuildGraph();
	/** Clicks Do Sync in the multi-field node's details panel, which asks the host for Lamp's fields. */
	void ClickDoSync();
	/** Lists the multi-field node's pins, and wires the Get node into it once the host's fields are there. */
	bool WireSyncedPins();
	/** Expands the graph as the Blueprint compiler does and lists the calls it became. */
	bool Compile();
	/** Runs the compiled graph once, as one frame of the Blueprint's tick; says what it did when that changed. */
	bool RunFrame();

private:
	struct FState;
	std::function<void(const std::string&)> Say;
	std::unique_ptr<FState> State;
};
} // namespace Korvat::Sandbox
