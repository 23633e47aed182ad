// korvat-link-demo: the plug-in's side of the link in a process of its own, driven frame by frame the
// way the engine module drives it, printing a transcript of what crosses the link.
//
//   korvat-link-demo [--frames N] [--frame-ms MS] [--quiet-idle]

#include "HostLink.h"
#include "Messages.h"
#include "Platform/System.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace
{
using namespace Korvat::UE4;

struct FDemoOptions
{
	int Frames = 600;
	int FrameMs = 16;
};

bool ParseOptions(int Argc, char** Argv, FDemoOptions& Out)
{
	for (int Index = 1; Index < Argc; ++Index)
	{
		const std::string Arg = Argv[Index];
		const bool bHasValue = Index + 1 < Argc;
		if (Arg == "--frames" && bHasValue)
		{
			Out.Frames = std::atoi(Argv[++Index]);
		}
		else if (Arg == "--frame-ms" && bHasValue)
		{
			Out.FrameMs = std::atoi(Argv[++Index]);
		}
		else
		{
			std::fprintf(stderr, "usage: korvat-link-demo [--frames N] [--frame-ms MS]\n");
			return false;
		}
	}
	return Out.Frames > 0 && Out.FrameMs >= 0;
}

void Say(int Frame, const std::string& Text)
{
	std::printf("plug-in | frame %4d | %s\n", Frame, Text.c_str());
	std::fflush(stdout);
}

std::string GuidText(const GUID& Guid)
{
	const std::wstring Wide = Platform::FormatGuid(Guid);
	return std::string(Wide.begin(), Wide.end());
}

/** A node of this process whose field list the host may ask for. */
std::vector<FieldDescriptor> DemoFields()
{
	return {{1, true, "speed"}, {3, false, "label"}, {5, true, "counts"}};
}

/** Asks the host for a field list and prints the answer when it comes. */
class FDemoFieldSync final : public IKorvatNodeFieldSync
{
public:
	int Frame = 0;
	void UpdateNodeFields(const std::vector<FieldDescriptor>& Fields) override
	{
		std::string Text = "field list from host:";
		for (const FieldDescriptor& Field : Fields)
		{
			Text += " " + std::to_string(Field.Type) + (Field.IsFromKorvat ? "/from-host/" : "/to-host/") + Field.Name;
		}
		Say(Frame, Text);
	}
};
} // namespace

int main(int Argc, char** Argv)
{
	FDemoOptions Options;
	if (!ParseOptions(Argc, Argv, Options))
	{
		return 2;
	}

	GUID LaunchId;
	if (!Platform::CreateGuid(LaunchId))
	{
		std::fprintf(stderr, "korvat-link-demo: the system could not create a GUID\n");
		return 1;
	}
	Say(0, "launch id " + GuidText(LaunchId) + " (generated)");

	HostLink Link;
	FDemoFieldSync FieldSync;
	FieldListRequestMap HostQuestions;
	LinkResult LastResult = LinkResult::Ok;
	std::int32_t LastState = -1;
	bool bWasConnected = false;
	bool bResolutionPending = false;

	for (int Frame = 1; Frame <= Options.Frames; ++Frame)
	{
		FieldSync.Frame = Frame;
		if (!Link.IsConnected())
		{
			Link.SetEngineVersion(5, 5, 0);
		}
		const LinkResult Result = Link.Connect(LaunchId, true);
		if (Result != LastResult || Link.GetLastSlotState() != LastState)
		{
			Say(Frame, std::string("connect: ") + ToString(Result) + ", slot " +
				(Link.GetSlotIndex() < SlotCount ? std::to_string(Link.GetSlotIndex()) : std::string("none")) +
				", slot state " + std::to_string(Link.GetLastSlotState()));
			LastResult = Result;
			LastState = Link.GetLastSlotState();
		}

		const bool bConnected = Result == LinkResult::Ok && Link.IsConnected();
		if (bConnected && !bWasConnected)
		{
			Say(Frame, "connected: sending TSHR, VIEW, LPHA and asking for the field list of 'DemoNode'");
			Link.SendTextureShareList({LaunchId});
			Link.SendViewports(0, 0, 1920, 1080, 1920, 1080);
			Link.SendAlphaPropagation(2);
			Link.RequestFieldList("demonode", &FieldSync);
		}
		bWasConnected = bConnected;
		if (!bConnected)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(Options.FrameMs));
			continue;
		}

		Link.ReadMessages(
			[](IKorvatNodeFieldSync* Requester, const std::vector<FieldDescriptor>& Fields) { Requester->UpdateNodeFields(Fields); },
			HostQuestions,
			[Frame](RenderQuality Quality) { Say(Frame, "render quality " + std::to_string(static_cast<int>(Quality))); },
			[Frame](const DecodedMessage& Message) {
				Say(Frame, "accepted " + Korvat::Host::TagText(Message.Tag) + " id " + std::to_string(Message.Id) + ", " +
					std::to_string(Message.Length) + " bytes");
			});

		for (const auto& [RequestId, NodeName] : HostQuestions)
		{
			Say(Frame, "host asks for the fields of '" + NodeName + "': answering with 3 fields");
			Link.SendFieldList(RequestId, DemoFields());
		}
		HostQuestions.clear();

		for (const std::string& Packet : Link.TakeInputPackets())
		{
			Say(Frame, "input packet of " + std::to_string(Packet.size()) + " bytes");
		}
		Link.DrainEvents([Frame](std::int32_t Id, std::int32_t Argument) {
			Say(Frame, "method call id " + std::to_string(static_cast<std::uint32_t>(Id)) + " argument " + std::to_string(Argument));
		});

		std::int32_t Width = 0;
		std::int32_t Height = 0;
		const bool bPending = Link.GetPendingResolution(Width, Height);
		if (bPending && !bResolutionPending)
		{
			// The engine applies a pending size every frame until the host repeats it; say so once.
			Say(Frame, "resolution requested " + std::to_string(Width) + "x" + std::to_string(Height));
		}
		bResolutionPending = bPending;
		if (Link.Inbound.CameraChanged)
		{
			Link.Inbound.CameraChanged = false;
			Say(Frame, "camera or projection changed; aspect " + std::to_string(Link.GetCameraAspect()));
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(Options.FrameMs));
	}

	const LinkResult ReleaseResult = Link.Release();
	Say(Options.Frames, std::string("release: ") + ToString(ReleaseResult));
	return 0;
}
