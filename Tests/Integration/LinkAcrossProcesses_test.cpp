#include "IntegrationSupport.h"
#include "Platform/NamedMutex.h"
#include "Platform/SharedMemory.h"
#include "Platform/System.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace
{

using namespace Korvat::Testing;
using Korvat::Host::HostObjectSet;
using Korvat::Host::HostSimulator;
using Korvat::Host::HostSimulatorOptions;
using Korvat::Host::SlotNotice;
namespace UE4 = Korvat::UE4;
using UE4::HostLink;
using UE4::LinkResult;

HostSimulatorOptions ManualAccept()
{
	HostSimulatorOptions Options;
	Options.bAutoAccept = false;
	return Options;
}

bool HasNotice(const std::vector<SlotNotice>& Notices, SlotNotice::EKind Kind, std::uint32_t Slot)
{
	return std::any_of(Notices.begin(), Notices.end(),
	                   [&](const SlotNotice& Notice) { return Notice.Kind == Kind && Notice.Slot == Slot; });
}

class LinkAcrossProcesses : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(UE4::Platform::CreateGuid(LaunchId));
		Link.SetEngineVersion(5, 5, 3);
	}

	LinkResult Step() { return Link.Connect(LaunchId, true); }

	/** Starts korvat-host and waits until it has created the table. */
	std::unique_ptr<ChildProcess> StartHost(std::vector<std::string> Arguments = {})
	{
		std::string Error;
		auto Host = ChildProcess::Start(HostPath(KORVAT_HOST_TOOL_PATH), Arguments, Error);
		EXPECT_TRUE(Host) << Error;
		if (Host)
		{
			EXPECT_TRUE(Host->WaitForLine("started", LongWait)) << Host->TranscriptText();
		}
		return Host;
	}

	std::unique_ptr<ChildProcess> StartLinkChild()
	{
		std::string Error;
		auto Child = ChildProcess::Start(CurrentExecutablePath(), {ChildLinkFlag}, Error);
		EXPECT_TRUE(Child) << Error;
		if (Child)
		{
			EXPECT_TRUE(Child->WaitForLine("child ready", LongWait));
		}
		return Child;
	}

	/** Connects the in-process link to an in-process auto-accepting host, both driven from this thread. */
	std::uint32_t ConnectInProcess(HostSimulator& Host)
	{
		const bool bConnected = PollUntil([&] {
			(void)Step();
			Host.Poll();
			return Link.IsConnected();
		});
		EXPECT_TRUE(bConnected) << "last slot state " << Link.GetLastSlotState();
		return Link.GetSlotIndex();
	}

	PrivateIpcRoot Root{"link-it"};
	Watchdog Guard{std::chrono::seconds(100), ::testing::UnitTest::GetInstance()->current_test_info()->name()};
	UE4::GUID LaunchId;
	HostLink Link;
};

TEST_F(LinkAcrossProcesses, WithoutAHostEveryConnectReportsHostUnavailableAndCreatesNothing)
{
	for (int Frame = 0; Frame < 20; ++Frame)
	{
		EXPECT_EQ(Step(), LinkResult::HostUnavailable);
		EXPECT_FALSE(Link.IsConnected());
		EXPECT_GE(Link.GetSlotIndex(), UE4::SlotCount);
	}
	UE4::Platform::SharedMemory Table;
	UE4::Platform::NamedMutex Mutex;
	EXPECT_EQ(UE4::Platform::SharedMemory::Open(UE4::ObjectName::SharedTable, Table), UE4::Platform::OpenResult::NotFound);
	EXPECT_EQ(UE4::Platform::NamedMutex::Open(UE4::ObjectName::GlobalMutex, Mutex), UE4::Platform::OpenResult::NotFound);
}

TEST_F(LinkAcrossProcesses, FullTableGivesNoFreeSlotEveryCallUntilASlotIsFreed)
{
	HostSimulator Host{ManualAccept()};
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	for (std::uint32_t Slot = 0; Slot < UE4::SlotCount; ++Slot)
	{
		Host.WriteSlotState(Slot, static_cast<std::int32_t>(1 + Slot % 4));
	}
	for (int Frame = 0; Frame < 20; ++Frame)
	{
		EXPECT_EQ(Step(), LinkResult::NoFreeSlot);
		EXPECT_GE(Link.GetSlotIndex(), UE4::SlotCount);
	}
	Host.WriteSlotState(9, 0);
	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_EQ(Link.GetSlotIndex(), 9u);
	EXPECT_EQ(Link.GetLastSlotState(), 1);
	EXPECT_EQ(Host.ReadSlot(9).State, 1);
}

TEST_F(LinkAcrossProcesses, OfferedStepOpensHostObjectsWritesTheCodeAndSendsTheVersion)
{
	HostSimulator Host{ManualAccept()};
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	ASSERT_EQ(Step(), LinkResult::Ok);
	ASSERT_EQ(Link.GetLastSlotState(), 1);
	const std::uint32_t Slot = Link.GetSlotIndex();
	ASSERT_LT(Slot, UE4::SlotCount);
	const auto Claimed = Host.ReadSlot(Slot);
	EXPECT_EQ(Claimed.State, 1);
	EXPECT_TRUE(Claimed.LaunchId == LaunchId);
	EXPECT_EQ(Claimed.LaunchIdGenerated, 1);

	EXPECT_TRUE(HasNotice(Host.Poll(), SlotNotice::EKind::Requested, Slot));
	ASSERT_TRUE(Host.Accept(Slot)) << Host.LastError();
	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_EQ(Link.GetLastSlotState(), 2);
	EXPECT_FALSE(Link.IsConnected()) << "connected only from the next call on";
	const auto Offered = Host.ReadSlot(Slot);
	EXPECT_EQ(Offered.State, 3);
	EXPECT_EQ(Offered.ClientCode, UE4::ClientCodeOpened);

	std::vector<Korvat::Host::ReceivedMessage> Received;
	ASSERT_TRUE(PollUntil([&] {
		Host.Poll();
		for (auto& Message : Host.TakeReceived())
		{
			Received.push_back(std::move(Message));
		}
		return !Received.empty();
	}));
	EXPECT_EQ(Received[0].Tag, UE4::Tag::UVER);
	EXPECT_EQ(Received[0].Payload, (std::vector<std::uint8_t>{5, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0}));

	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_TRUE(Link.IsConnected());
	EXPECT_EQ(Link.GetLastSlotState(), 3);
}

class MissingHostObject : public LinkAcrossProcesses, public ::testing::WithParamInterface<int>
{
};

TEST_P(MissingHostObject, SendsTheSlotBackToFreeAndTheNextCallClaimsAnew)
{
	HostObjectSet Objects;
	bool* Missing[] = {&Objects.bServerMonitor, &Objects.bDataSentEvent, &Objects.bInboundPipe, &Objects.bSyncEvent};
	*Missing[GetParam()] = false;
	HostSimulator Host{ManualAccept()};
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	ASSERT_EQ(Step(), LinkResult::Ok);
	const std::uint32_t Slot = Link.GetSlotIndex();
	ASSERT_LT(Slot, UE4::SlotCount);
	const UE4::GUID FirstId = Host.ReadSlot(Slot).ConnectionId;
	ASSERT_TRUE(Host.Accept(Slot, Objects)) << Host.LastError();

	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_EQ(Link.GetLastSlotState(), 2);
	EXPECT_FALSE(Link.IsConnected());
	EXPECT_GE(Link.GetSlotIndex(), UE4::SlotCount);
	EXPECT_EQ(Host.ReadSlot(Slot).State, 0);
	EXPECT_TRUE(HasNotice(Host.Poll(), SlotNotice::EKind::ClientGone, Slot));

	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_EQ(Link.GetLastSlotState(), 1);
	ASSERT_LT(Link.GetSlotIndex(), UE4::SlotCount);
	EXPECT_FALSE(Host.ReadSlot(Link.GetSlotIndex()).ConnectionId == FirstId) << "a new claim has a new connection id";
}

std::string ObjectName(const ::testing::TestParamInfo<int>& Param)
{
	static const char* const Objects[] = {"ServerMonitor", "DataSentEvent", "InboundPipe", "SyncEvent"};
	return Objects[Param.param];
}

INSTANTIATE_TEST_SUITE_P(EachObject, MissingHostObject, ::testing::Values(0, 1, 2, 3), ObjectName);

TEST_F(LinkAcrossProcesses, HostDropFreesTheSlotAndTheLinkClaimsAgain)
{
	HostSimulator Host;
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	const std::uint32_t Slot = ConnectInProcess(Host);
	ASSERT_LT(Slot, UE4::SlotCount);

	Host.Drop(Slot);
	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_EQ(Link.GetLastSlotState(), 4);
	EXPECT_FALSE(Link.IsConnected());
	EXPECT_GE(Link.GetSlotIndex(), UE4::SlotCount);
	EXPECT_EQ(Host.ReadSlot(Slot).State, 0);

	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_EQ(Link.GetLastSlotState(), 1);
}

TEST_F(LinkAcrossProcesses, ReleaseFreesTheHeldSlotAndWithoutASlotReportsNotAttached)
{
	HostSimulator Host;
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	const std::uint32_t Slot = ConnectInProcess(Host);
	ASSERT_LT(Slot, UE4::SlotCount);

	EXPECT_EQ(Link.Release(), LinkResult::Ok);
	EXPECT_EQ(Host.ReadSlot(Slot).State, 0);
	EXPECT_FALSE(Link.IsConnected());
	EXPECT_TRUE(HasNotice(Host.Poll(), SlotNotice::EKind::ClientGone, Slot));
	EXPECT_EQ(Link.Release(), LinkResult::NotAttached);
}

TEST_F(LinkAcrossProcesses, LinkProcessesClaimingAtOnceTakeDifferentSlots)
{
	HostSimulator Host;
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	std::vector<std::unique_ptr<ChildProcess>> Children;
	for (int Index = 0; Index < 3; ++Index)
	{
		Children.push_back(StartLinkChild());
		ASSERT_TRUE(Children.back());
	}
	std::set<std::uint32_t> Connected;
	ASSERT_TRUE(PollUntil([&] {
		for (const SlotNotice& Notice : Host.Poll())
		{
			if (Notice.Kind == SlotNotice::EKind::Connected)
			{
				Connected.insert(Notice.Slot);
			}
		}
		return Connected.size() == Children.size();
	})) << Connected.size()
	    << " of " << Children.size() << " connected";

	std::set<std::string> Reported;
	for (auto& Child : Children)
	{
		auto Line = Child->WaitForLine("connected slot", LongWait);
		ASSERT_TRUE(Line) << Child->TranscriptText();
		Reported.insert(*Line);
	}
	EXPECT_EQ(Reported.size(), Children.size()) << "each process holds a slot of its own";

	std::set<std::uint32_t> Gone;
	for (auto& Child : Children)
	{
		Child->CloseInput();
	}
	ASSERT_TRUE(PollUntil([&] {
		for (const SlotNotice& Notice : Host.Poll())
		{
			if (Notice.Kind == SlotNotice::EKind::ClientGone)
			{
				Gone.insert(Notice.Slot);
			}
		}
		return Gone == Connected;
	}));
	for (auto& Child : Children)
	{
		EXPECT_EQ(Child->Wait(LongWait), 0);
		EXPECT_TRUE(Child->WaitForLine("released Ok", LongWait)) << Child->TranscriptText();
	}
}

TEST_F(LinkAcrossProcesses, MoreLinkProcessesThanSlotsFillTheTableAndTheRestWaitForAFreedSlot)
{
	HostSimulator Host;
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	constexpr std::size_t ProcessCount = UE4::SlotCount + 4;
	std::vector<std::unique_ptr<ChildProcess>> Children;
	for (std::size_t Index = 0; Index < ProcessCount; ++Index)
	{
		Children.push_back(StartLinkChild());
		ASSERT_TRUE(Children.back());
	}
	std::set<std::uint32_t> Connected;
	const auto CollectConnected = [&] {
		for (const SlotNotice& Notice : Host.Poll())
		{
			if (Notice.Kind == SlotNotice::EKind::Connected)
			{
				Connected.insert(Notice.Slot);
			}
		}
	};
	ASSERT_TRUE(PollUntil([&] {
		CollectConnected();
		return Connected.size() == UE4::SlotCount;
	})) << Connected.size() << " slots connected";

	// Every slot went to one process; the others have none and keep asking.
	std::set<std::string> Reported;
	std::vector<ChildProcess*> Waiting;
	for (auto& Child : Children)
	{
		if (auto Line = Child->WaitForLine("connected slot", std::chrono::milliseconds(200)))
		{
			Reported.insert(*Line);
		}
		else
		{
			Waiting.push_back(Child.get());
		}
	}
	EXPECT_EQ(Reported.size(), UE4::SlotCount) << "no slot is held by two processes";
	ASSERT_EQ(Waiting.size(), ProcessCount - UE4::SlotCount);

	// One holder leaves: exactly one of the waiting processes takes its slot.
	ChildProcess* Leaving = nullptr;
	for (auto& Child : Children)
	{
		if (std::find(Waiting.begin(), Waiting.end(), Child.get()) == Waiting.end())
		{
			Leaving = Child.get();
			break;
		}
	}
	ASSERT_NE(Leaving, nullptr);
	Leaving->CloseInput();
	EXPECT_TRUE(Leaving->WaitForLine("released Ok", LongWait)) << Leaving->TranscriptText();
	std::set<ChildProcess*> Joined;
	const auto CollectJoined = [&] {
		Host.Poll();
		for (ChildProcess* Child : Waiting)
		{
			if (Child->WaitForLine("connected slot", std::chrono::milliseconds(20)))
			{
				Joined.insert(Child);
			}
		}
		return !Joined.empty();
	};
	ASSERT_TRUE(PollUntil(CollectJoined));
	// Give the others time to (wrongly) join as well.
	for (int Round = 0; Round < 20; ++Round)
	{
		CollectJoined();
	}
	EXPECT_EQ(Joined.size(), 1u);

	for (auto& Child : Children)
	{
		Child->CloseInput();
	}
	for (auto& Child : Children)
	{
		EXPECT_EQ(Child->Wait(LongWait), 0);
	}
}

TEST_F(LinkAcrossProcesses, SlotFreedAndReofferedToAnotherPluginIsLeftToItByTheFormerOwner)
{
	HostSimulator Host{ManualAccept()};
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	auto Former = StartLinkChild();
	ASSERT_TRUE(Former);
	ASSERT_TRUE(PollUntil([&] { return HasNotice(Host.Poll(), SlotNotice::EKind::Requested, 0); }));
	ASSERT_TRUE(Host.Accept(0)) << Host.LastError();
	ASSERT_TRUE(Former->WaitForLine("connected slot 0", LongWait)) << Former->TranscriptText();

	// The host frees the slot while holding the table, and this process claims it before the other can take
	// its next step: this thread owns the table mutex already, and it is recursive.
	Host.HoldTable();
	Host.Free(0);
	ASSERT_EQ(Step(), LinkResult::Ok);
	ASSERT_EQ(Link.GetSlotIndex(), 0u);
	const UE4::GUID Ours = Host.ReadSlot(0).ConnectionId;
	Host.ReleaseTable();

	// The former owner must let the slot go and claim another one; offering slot 0 to this process in the
	// meantime must not draw it in.
	ASSERT_TRUE(PollUntil([&] {
		(void)Host.Poll();
		return Host.ReadSlot(1).State == 1;
	})) << Former->TranscriptText();
	ASSERT_TRUE(Host.Accept(0)) << Host.LastError();
	ASSERT_TRUE(PollUntil([&] {
		(void)Step();
		return Link.IsConnected();
	}));
	ASSERT_TRUE(Host.Accept(1)) << Host.LastError();
	ASSERT_TRUE(Former->WaitForLine("connected slot 1", LongWait)) << Former->TranscriptText();

	const auto Slot0 = Host.ReadSlot(0);
	EXPECT_EQ(Slot0.State, 3);
	EXPECT_TRUE(Slot0.ConnectionId == Ours);
	EXPECT_TRUE(Slot0.LaunchId == LaunchId);
	const std::vector<std::string>& Lines = Former->Transcript();
	EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "connected slot 0"), 1) << Former->TranscriptText();

	// Values on slot 0 reach this process.
	ASSERT_TRUE(Host.Send(0, UE4::Tag::VINT, std::vector<std::uint8_t>{1, 0, 0, 0, 9, 0, 0, 0})) << Host.LastError();
	UE4::FieldListRequestMap Requests;
	ASSERT_TRUE(PollUntil([&] {
		(void)Link.ReadMessages({}, Requests, {}, {});
		return Link.Inbound.IntValues.count(1) != 0;
	}));
	EXPECT_EQ(Link.Inbound.IntValues[1], 9);

	// The former owner's release frees its own new slot only.
	Former->CloseInput();
	EXPECT_EQ(Former->Wait(LongWait), 0);
	EXPECT_TRUE(Former->WaitForLine("released Ok", LongWait)) << Former->TranscriptText();
	EXPECT_EQ(Host.ReadSlot(1).State, 0);
	EXPECT_EQ(Host.ReadSlot(0).State, 3);
	EXPECT_EQ(Step(), LinkResult::Ok);
	EXPECT_TRUE(Link.IsConnected());
}

TEST_F(LinkAcrossProcesses, KilledHostIsNoticedAndARestartedHostIsJoined)
{
	auto Host = StartHost();
	ASSERT_TRUE(Host);
	ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.IsConnected(); })) << Host->TranscriptText();
	EXPECT_TRUE(Host->WaitForLine("received: UVER 5.5.3", LongWait)) << Host->TranscriptText();
	// A few more frames: the host must have seen the connection before it dies.
	for (int Frame = 0; Frame < 3; ++Frame)
	{
		EXPECT_EQ(Step(), LinkResult::Ok);
	}

	Host->Kill();
	LinkResult Result = LinkResult::Ok;
	ASSERT_TRUE(PollUntil([&] {
		Result = Step();
		return Result != LinkResult::Ok;
	}));
	EXPECT_EQ(Result, LinkResult::HostUnavailable);
	EXPECT_EQ(Link.GetLastSlotState(), 0);
	EXPECT_FALSE(Link.IsConnected());
	EXPECT_GE(Link.GetSlotIndex(), UE4::SlotCount);

	auto Restarted = StartHost();
	ASSERT_TRUE(Restarted);
	ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.IsConnected(); })) << Restarted->TranscriptText();
	EXPECT_TRUE(Restarted->WaitForLine(": connected", LongWait)) << Restarted->TranscriptText();
}

#if !defined(_WIN32)
TEST_F(LinkAcrossProcesses, HostsKilledAgainAndAgainLeaveNoObjectFilesBehind)
{
	const std::filesystem::path Folder = std::getenv("KORVAT_IPC_ROOT");
	for (int Round = 0; Round < 5; ++Round)
	{
		auto Host = StartHost();
		ASSERT_TRUE(Host);
		ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.IsConnected(); })) << Host->TranscriptText();
		ASSERT_TRUE(Host->WaitForLine(": connected", LongWait)) << Host->TranscriptText();
		Host->Kill();
		ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::HostUnavailable; }));
	}
	// One more host, ended in order, and a link that lets go of everything: nothing may be left over.
	auto Host = StartHost();
	ASSERT_TRUE(Host);
	ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.IsConnected(); })) << Host->TranscriptText();
	EXPECT_EQ(Link.Release(), LinkResult::Ok);
	Host->CloseInput();
	EXPECT_TRUE(Host->Wait(LongWait).has_value());
	// The released client monitor stays owned while the host holds it, as on Windows; the next frame's step
	// lets go of it once the host has gone.
	EXPECT_EQ(Step(), LinkResult::HostUnavailable);

	std::vector<std::string> Left;
	for (const auto& Entry : std::filesystem::directory_iterator(Folder))
	{
		if (Entry.path().filename() != ".nslock")
		{
			Left.push_back(Entry.path().filename().string());
		}
	}
	EXPECT_TRUE(Left.empty()) << Left.size() << " files left, the first " << Left.front();
}
#endif

TEST_F(LinkAcrossProcesses, RestartedHostTakesOverARequestLeftInAStaleTable)
{
	auto Host = StartHost({"--no-accept"});
	ASSERT_TRUE(Host);
	ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.GetLastSlotState() == 1; }));
	ASSERT_TRUE(Host->WaitForLine(": requested", LongWait)) << Host->TranscriptText();
	Host->Kill();
	// A plug-in that waits for an offer cannot notice the host's death; its handles keep the table alive.
	for (int Frame = 0; Frame < 5; ++Frame)
	{
		EXPECT_EQ(Step(), LinkResult::Ok);
		EXPECT_EQ(Link.GetLastSlotState(), 1);
	}

	auto Restarted = StartHost();
	ASSERT_TRUE(Restarted);
	ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.IsConnected(); })) << Restarted->TranscriptText();
}

TEST_F(LinkAcrossProcesses, KilledLinkProcessIsNoticedThroughItsAbandonedMonitor)
{
	HostSimulator Host;
	ASSERT_TRUE(Host.Start()) << Host.LastError();
	auto Child = StartLinkChild();
	ASSERT_TRUE(Child);
	std::uint32_t Slot = UE4::NoSlot;
	ASSERT_TRUE(PollUntil([&] {
		for (const SlotNotice& Notice : Host.Poll())
		{
			if (Notice.Kind == SlotNotice::EKind::Connected)
			{
				Slot = Notice.Slot;
			}
		}
		return Slot != UE4::NoSlot;
	}));
	Child->Kill();
	ASSERT_TRUE(PollUntil([&] { return HasNotice(Host.Poll(), SlotNotice::EKind::ClientGone, Slot); }));
	EXPECT_EQ(Host.ReadSlot(Slot).State, 0);
	EXPECT_FALSE(Host.HasConnection(Slot));
}

TEST_F(LinkAcrossProcesses, MessagesCrossBetweenTheHostToolAndTheLink)
{
	auto Host = StartHost({"--json"});
	ASSERT_TRUE(Host);
	ASSERT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.IsConnected(); })) << Host->TranscriptText();
	auto Version = Host->WaitForLine("\"tag\":\"UVER\"", LongWait);
	ASSERT_TRUE(Version) << Host->TranscriptText();
	EXPECT_NE(Version->find("\"major\":5,\"minor\":5,\"patch\":3"), std::string::npos) << *Version;

	for (const char* Command : {"send * VINT 7 3", "send * VSTR 9 hello world", "send * raw 01 02", "send * raw 56494e54",
	                            "send 99 VINT 1 1", "send * EVNT 5 42", "send * RESN 1920 1080", "send * VINT 7 4"})
	{
		ASSERT_TRUE(Host->WriteLine(Command));
	}
	UE4::FieldListRequestMap Requests;
	std::vector<std::int32_t> SeenSeven;
	ASSERT_TRUE(PollUntil([&] {
		(void)Step();
		(void)Link.ReadMessages([](IKorvatNodeFieldSync*, const std::vector<UE4::FieldDescriptor>&) {}, Requests,
		                        [](UE4::RenderQuality) {},
		                        [&](const UE4::DecodedMessage& Message) {
			                        if (Message.Tag == UE4::Tag::VINT && Message.Id == 7)
			                        {
				                        SeenSeven.push_back(Link.Inbound.IntValues[7]);
			                        }
		                        });
		return Link.Inbound.IntValues.count(7) && Link.Inbound.IntValues[7] == 4;
	})) << Host->TranscriptText();
	EXPECT_EQ(SeenSeven, (std::vector<std::int32_t>{3, 4})) << "both values, in order, across the malformed ones";
	EXPECT_EQ(Link.Inbound.StringValues[9], "hello world");
	std::int32_t Width = 0;
	std::int32_t Height = 0;
	EXPECT_TRUE(Link.GetPendingResolution(Width, Height));
	EXPECT_EQ(Width, 1920);
	EXPECT_EQ(Height, 1080);
	std::vector<std::pair<std::int32_t, std::int32_t>> Events;
	EXPECT_EQ(Link.DrainEvents([&](std::int32_t Id, std::int32_t Argument) { Events.emplace_back(Id, Argument); }),
	          LinkResult::Ok);
	EXPECT_EQ(Events, (std::vector<std::pair<std::int32_t, std::int32_t>>{{5, 42}}));

	EXPECT_EQ(Link.SendViewports(1, 2, 3, 4, 5, 6), LinkResult::Ok);
	EXPECT_EQ(Link.SendErrorText("oops\n"), LinkResult::Ok);
	EXPECT_TRUE(Host->WaitForLine("\"tag\":\"VIEW\",\"values\":[1,2,3,4,5,6]", LongWait)) << Host->TranscriptText();
	EXPECT_TRUE(Host->WaitForLine("\"tag\":\"VERR\",\"text\":\"oops\\n\"", LongWait)) << Host->TranscriptText();

	Host->CloseInput();
	EXPECT_EQ(Host->Wait(LongWait), 2) << "the bad slot 99 makes the run fail";
	EXPECT_TRUE(PollUntil([&] { return Step() == LinkResult::Ok && Link.GetLastSlotState() == 4; }))
	    << "a host that quits drops its connections";
}

TEST_F(LinkAcrossProcesses, ScriptFileDrivesASessionAndQuits)
{
	const std::filesystem::path Script =
	    std::filesystem::temp_directory_path() / ("korvat-host-script-" + std::to_string(CurrentProcessId()) + ".txt");
	{
		std::ofstream Out(Script);
		Out << "# waits for the plug-in, asks for quality 3, and waits for its view sizes\n"
		    << "wait connected 15000\n"
		    << "\n"
		    << "send * QLTY 3\n"
		    << "wait message VIEW 15000\n"
		    << "slots\n"
		    << "quit\n"
		    << "send * QLTY 1\n";
	}
	auto Host = StartHost({"--script", Script.string()});
	ASSERT_TRUE(Host);
	UE4::FieldListRequestMap Requests;
	std::vector<UE4::RenderQuality> Qualities;
	ASSERT_TRUE(PollUntil([&] {
		(void)Step();
		if (Link.IsConnected())
		{
			(void)Link.ReadMessages([](IKorvatNodeFieldSync*, const std::vector<UE4::FieldDescriptor>&) {}, Requests,
			                        [&](UE4::RenderQuality Quality) { Qualities.push_back(Quality); }, {});
		}
		return !Qualities.empty();
	})) << Host->TranscriptText();
	EXPECT_EQ(Qualities, (std::vector<UE4::RenderQuality>{UE4::RenderQuality::High}));
	EXPECT_EQ(Link.SendViewports(640, 480, 0, 0, 640, 480), LinkResult::Ok);

	EXPECT_EQ(Host->Wait(LongWait), 0) << Host->TranscriptText();
	EXPECT_TRUE(Host->WaitForLine("state 3 connection", LongWait)) << Host->TranscriptText();
	EXPECT_TRUE(Host->WaitForLine("host stopped", LongWait)) << Host->TranscriptText();
	std::error_code Ignored;
	std::filesystem::remove(Script, Ignored);
}

} // namespace
