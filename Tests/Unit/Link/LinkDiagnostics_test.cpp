// What the link reports about itself: the condition of the session through every way a connection comes and
// goes, the messages counted per tag, failing writes, and the observer that sees every message.
#include "HostLink.h"
#include "HostSimulator.h"
#include "LinkTestSupport.h"
#include "Platform/System.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace Korvat::UE4
{
namespace
{

using Host::HostSimulator;
using Host::HostSimulatorOptions;
using Testing::MakeGuid;
using Testing::MessageBytes;

class LinkDiagnostics_test : public ::testing::Test
{
protected:
	void StartHost()
	{
		HostSimulatorOptions Options;
		Options.bAutoAccept = false;
		Host = std::make_unique<HostSimulator>(Options);
		ASSERT_TRUE(Host->Start()) << Host->LastError();
	}

	void TearDown() override
	{
		sut.reset();
		if (Host)
		{
			Host->Stop();
		}
	}

	ConnectionCondition Step()
	{
		(void)sut->Connect(LaunchId, false);
		return sut->GetConnectionReport().Condition;
	}

	void ConnectFully()
	{
		ASSERT_EQ(Step(), ConnectionCondition::WaitingForHost);
		ASSERT_TRUE(Host->Accept(sut->GetSlotIndex())) << Host->LastError();
		ASSERT_EQ(Step(), ConnectionCondition::Connected);
		ASSERT_EQ(Step(), ConnectionCondition::Connected);
		ASSERT_TRUE(sut->IsConnected());
	}

	LinkResult Read()
	{
		return sut->ReadMessages([](IKorvatNodeFieldSync*, const std::vector<FieldDescriptor>&) {}, FieldListRequests,
			[](RenderQuality) {}, [](const DecodedMessage&) {});
	}

	Testing::IpcNamespace Namespace;
	std::unique_ptr<HostSimulator> Host;
	std::unique_ptr<HostLink> sut = std::make_unique<HostLink>();
	const GUID LaunchId = MakeGuid(0x40);
	FieldListRequestMap FieldListRequests;
};

TEST_F(LinkDiagnostics_test, EveryWayOfComingAndGoingIsReportedOnceWithItsSlot)
{
	const ConnectionReport& Report = sut->GetConnectionReport();
	EXPECT_EQ(Report.Condition, ConnectionCondition::NotStarted);
	EXPECT_EQ(Report.Changes, 0u);

	// An absent host is one change, however many steps find it absent.
	EXPECT_EQ(Step(), ConnectionCondition::HostNotRunning);
	EXPECT_EQ(Step(), ConnectionCondition::HostNotRunning);
	EXPECT_EQ(Report.Changes, 1u);
	EXPECT_EQ(Report.Failure.Object, nullptr);

	StartHost();
	EXPECT_EQ(Step(), ConnectionCondition::WaitingForHost);
	EXPECT_EQ(Step(), ConnectionCondition::WaitingForHost);
	EXPECT_EQ(Report.Changes, 2u);
	EXPECT_EQ(Report.Slot, 0u);

	ASSERT_TRUE(Host->Accept(0));
	EXPECT_EQ(Step(), ConnectionCondition::Connected);
	EXPECT_EQ(Step(), ConnectionCondition::Connected);
	EXPECT_EQ(Report.Changes, 3u);
	EXPECT_EQ(Report.Slot, 0u);
	EXPECT_EQ(Platform::FormatGuid(Report.ConnectionId), Host->ConnectionName(0));

	Host->Drop(0);
	EXPECT_EQ(Step(), ConnectionCondition::RefusedByHost);
	EXPECT_EQ(Report.Slot, 0u);

	ConnectFully();
	Host->Free(sut->GetSlotIndex());
	EXPECT_EQ(Step(), ConnectionCondition::FreedByHost);

	ConnectFully();
	const std::uint32_t Changes = Report.Changes;
	EXPECT_EQ(sut->Release(), LinkResult::Ok);
	EXPECT_EQ(Report.Condition, ConnectionCondition::Released);
	EXPECT_EQ(Report.Changes, Changes + 1);
}

TEST_F(LinkDiagnostics_test, FullTableAndAbandonedMonitorAreTheirOwnConditions)
{
	StartHost();
	for (std::uint32_t Slot = 0; Slot < SlotCount; ++Slot)
	{
		Host->WriteSlotState(Slot, 1);
	}
	EXPECT_EQ(Step(), ConnectionCondition::TableFull);
	EXPECT_EQ(Step(), ConnectionCondition::TableFull);
	EXPECT_EQ(sut->GetConnectionReport().Slot, NoSlot);

	Host->WriteSlotState(5, 0);
	EXPECT_EQ(Step(), ConnectionCondition::WaitingForHost);
	// The host's monitor belongs to the thread that accepts; that thread ending is the host dying.
	std::thread([this] { ASSERT_TRUE(Host->Accept(5)); }).join();
	EXPECT_EQ(Step(), ConnectionCondition::Connected);
	EXPECT_EQ(Step(), ConnectionCondition::HostGone);
	EXPECT_EQ(sut->GetConnectionReport().Slot, 5u);
}

TEST_F(LinkDiagnostics_test, HostObjectThatCannotBeOpenedIsNamedWithTheSystemError)
{
	StartHost();
	ASSERT_EQ(Step(), ConnectionCondition::WaitingForHost);
	Host::HostObjectSet WithoutPipe;
	WithoutPipe.bInboundPipe = false;
	ASSERT_TRUE(Host->Accept(0, WithoutPipe));

	EXPECT_EQ(Step(), ConnectionCondition::HostObjectFailed);
	const ObjectFailure& Failure = sut->GetConnectionReport().Failure;
	ASSERT_NE(Failure.Object, nullptr);
	EXPECT_STREQ(Failure.Object, "inbound pipe");
	EXPECT_NE(Failure.Result, Platform::OpenResult::Ok);
	EXPECT_NE(Failure.SystemError, 0u);

	// The next claim is a change of its own, and clears the failure.
	EXPECT_EQ(Step(), ConnectionCondition::WaitingForHost);
	EXPECT_EQ(sut->GetConnectionReport().Failure.Object, nullptr);
}

TEST_F(LinkDiagnostics_test, MessagesAreCountedPerTagAndSeenWholeByTheObserver)
{
	class FRecorder : public MessageObserver
	{
	public:
		void OnInbound(std::span<const std::uint8_t> Message) override { Inbound.emplace_back(Message.begin(), Message.end()); }
		void OnOutbound(std::uint32_t Tag, std::span<const std::uint8_t> Payload) override
		{
			Outbound.push_back(MessageBytes().U32(Tag).Raw({reinterpret_cast<const char*>(Payload.data()), Payload.size()}).Get());
			Order.push_back(Tag == Tag::UVER ? "UVER" : "sent");
		}
		void OnConditionChanged(const ConnectionReport& Report) override { Order.push_back(ToString(Report.Condition)); }
		std::vector<std::vector<std::uint8_t>> Inbound;
		std::vector<std::vector<std::uint8_t>> Outbound;
		std::vector<std::string> Order;
	} Recorder;

	StartHost();
	sut->SetMessageObserver(&Recorder);
	ConnectFully();

	const std::vector<std::uint8_t> Value = MessageBytes("VINT").U32(7).I32(-2);
	const std::vector<std::uint8_t> Short = MessageBytes("VINT").U32(7);
	const std::vector<std::uint8_t> Unknown = MessageBytes("ZZZZ").U8(1);
	ASSERT_TRUE(Host->SendRaw(0, Value));
	ASSERT_TRUE(Host->SendRaw(0, Short));
	ASSERT_TRUE(Host->SendRaw(0, Unknown));
	ASSERT_TRUE(Host->SendRaw(0, MessageBytes("VI").Get()));
	ASSERT_EQ(Read(), LinkResult::Ok);
	ASSERT_EQ(sut->SendAlphaPropagation(2), LinkResult::Ok);

	const MessageCounters& Counters = sut->GetMessageCounters();
	EXPECT_EQ(Counters.Received[TagCounterIndex(Tag::VINT)], 2u);
	EXPECT_EQ(Counters.Received[KnownTags.size()], 2u) << "the unknown tag and the message too short for a tag";
	EXPECT_EQ(Counters.Malformed, 2u);
	EXPECT_EQ(Counters.Sent[TagCounterIndex(Tag::UVER)], 1u);
	EXPECT_EQ(Counters.Sent[TagCounterIndex(Tag::LPHA)], 1u);

	ASSERT_EQ(Recorder.Inbound.size(), 4u);
	EXPECT_EQ(Recorder.Inbound[0], Value);
	EXPECT_EQ(Recorder.Inbound[1], Short);
	EXPECT_EQ(Recorder.Inbound[2], Unknown);
	EXPECT_EQ(Recorder.Inbound[3], MessageBytes("VI").Get());
	ASSERT_EQ(Recorder.Outbound.size(), 2u);
	EXPECT_EQ(Recorder.Outbound[0], MessageBytes("UVER").Zeros(12).Get());
	EXPECT_EQ(Recorder.Outbound[1], MessageBytes("LPHA").I32(2).Get());

	// The connection begins before the version announced on it.
	EXPECT_EQ(Recorder.Order, (std::vector<std::string>{"WaitingForHost", "Connected", "UVER", "sent"}));

	sut->SetMessageObserver(nullptr);
	ASSERT_EQ(sut->SendAlphaPropagation(0), LinkResult::Ok);
	EXPECT_EQ(Recorder.Outbound.size(), 2u);
}

TEST_F(LinkDiagnostics_test, FailingWritesCountFromTheFirstAndEndWithTheConnection)
{
	StartHost();
	ConnectFully();
	// Without a host nothing counts: a write that has no pipe to go to is not a failing write.
	HostLink Unconnected;
	EXPECT_EQ(Unconnected.SendAlphaPropagation(1), LinkResult::WriteFailed);
	EXPECT_EQ(Unconnected.GetWriteFailures().Total, 0u);

	Host->Drop(0);
	Host->Stop();
	EXPECT_EQ(sut->SendAlphaPropagation(1), LinkResult::WriteFailed);
	EXPECT_EQ(sut->SendAlphaPropagation(1), LinkResult::WriteFailed);
	const WriteFailures& Failures = sut->GetWriteFailures();
	EXPECT_EQ(Failures.Total, 2u);
	EXPECT_TRUE(Failures.bFailing);
	EXPECT_EQ(Failures.FirstResult, Platform::WriteResult::Refused);
	EXPECT_EQ(sut->GetMessageCounters().Sent[TagCounterIndex(Tag::LPHA)], 0u);

	(void)sut->Connect(LaunchId, false);
	EXPECT_FALSE(Failures.bFailing) << "the streak ends with the connection";
	EXPECT_EQ(Failures.Total, 2u);
}

} // namespace
} // namespace Korvat::UE4
