// The integration test program. Started with --child-link it plays one Unreal process instead: it drives a
// HostLink as the frame driver does until its standard input ends, then releases its slot.
#include "HostLink.h"
#include "IntegrationSupport.h"
#include "Platform/System.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

namespace
{

std::atomic<bool> bInputEnded{false};

int RunChildLink()
{
	using namespace Korvat::UE4;
	std::thread([] {
		for (std::string Line; std::getline(std::cin, Line);)
		{
		}
		bInputEnded = true;
	}).detach();

	HostLink Link;
	GUID LaunchId;
	(void)Platform::CreateGuid(LaunchId);
	FieldListRequestMap Requests;
	std::uint32_t ReportedSlot = NoSlot;
	const auto GiveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
	std::printf("child ready\n");
	std::fflush(stdout);
	while (!bInputEnded && std::chrono::steady_clock::now() < GiveUp)
	{
		if (!Link.IsConnected())
		{
			Link.SetEngineVersion(5, 5, 3);
		}
		(void)Link.Connect(LaunchId, true);
		if (Link.IsConnected())
		{
			(void)Link.ReadMessages([](IKorvatNodeFieldSync*, const std::vector<FieldDescriptor>&) {}, Requests,
			                        [](RenderQuality) {}, {});
			if (ReportedSlot != Link.GetSlotIndex())
			{
				ReportedSlot = Link.GetSlotIndex();
				std::printf("connected slot %u\n", ReportedSlot);
				std::fflush(stdout);
			}
		}
		else
		{
			ReportedSlot = NoSlot;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(2));
	}
	const LinkResult Released = Link.Release();
	std::printf("released %s\n", ToString(Released));
	std::fflush(stdout);
	return 0;
}

} // namespace

int main(int Argc, char** Argv)
{
	if (Argc > 1 && std::strcmp(Argv[1], Korvat::Testing::ChildLinkFlag) == 0)
	{
		return RunChildLink();
	}
	::testing::InitGoogleTest(&Argc, Argv);
	return RUN_ALL_TESTS();
}
