#include "ChildProcess.h"
#include "HostSimulator.h"
#include "Platform/MessagePipe.h"
#include "Platform/NamedEvent.h"
#include "Platform/NamedMutex.h"
#include "Platform/SharedMemory.h"
#include "Platform/System.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace
{

using namespace Korvat::Host;
namespace UE4 = Korvat::UE4;
namespace Platform = Korvat::UE4::Platform;
using Platform::OpenResult;

/** The plug-in's side of a claim, made by hand from the platform layer. */
struct FFakePlugin
{
	Platform::SharedMemory Mapping;
	UE4::SharedSlotTable* Table = nullptr;
	UE4::GUID Id;
	std::wstring Name;
	Platform::NamedMutex ClientMonitor;
	Platform::MessagePipeWriter Outbound;
	Platform::MessagePipeReader Inbound;

	bool OpenTable()
	{
		if (Platform::SharedMemory::Open(UE4::ObjectName::SharedTable, Mapping) != OpenResult::Ok)
		{
			return false;
		}
		Table = static_cast<UE4::SharedSlotTable*>(Mapping.MapView(sizeof(UE4::SharedSlotTable)));
		return Table != nullptr;
	}

	/** Writes a request into Slot; creates the client monitor and the outbound pipe unless told not to. */
	void Claim(std::uint32_t Slot, bool bWithObjects = true)
	{
		ASSERT_TRUE(Table || OpenTable());
		ASSERT_TRUE(Platform::CreateGuid(Id));
		Name = Platform::FormatGuid(Id);
		if (bWithObjects)
		{
			ASSERT_EQ(Platform::NamedMutex::Create(std::wstring(UE4::ObjectName::ClientMonitorPrefix) + Name,
			                                       Platform::MutexOwnership::OwnedByCreator, ClientMonitor),
			          OpenResult::Ok);
			ASSERT_EQ(Platform::MessagePipeWriter::Create(std::wstring(UE4::ObjectName::OutboundPipePrefix) + Name, Outbound),
			          OpenResult::Ok);
		}
		Table->Slots[Slot].ConnectionId = Id;
		Table->Slots[Slot].State = 1;
	}

	bool Write(std::string_view Tag, std::vector<std::uint8_t> Payload)
	{
		const Platform::WriteResult Result =
		    Outbound.Write(std::as_bytes(std::span(Tag.data(), Tag.size())), std::as_bytes(std::span(Payload)));
		return Result == Platform::WriteResult::Completed || Result == Platform::WriteResult::Pending;
	}

	~FFakePlugin()
	{
		if (Table)
		{
			Platform::SharedMemory::UnmapView(Table, sizeof(UE4::SharedSlotTable));
		}
	}
};

HostSimulatorOptions ManualAccept()
{
	HostSimulatorOptions Options;
	Options.bAutoAccept = false;
	return Options;
}

HostObjectSet WithoutPipeAndSyncEvent()
{
	HostObjectSet Objects;
	Objects.bInboundPipe = false;
	Objects.bSyncEvent = false;
	return Objects;
}

bool HasNotice(const std::vector<SlotNotice>& Notices, SlotNotice::EKind Kind, std::uint32_t Slot)
{
	return std::any_of(Notices.begin(), Notices.end(),
	                   [&](const SlotNotice& Notice) { return Notice.Kind == Kind && Notice.Slot == Slot; });
}

class HostSimulator_test : public ::testing::Test
{
protected:
	Korvat::Testing::PrivateIpcRoot Root{"host-sim"};
	Korvat::Testing::Watchdog Guard{std::chrono::seconds(60), "HostSimulator_test"};
	HostSimulator sut{ManualAccept()};
};

TEST_F(HostSimulator_test, StartCreatesTheTableAndASecondHostIsRefused)
{
	ASSERT_TRUE(sut.Start()) << sut.LastError();
	FFakePlugin Plugin;
	EXPECT_TRUE(Plugin.OpenTable());

	HostSimulator Second;
	EXPECT_FALSE(Second.Start());
	EXPECT_NE(Second.LastError().find("another host is running"), std::string::npos) << Second.LastError();

	sut.Stop();
	EXPECT_TRUE(Second.Start()) << Second.LastError();
}

TEST_F(HostSimulator_test, RestartOverAStaleTableDropsOfferedAndConnectedSlotsAndKeepsRequests)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin Plugin; // Holds the table across the host's restart, as a waiting plug-in does.
	ASSERT_TRUE(Plugin.OpenTable());
	sut.Stop();
	Plugin.Table->Slots[0].State = 1;
	Plugin.Table->Slots[1].State = 2;
	Plugin.Table->Slots[2].State = 3;
	Plugin.Table->Slots[3].State = 4;

	HostSimulator Restarted{ManualAccept()};
	ASSERT_TRUE(Restarted.Start()) << Restarted.LastError();
	EXPECT_EQ(Restarted.ReadSlot(0).State, 1);
	EXPECT_EQ(Restarted.ReadSlot(1).State, 4);
	EXPECT_EQ(Restarted.ReadSlot(2).State, 4);
	EXPECT_EQ(Restarted.ReadSlot(3).State, 4);
	EXPECT_TRUE(HasNotice(Restarted.Poll(), SlotNotice::EKind::Requested, 0));
}

TEST_F(HostSimulator_test, AcceptCreatesOwnedMonitorAndObjectsClearsTheCodeAndOffers)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin Plugin;
	Plugin.Claim(3);
	Plugin.Table->Slots[3].ClientCode = 6; // Left by an earlier connection.

	const auto Notices = sut.Poll();
	EXPECT_TRUE(HasNotice(Notices, SlotNotice::EKind::Requested, 3));
	EXPECT_EQ(sut.ReadSlot(3).State, 1) << "no auto-accept";
	ASSERT_TRUE(sut.Accept(3)) << sut.LastError();

	const SlotSnapshot Slot = sut.ReadSlot(3);
	EXPECT_EQ(Slot.State, 2);
	EXPECT_EQ(Slot.ClientCode, 0);
	EXPECT_EQ(sut.ConnectionName(3), Plugin.Name);

	Platform::NamedEvent DataSent;
	Platform::NamedEvent Sync;
	EXPECT_EQ(Platform::NamedEvent::Open(std::wstring(UE4::ObjectName::DataSentEventPrefix) + Plugin.Name, DataSent),
	          OpenResult::Ok);
	EXPECT_EQ(Platform::NamedEvent::Open(std::wstring(UE4::ObjectName::SyncEventPrefix) + L"0_" + Plugin.Name, Sync),
	          OpenResult::Ok);

	// Another thread finds the server monitor owned: the host's zero-time wait must time out.
	Platform::WaitResult Waited = Platform::WaitResult::Unknown;
	std::thread([&] {
		Platform::NamedMutex Monitor;
		if (Platform::NamedMutex::Open(std::wstring(UE4::ObjectName::ServerMonitorPrefix) + Plugin.Name, Monitor) ==
		    OpenResult::Ok)
		{
			Waited = Monitor.Wait(0);
		}
	}).join();
	EXPECT_EQ(Waited, Platform::WaitResult::TimedOut);
}

TEST_F(HostSimulator_test, ConnectedIsNoticedOnceAndMessagesAreRecordedInOrder)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin Plugin;
	Plugin.Claim(0);
	ASSERT_TRUE(sut.Accept(0)) << sut.LastError();
	Plugin.Table->Slots[0].State = 3;

	EXPECT_TRUE(HasNotice(sut.Poll(), SlotNotice::EKind::Connected, 0));
	EXPECT_FALSE(HasNotice(sut.Poll(), SlotNotice::EKind::Connected, 0));

	ASSERT_TRUE(Plugin.Write("UVER", {5, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0}));
	ASSERT_TRUE(Plugin.Write("\x01\x02", {}));
	ASSERT_TRUE(Plugin.Write("LPHA", {2, 0, 0, 0}));
	std::vector<ReceivedMessage> Received;
	for (int Attempt = 0; Attempt < 1000 && Received.size() < 3; ++Attempt)
	{
		sut.Poll();
		for (ReceivedMessage& Message : sut.TakeReceived())
		{
			Received.push_back(std::move(Message));
		}
	}
	ASSERT_EQ(Received.size(), 3u);
	EXPECT_EQ(Received[0].Tag, UE4::Tag::UVER);
	EXPECT_EQ(Received[0].Payload, (std::vector<std::uint8_t>{5, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0}));
	EXPECT_TRUE(Received[1].bMalformed);
	EXPECT_EQ(Received[1].Payload, (std::vector<std::uint8_t>{1, 2}));
	EXPECT_EQ(Received[2].Tag, UE4::Tag::LPHA);
	EXPECT_EQ(Received[2].Slot, 0u);
}

TEST_F(HostSimulator_test, SendIsRefusedUntilThePluginOpensTheInboundPipe)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin Plugin;
	Plugin.Claim(1);
	ASSERT_TRUE(sut.Accept(1));
	const std::vector<std::uint8_t> Payload{7, 0, 0, 0, 3, 0, 0, 0};
	EXPECT_FALSE(sut.Send(1, UE4::Tag::VINT, Payload));
	EXPECT_FALSE(sut.LastError().empty());
	EXPECT_FALSE(sut.Send(2, UE4::Tag::VINT, Payload)) << "slot without a connection";

	ASSERT_EQ(Platform::MessagePipeReader::Open(std::wstring(UE4::ObjectName::InboundPipePrefix) + Plugin.Name, Plugin.Inbound),
	          OpenResult::Ok);
	ASSERT_TRUE(sut.Send(1, UE4::Tag::VINT, Payload)) << sut.LastError();
	ASSERT_TRUE(sut.SendRaw(1, std::vector<std::uint8_t>{0xAA}));

	std::vector<std::vector<std::uint8_t>> Messages;
	for (int Attempt = 0; Attempt < 2000 && Messages.size() < 2; ++Attempt)
	{
		std::uint32_t Size = 0;
		if (Plugin.Inbound.Peek(Size) != Platform::PipeResult::Ok)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(1));
			continue;
		}
		std::vector<std::uint8_t> Message(Size);
		std::uint32_t Read = 0;
		ASSERT_EQ(Plugin.Inbound.Read(Message.data(), Size, Read), Platform::PipeResult::Ok);
		Message.resize(Read);
		Messages.push_back(Message);
	}
	ASSERT_EQ(Messages.size(), 2u);
	EXPECT_EQ(Messages[0], (std::vector<std::uint8_t>{'V', 'I', 'N', 'T', 7, 0, 0, 0, 3, 0, 0, 0}));
	EXPECT_EQ(Messages[1], (std::vector<std::uint8_t>{0xAA}));
}

TEST_F(HostSimulator_test, OmittedObjectsAreNotCreated)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin Plugin;
	Plugin.Claim(2);
	ASSERT_TRUE(sut.Accept(2, WithoutPipeAndSyncEvent()));
	Platform::MessagePipeReader Inbound;
	Platform::NamedEvent Sync;
	Platform::NamedMutex Monitor;
	EXPECT_NE(Platform::MessagePipeReader::Open(std::wstring(UE4::ObjectName::InboundPipePrefix) + Plugin.Name, Inbound),
	          OpenResult::Ok);
	EXPECT_NE(Platform::NamedEvent::Open(std::wstring(UE4::ObjectName::SyncEventPrefix) + L"0_" + Plugin.Name, Sync),
	          OpenResult::Ok);
	EXPECT_EQ(Platform::NamedMutex::Open(std::wstring(UE4::ObjectName::ServerMonitorPrefix) + Plugin.Name, Monitor),
	          OpenResult::Ok);
	EXPECT_FALSE(sut.Send(2, UE4::Tag::QLTY, std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST_F(HostSimulator_test, RequestWithoutOutboundPipeIsRefusedWithDropped)
{
	HostSimulator AutoHost; // Auto-accept.
	ASSERT_TRUE(AutoHost.Start());
	FFakePlugin Plugin;
	Plugin.Claim(5, false);
	const auto Notices = AutoHost.Poll();
	EXPECT_TRUE(HasNotice(Notices, SlotNotice::EKind::AcceptFailed, 5));
	EXPECT_EQ(AutoHost.ReadSlot(5).State, 4);
	EXPECT_FALSE(AutoHost.HasConnection(5));
	EXPECT_NE(AutoHost.LastError().find("outbound pipe"), std::string::npos) << AutoHost.LastError();
	EXPECT_FALSE(AutoHost.Accept(5)) << "only a requested slot can be accepted";
}

TEST_F(HostSimulator_test, PluginFreeingItsSlotEndsTheConnection)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin Plugin;
	Plugin.Claim(4);
	ASSERT_TRUE(sut.Accept(4));
	Plugin.Table->Slots[4].State = 0;
	EXPECT_TRUE(HasNotice(sut.Poll(), SlotNotice::EKind::ClientGone, 4));
	EXPECT_FALSE(sut.HasConnection(4));
	EXPECT_TRUE(sut.ConnectionName(4).empty());
}

TEST_F(HostSimulator_test, AbandonedClientMonitorFreesTheSlot)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin Plugin;
	Plugin.Claim(6, false);
	ASSERT_EQ(
	    Platform::MessagePipeWriter::Create(std::wstring(UE4::ObjectName::OutboundPipePrefix) + Plugin.Name, Plugin.Outbound),
	    OpenResult::Ok);
	// The monitor's owner is a thread that ends without releasing it, as a plug-in process that dies.
	std::thread([&] {
		ASSERT_EQ(Platform::NamedMutex::Create(std::wstring(UE4::ObjectName::ClientMonitorPrefix) + Plugin.Name,
		                                       Platform::MutexOwnership::OwnedByCreator, Plugin.ClientMonitor),
		          OpenResult::Ok);
	}).join();
	ASSERT_TRUE(sut.Accept(6));
	Plugin.Table->Slots[6].State = 3;

	std::vector<SlotNotice> Notices = sut.Poll();
	EXPECT_TRUE(HasNotice(Notices, SlotNotice::EKind::ClientGone, 6));
	EXPECT_EQ(sut.ReadSlot(6).State, 0);
	EXPECT_FALSE(sut.HasConnection(6));
}

TEST_F(HostSimulator_test, DropWritesDroppedFreeWritesFreeAndStopRefusesWaitingRequests)
{
	ASSERT_TRUE(sut.Start());
	FFakePlugin First;
	FFakePlugin Second;
	FFakePlugin Waiting;
	First.Claim(0);
	Second.Claim(1);
	Waiting.Claim(2);
	ASSERT_TRUE(sut.Accept(0));
	ASSERT_TRUE(sut.Accept(1));

	sut.Drop(0);
	EXPECT_EQ(sut.ReadSlot(0).State, 4);
	EXPECT_FALSE(sut.HasConnection(0));
	sut.Free(1);
	EXPECT_EQ(sut.ReadSlot(1).State, 0);
	EXPECT_FALSE(sut.HasConnection(1));

	sut.WriteSlotState(7, 9);
	EXPECT_EQ(sut.ReadSlot(7).State, 9);

	sut.Stop();
	EXPECT_FALSE(sut.IsRunning());
	EXPECT_EQ(Waiting.Table->Slots[2].State, 4);
	EXPECT_EQ(sut.ReadSlot(0).State, 0) << "a stopped host reads nothing";
}

} // namespace
