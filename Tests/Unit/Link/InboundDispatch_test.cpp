// Decoding of inbound messages into the link state, the store's semantics per tag, the callbacks, and the
// handling of malformed bytes. No host is needed: messages go straight into DispatchMessage.
#include "HostLink.h"
#include "LinkTestSupport.h"

#include <functional>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace Korvat::UE4
{
namespace
{

using Testing::CountingMatrix;
using Testing::MakeGuid;
using Testing::MessageBytes;

/** What OnAccepted saw, copied out (Data is valid only during the dispatch). */
struct AcceptedCopy
{
	std::uint32_t Tag = 0;
	std::uint32_t Id = 0;
	GUID Identifier;
	std::vector<std::uint8_t> Data;
	std::int32_t Length = 0;
	std::vector<double> Matrix;
};

class NodeStub : public IKorvatNodeFieldSync
{
public:
	void UpdateNodeFields(const std::vector<FieldDescriptor>& Fields) override { Received.push_back(Fields); }
	std::vector<std::vector<FieldDescriptor>> Received;
};

class InboundDispatch_test : public ::testing::Test
{
protected:
	void Dispatch(const std::vector<std::uint8_t>& Message)
	{
		sut.DispatchMessage(Message.data(), Message.size(), OnFieldList, FieldListRequests, OnQuality, OnAccepted);
	}

	HostLink sut;
	FieldListRequestMap FieldListRequests;
	std::vector<AcceptedCopy> Accepted;
	std::vector<RenderQuality> Qualities;
	std::vector<std::pair<IKorvatNodeFieldSync*, std::vector<FieldDescriptor>>> FieldLists;

	// Stored as owning functions: the link's callback types only refer to a callable.
	std::function<void(IKorvatNodeFieldSync*, const std::vector<FieldDescriptor>&)> OnFieldList = [this](IKorvatNodeFieldSync* Requester, const std::vector<FieldDescriptor>& Fields)
	{ FieldLists.emplace_back(Requester, Fields); };
	std::function<void(RenderQuality)> OnQuality = [this](RenderQuality Quality) { Qualities.push_back(Quality); };
	std::function<void(const DecodedMessage&)> OnAccepted = [this](const DecodedMessage& Message)
	{
		AcceptedCopy Copy;
		Copy.Tag = Message.Tag;
		Copy.Id = Message.Id;
		Copy.Identifier = Message.Identifier;
		Copy.Length = Message.Length;
		Copy.Data.assign(Message.Data, Message.Data + Message.Length);
		Copy.Matrix.assign(std::begin(Message.Matrix), std::end(Message.Matrix));
		Accepted.push_back(std::move(Copy));
	};
};

// ---------------------------------------------------------------------------------------------------------
// Fixed blocks

TEST_F(InboundDispatch_test, CameraAndProjectionAreCopiedFlaggedAndNotEchoed)
{
	const std::vector<float> Camera = CountingMatrix(1.0f);
	const std::vector<float> Projection = CountingMatrix(100.0f);
	MessageBytes CameraMessage("CAMR");
	MessageBytes ProjectionMessage("PROJ");
	for (int Index = 0; Index < 16; ++Index)
	{
		CameraMessage.F32(Camera[static_cast<std::size_t>(Index)]);
		ProjectionMessage.F32(Projection[static_cast<std::size_t>(Index)]);
	}

	Dispatch(CameraMessage);
	EXPECT_TRUE(sut.Inbound.CameraChanged);
	sut.Inbound.CameraChanged = false;
	Dispatch(ProjectionMessage.Zeros(8)); // a longer block takes only its own 64 bytes

	EXPECT_TRUE(sut.Inbound.CameraChanged);
	EXPECT_EQ(std::vector<float>(sut.Inbound.Camera.begin(), sut.Inbound.Camera.end()), Camera);
	EXPECT_EQ(std::vector<float>(sut.Inbound.Projection.begin(), sut.Inbound.Projection.end()), Projection);
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, VersionViewportsAndAlphaAreStoredWithinTheirSizes)
{
	Dispatch(MessageBytes("UVER").I32(5).I32(5).I32(3).U8(0xEE));
	Dispatch(MessageBytes("VIEW").I32(1).I32(2).I32(3).I32(4).I32(5).I32(6));
	Dispatch(MessageBytes("LPHA").U32(0x11111111).U32(0x22222222).U32(0x33333333));

	const std::uint8_t ExpectedVersion[12] = {5, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0};
	EXPECT_EQ(std::memcmp(sut.Inbound.HostVersion, ExpectedVersion, 12), 0);
	const std::uint8_t ExpectedViewports[24] = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0};
	EXPECT_EQ(std::memcmp(sut.Inbound.Viewports, ExpectedViewports, 24), 0);
	const std::uint8_t ExpectedAlpha[8] = {0x11, 0x11, 0x11, 0x11, 0x22, 0x22, 0x22, 0x22};
	EXPECT_EQ(std::memcmp(sut.Inbound.Alpha, ExpectedAlpha, 8), 0);

	// A 4-byte alpha replaces only the first 4 bytes.
	Dispatch(MessageBytes("LPHA").I32(2));
	const std::uint8_t ExpectedShortAlpha[8] = {2, 0, 0, 0, 0x22, 0x22, 0x22, 0x22};
	EXPECT_EQ(std::memcmp(sut.Inbound.Alpha, ExpectedShortAlpha, 8), 0);
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, ClockIsCopiedWhole)
{
	Dispatch(MessageBytes("CLCK").I64(0x123456789LL).F32(2.5f).I32(60000).I32(1001).U32(0xDDCCBBAA));

	const FromKorvatClock Clock = sut.GetClock();
	EXPECT_EQ(Clock.frameCounter, 0x123456789LL);
	EXPECT_EQ(Clock.time, 2.5f);
	EXPECT_EQ(Clock.frameRateNumerator, 60000);
	EXPECT_EQ(Clock.frameRateDenominator, 1001);
	EXPECT_EQ(Clock.Reserved[0], 0xAA);
	EXPECT_EQ(Clock.Reserved[3], 0xDD);
	EXPECT_TRUE(Accepted.empty());
}

// ---------------------------------------------------------------------------------------------------------
// Resolution and aspect

TEST_F(InboundDispatch_test, SameResolutionTwiceIsAChangeOnlyOnceUntilReset)
{
	std::int32_t Width = 0;
	std::int32_t Height = 0;
	EXPECT_FALSE(sut.GetPendingResolution(Width, Height));

	Dispatch(MessageBytes("RESN").I32(1920).I32(1080));
	ASSERT_TRUE(sut.GetPendingResolution(Width, Height));
	EXPECT_EQ(Width, 1920);
	EXPECT_EQ(Height, 1080);
	EXPECT_TRUE(sut.GetPendingResolution(Width, Height)) << "reading does not clear the flag";

	Dispatch(MessageBytes("RESN").I32(1920).I32(1080));
	EXPECT_FALSE(sut.GetPendingResolution(Width, Height));

	sut.ResetLastResolution();
	Dispatch(MessageBytes("RESN").I32(1920).I32(1080));
	EXPECT_TRUE(sut.GetPendingResolution(Width, Height));
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, CameraAspectComesFromProjectionUntilAResolutionArrives)
{
	MessageBytes Projection("PROJ");
	Projection.F32(2.0f).Zeros(16).F32(3.0f).Zeros(40);
	Dispatch(Projection);
	EXPECT_FLOAT_EQ(sut.GetCameraAspect(), 1.5f);

	Dispatch(MessageBytes("RESN").I32(1920).I32(1080));
	EXPECT_EQ(sut.GetCameraAspect(), 1.7777778f);

	sut.ResetLastResolution();
	EXPECT_FLOAT_EQ(sut.GetCameraAspect(), 1.5f);
}

// ---------------------------------------------------------------------------------------------------------
// Typed values and the echo

TEST_F(InboundDispatch_test, IntValueIsOverwrittenAndEachMessageIsEchoed)
{
	Dispatch(MessageBytes("VINT").U32(7).I32(3));
	Dispatch(MessageBytes("VINT").U32(7).I32(4));

	EXPECT_EQ(sut.Inbound.IntValues.at(7), 4);
	ASSERT_EQ(Accepted.size(), 2u);
	EXPECT_EQ(Accepted[0].Tag, Tag::VINT);
	EXPECT_EQ(Accepted[0].Id, 7u);
	EXPECT_TRUE(Accepted[0].Identifier.IsZero());
	EXPECT_EQ(Accepted[0].Length, 4);
	EXPECT_EQ(Accepted[0].Data, (std::vector<std::uint8_t>{3, 0, 0, 0}));
	EXPECT_EQ(Accepted[1].Data, (std::vector<std::uint8_t>{4, 0, 0, 0}));
}

TEST_F(InboundDispatch_test, ScalarValuesAreStoredByIdAndEchoed)
{
	Dispatch(MessageBytes("VFLT").U32(1).F32(-0.25f));
	Dispatch(MessageBytes("VBOL").U32(2).U8(2));
	Dispatch(MessageBytes("VBOL").U32(3).U8(0));
	Dispatch(MessageBytes("VSTR").U32(4).Raw("h\xC3\xA9llo"));
	Dispatch(MessageBytes("VSTR").U32(5));

	EXPECT_EQ(sut.Inbound.FloatValues.at(1), -0.25f);
	EXPECT_TRUE(sut.Inbound.BoolValues.at(2));
	EXPECT_FALSE(sut.Inbound.BoolValues.at(3));
	EXPECT_EQ(sut.Inbound.StringValues.at(4), "h\xC3\xA9llo");
	EXPECT_EQ(sut.Inbound.StringValues.at(5), "");
	ASSERT_EQ(Accepted.size(), 5u);
	EXPECT_EQ(Accepted[3].Length, 6);
	EXPECT_EQ(Accepted[4].Length, 0);
}

TEST_F(InboundDispatch_test, ArraysAreRefilledAndIgnoreATrailingPartialElement)
{
	Dispatch(MessageBytes("AINT").U32(7).I32(1).I32(2).I32(3));
	EXPECT_EQ(sut.Inbound.IntArrays.at(7), (std::vector<std::int32_t>{1, 2, 3}));
	Dispatch(MessageBytes("AINT").U32(7).I32(9));
	EXPECT_EQ(sut.Inbound.IntArrays.at(7), (std::vector<std::int32_t>{9}));

	Dispatch(MessageBytes("AINT").U32(8).I32(-1).I32(5).U8(0xFF).U8(0xFF)); // 10 bytes after the id
	EXPECT_EQ(sut.Inbound.IntArrays.at(8), (std::vector<std::int32_t>{-1, 5}));

	Dispatch(MessageBytes("AFLT").U32(9).F32(1.5f).F32(-2.0f).U8(1));
	EXPECT_EQ(sut.Inbound.FloatArrays.at(9), (std::vector<float>{1.5f, -2.0f}));

	Dispatch(MessageBytes("ABOL").U32(10).U8(1).U8(0).U8(7));
	EXPECT_EQ(sut.Inbound.BoolArrays.at(10), (std::vector<std::uint8_t>{1, 0, 7}));
	Dispatch(MessageBytes("ABOL").U32(10));
	EXPECT_TRUE(sut.Inbound.BoolArrays.at(10).empty());

	EXPECT_EQ(Accepted.size(), 6u);
}

TEST_F(InboundDispatch_test, StringArrayIsConvertedInOnePieceWithItsZeros)
{
	Dispatch(MessageBytes("ASTR").U32(3).Raw(std::string_view("ab\0cde\0", 7)));

	EXPECT_EQ(sut.Inbound.StringArrays.at(3), std::wstring(L"ab\0cde\0", 7));
	ASSERT_EQ(Accepted.size(), 1u);
	EXPECT_EQ(Accepted[0].Length, 7);
}

TEST_F(InboundDispatch_test, EmptyStringArrayStoresNothingAndIsNotEchoed)
{
	Dispatch(MessageBytes("ASTR").U32(3));

	EXPECT_EQ(sut.Inbound.StringArrays.count(3), 0u);
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, HostErrorTextIsStoredAndEchoedWhole)
{
	Dispatch(MessageBytes("VERR").Raw("bad thing\n"));

	EXPECT_EQ(sut.Inbound.HostErrorText, "bad thing\n");
	ASSERT_EQ(Accepted.size(), 1u);
	EXPECT_EQ(Accepted[0].Id, 0u);
	EXPECT_EQ(Accepted[0].Length, 10);
}

// ---------------------------------------------------------------------------------------------------------
// Events

TEST_F(InboundDispatch_test, EventsQueueInOrderWithTheirArgumentOnlyInTheFullLayout)
{
	Dispatch(MessageBytes("EVNT").U32(0xFFFFFFFEu).U32(0xAAAAAAAA).I32(-9));
	Dispatch(MessageBytes("EVNT").U32(5).U32(0xAAAAAAAA)); // id and 4 bytes only
	Dispatch(MessageBytes("EVNT").U32(6));

	ASSERT_EQ(sut.Inbound.Events.size(), 3u);
	EXPECT_EQ(sut.Inbound.Events[0].Id, -2);
	EXPECT_EQ(sut.Inbound.Events[0].Argument, -9);
	EXPECT_EQ(sut.Inbound.Events[1].Id, 5);
	EXPECT_EQ(sut.Inbound.Events[1].Argument, 0);
	EXPECT_EQ(sut.Inbound.Events[2].Argument, 0);
	ASSERT_EQ(Accepted.size(), 3u);
	EXPECT_EQ(Accepted[0].Length, 8);
}

TEST_F(InboundDispatch_test, EventsWaitWhileNoSlotIsHeld)
{
	Dispatch(MessageBytes("EVNT").U32(1).U32(0).I32(2));

	int Calls = 0;
	EXPECT_EQ(sut.DrainEvents([&Calls](std::int32_t, std::int32_t) { ++Calls; }), LinkResult::NotAttached);
	EXPECT_EQ(Calls, 0);
	EXPECT_EQ(sut.Inbound.Events.size(), 1u);
}

// ---------------------------------------------------------------------------------------------------------
// Matrices

TEST_F(InboundDispatch_test, MatrixWithIdIsStoredWidenedInTheEchoAndKeyedByIdentifier)
{
	const GUID Identifier = MakeGuid(0x40);
	MessageBytes Message("MTXV");
	Message.U32(12).Guid(Identifier);
	for (float Value : CountingMatrix(0.5f))
	{
		Message.F32(Value);
	}
	Dispatch(Message);

	const std::vector<float> Expected = CountingMatrix(0.5f);
	ASSERT_EQ(sut.Inbound.Matrices.count(12), 1u);
	EXPECT_EQ(std::vector<float>(sut.Inbound.Matrices.at(12).begin(), sut.Inbound.Matrices.at(12).end()), Expected);
	ASSERT_EQ(sut.Inbound.MatricesByIdentifier.count(Identifier), 1u);
	EXPECT_TRUE(sut.Inbound.ChangedIdentifiers.empty()) << "a first matrix is no change";

	ASSERT_EQ(Accepted.size(), 1u);
	EXPECT_EQ(Accepted[0].Tag, Tag::MTXV);
	EXPECT_EQ(Accepted[0].Id, 12u);
	EXPECT_EQ(Accepted[0].Identifier, Identifier);
	EXPECT_EQ(Accepted[0].Length, 128);
	for (std::size_t Index = 0; Index < 16; ++Index)
	{
		EXPECT_EQ(Accepted[0].Matrix[Index], static_cast<double>(Expected[Index]));
	}
	double FromData[16];
	std::memcpy(FromData, Accepted[0].Data.data(), sizeof(FromData));
	EXPECT_EQ(FromData[15], 15.5);
}

TEST_F(InboundDispatch_test, MatrixWithoutIdUpdatesOnlyTheIdentifierMapAndTracksChangesOnce)
{
	const GUID Identifier = MakeGuid(1);
	const auto SendMatrix = [this, &Identifier](float Base)
	{
		MessageBytes Message("MTXV");
		Message.U32(0).Guid(Identifier);
		for (float Value : CountingMatrix(Base))
		{
			Message.F32(Value);
		}
		Dispatch(Message);
	};

	SendMatrix(1.0f);
	SendMatrix(1.0f);
	EXPECT_TRUE(sut.Inbound.ChangedIdentifiers.empty()) << "an equal matrix is no change";

	SendMatrix(2.0f);
	SendMatrix(3.0f);
	ASSERT_EQ(sut.Inbound.ChangedIdentifiers.size(), 1u);
	EXPECT_EQ(sut.Inbound.ChangedIdentifiers[0], Identifier);
	EXPECT_EQ(sut.Inbound.MatricesByIdentifier.at(Identifier)[0], 3.0f);
	EXPECT_TRUE(sut.Inbound.Matrices.empty());
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, MatrixWithZeroIdentifierGoesOnlyToTheIdMap)
{
	MessageBytes Message("MTXV");
	Message.U32(3).Zeros(16).Zeros(64);
	Dispatch(Message);

	EXPECT_EQ(sut.Inbound.Matrices.count(3), 1u);
	EXPECT_TRUE(sut.Inbound.MatricesByIdentifier.empty());
}

// ---------------------------------------------------------------------------------------------------------
// Quality and field lists

TEST_F(InboundDispatch_test, QualityGoesToItsCallbackAndIsNotEchoed)
{
	Dispatch(MessageBytes("QLTY").I32(4));

	EXPECT_EQ(Qualities, (std::vector<RenderQuality>{RenderQuality::VeryHigh}));
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, HostFieldListRequestsAreRecordedByGuid)
{
	const GUID First = MakeGuid(0x10);
	Dispatch(MessageBytes("FLD?").Guid(First).Raw("node").U8(0).Raw("ignored"));
	Dispatch(MessageBytes("FLD?").Guid(MakeGuid(0x20)).Raw("unterminated"));
	Dispatch(MessageBytes("FLD?").Guid(MakeGuid(0x30)));

	EXPECT_EQ(FieldListRequests.at(First), "node");
	EXPECT_EQ(FieldListRequests.at(MakeGuid(0x20)), "unterminated");
	EXPECT_EQ(FieldListRequests.at(MakeGuid(0x30)), "");

	Dispatch(MessageBytes("FLD?").Guid(First).Raw("other").U8(0));
	EXPECT_EQ(FieldListRequests.at(First), "other");
	EXPECT_EQ(FieldListRequests.size(), 3u);
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, FieldListAnswerIsDeliveredOnceInRecordOrder)
{
	NodeStub Node;
	(void)sut.RequestFieldList("node", &Node); // no pipe: the write fails, the request stays open
	GUID RequestId;
	ASSERT_TRUE(sut.FindPendingFieldListRequest(&Node, RequestId));

	const auto Answer = MessageBytes("FLDS").Guid(RequestId).U8(1).U8(1).Raw("speed").U8(0).U8(2).U8(0).Raw("on").U8(0);
	Dispatch(Answer);

	ASSERT_EQ(FieldLists.size(), 1u);
	EXPECT_EQ(FieldLists[0].first, &Node);
	const std::vector<FieldDescriptor> Expected = {{1, true, "speed"}, {2, false, "on"}};
	EXPECT_EQ(FieldLists[0].second, Expected);
	EXPECT_EQ(sut.GetPendingFieldListRequestCount(), 0u);

	Dispatch(Answer);
	EXPECT_EQ(FieldLists.size(), 1u) << "a second answer to the same request is ignored";
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, FieldListAnswerForACancelledRequesterIsIgnored)
{
	NodeStub Kept;
	NodeStub Cancelled;
	(void)sut.RequestFieldList("a", &Cancelled);
	(void)sut.RequestFieldList("b", &Cancelled);
	(void)sut.RequestFieldList("c", &Kept);
	GUID CancelledId;
	ASSERT_TRUE(sut.FindPendingFieldListRequest(&Cancelled, CancelledId));

	sut.CancelFieldListRequests(&Cancelled);
	Dispatch(MessageBytes("FLDS").Guid(CancelledId).U8(1).U8(1).Raw("x").U8(0));

	EXPECT_TRUE(FieldLists.empty());
	EXPECT_EQ(sut.GetPendingFieldListRequestCount(), 1u);
	GUID Unused;
	EXPECT_FALSE(sut.FindPendingFieldListRequest(&Cancelled, Unused));
}

TEST_F(InboundDispatch_test, FieldListRecordsNeverReadPastTheMessage)
{
	NodeStub Node;
	const auto Deliver = [&](MessageBytes Tail)
	{
		(void)sut.RequestFieldList("n", &Node);
		GUID RequestId;
		EXPECT_TRUE(sut.FindPendingFieldListRequest(&Node, RequestId));
		MessageBytes Message("FLDS");
		Message.Guid(RequestId);
		for (std::uint8_t Byte : Tail.Get())
		{
			Message.U8(Byte);
		}
		FieldLists.clear();
		Dispatch(Message);
		EXPECT_EQ(FieldLists.size(), 1u);
		return FieldLists.empty() ? std::vector<FieldDescriptor>{} : FieldLists[0].second;
	};

	EXPECT_TRUE(Deliver(MessageBytes()).empty());
	EXPECT_EQ(Deliver(MessageBytes().U8(3).U8(1).Raw("tail")), (std::vector<FieldDescriptor>{{3, true, "tail"}}));
	EXPECT_EQ(Deliver(MessageBytes().U8(3).U8(0)), (std::vector<FieldDescriptor>{{3, false, ""}}));
	EXPECT_EQ(Deliver(MessageBytes().U8(1).U8(0).Raw("a").U8(0).U8(7)), (std::vector<FieldDescriptor>{{1, false, "a"}}))
		<< "a lone type byte ends the list";
	EXPECT_EQ(Deliver(MessageBytes().U8(0xFF).U8(9).U8(0)), (std::vector<FieldDescriptor>{{255, true, ""}}));
}

// ---------------------------------------------------------------------------------------------------------
// Input packets

TEST_F(InboundDispatch_test, InputPacketsQueueTheirDeclaredBytesAndAreHandedOutOnce)
{
	Dispatch(MessageBytes("ITAC").I32(3).Raw("abc"));
	Dispatch(MessageBytes("ITAC").I32(2).Raw("xyz")); // shorter than what follows: takes 2
	Dispatch(MessageBytes("ITAC").I32(0));

	const std::vector<std::string> Packets = sut.TakeInputPackets();
	EXPECT_EQ(Packets, (std::vector<std::string>{"abc", "xy", ""}));
	EXPECT_TRUE(sut.TakeInputPackets().empty());
	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, InputPacketWithAnImpossibleLengthIsDropped)
{
	Dispatch(MessageBytes("ITAC").I32(4).Raw("abc"));
	Dispatch(MessageBytes("ITAC").I32(-1).Raw("abc"));
	Dispatch(MessageBytes("ITAC").I32(0x7FFFFFFF));
	Dispatch(MessageBytes("ITAC").U8(1).U8(0));

	EXPECT_TRUE(sut.Inbound.InputPackets.empty());
}

// ---------------------------------------------------------------------------------------------------------
// Malformed messages

TEST_F(InboundDispatch_test, MessagesShorterThanATagAreDropped)
{
	for (std::size_t Size = 0; Size < 4; ++Size)
	{
		const std::vector<std::uint8_t> Bytes(Size, 'V');
		sut.DispatchMessage(Bytes.data(), Bytes.size(), OnFieldList, FieldListRequests, OnQuality, OnAccepted);
	}
	sut.DispatchMessage(nullptr, 0, OnFieldList, FieldListRequests, OnQuality, OnAccepted);

	EXPECT_TRUE(Accepted.empty());
}

TEST_F(InboundDispatch_test, MessagesOneByteShortOfTheirLayoutChangeNothing)
{
	NodeStub Node;
	(void)sut.RequestFieldList("n", &Node);
	GUID RequestId;
	ASSERT_TRUE(sut.FindPendingFieldListRequest(&Node, RequestId));

	const std::vector<MessageBytes> Complete = {
		MessageBytes("CAMR").Zeros(64), MessageBytes("PROJ").Zeros(64), MessageBytes("UVER").Zeros(12),
		MessageBytes("VIEW").Zeros(24), MessageBytes("CLCK").I64(1).Zeros(16), MessageBytes("RESN").I32(1).I32(1),
		MessageBytes("QLTY").I32(1), MessageBytes("MTXV").U32(1).Zeros(80), MessageBytes("FLD?").Guid(MakeGuid(9)),
		MessageBytes("FLDS").Guid(RequestId), MessageBytes("VINT").U32(1).I32(1), MessageBytes("VFLT").U32(1).F32(1),
		MessageBytes("VBOL").U32(1).U8(1), MessageBytes("VSTR").U32(1), MessageBytes("AINT").U32(1),
		MessageBytes("AFLT").U32(1), MessageBytes("ABOL").U32(1), MessageBytes("ASTR").U32(1),
		MessageBytes("EVNT").U32(1), MessageBytes("ITAC").I32(0)};

	for (MessageBytes Message : Complete)
	{
		Dispatch(Message.Cut(1));
	}

	EXPECT_FALSE(sut.Inbound.CameraChanged);
	EXPECT_EQ(sut.GetClock().frameCounter, 0);
	std::int32_t Width = 0;
	std::int32_t Height = 0;
	EXPECT_FALSE(sut.GetPendingResolution(Width, Height));
	EXPECT_TRUE(Qualities.empty());
	EXPECT_TRUE(FieldListRequests.empty());
	EXPECT_TRUE(FieldLists.empty());
	EXPECT_EQ(sut.GetPendingFieldListRequestCount(), 1u);
	EXPECT_TRUE(sut.Inbound.Matrices.empty());
	EXPECT_TRUE(sut.Inbound.IntValues.empty());
	EXPECT_TRUE(sut.Inbound.FloatValues.empty());
	EXPECT_TRUE(sut.Inbound.BoolValues.empty());
	EXPECT_TRUE(sut.Inbound.StringValues.empty());
	EXPECT_TRUE(sut.Inbound.IntArrays.empty());
	EXPECT_TRUE(sut.Inbound.Events.empty());
	EXPECT_TRUE(sut.Inbound.InputPackets.empty());
	EXPECT_TRUE(Accepted.empty());

	// The complete forms of the same messages are taken, so the cut was what made the difference.
	for (const MessageBytes& Message : Complete)
	{
		Dispatch(Message);
	}
	EXPECT_TRUE(sut.Inbound.CameraChanged);
	EXPECT_EQ(sut.GetClock().frameCounter, 1);
	EXPECT_EQ(Qualities.size(), 1u);
	EXPECT_EQ(FieldLists.size(), 1u);
	EXPECT_EQ(sut.Inbound.InputPackets.size(), 1u);
}

TEST_F(InboundDispatch_test, UnknownTagsAreIgnored)
{
	Dispatch(MessageBytes("ZZZZ").U32(1).U32(2));
	Dispatch(MessageBytes("vint").U32(1).U32(2));
	Dispatch(MessageBytes("TSHR").I32(0));

	EXPECT_TRUE(Accepted.empty());
	EXPECT_TRUE(sut.Inbound.IntValues.empty());
}

TEST_F(InboundDispatch_test, EmptyAcceptedCallbackIsAllowed)
{
	const std::vector<std::uint8_t> Message = MessageBytes("VINT").U32(2).I32(8);
	sut.DispatchMessage(Message.data(), Message.size(), OnFieldList, FieldListRequests, OnQuality, AcceptedCallback{});

	EXPECT_EQ(sut.Inbound.IntValues.at(2), 8);
}

// ---------------------------------------------------------------------------------------------------------
// Clearing

TEST_F(InboundDispatch_test, ClearInboundKeepsCameraVersionAlphaAndChangesButEmptiesTheRest)
{
	const GUID Identifier = MakeGuid(3);
	Dispatch(MessageBytes("CAMR").F32(7.0f).Zeros(60));
	Dispatch(MessageBytes("PROJ").F32(8.0f).Zeros(60));
	Dispatch(MessageBytes("UVER").I32(1).I32(2).I32(3));
	Dispatch(MessageBytes("LPHA").I32(2));
	Dispatch(MessageBytes("VIEW").I32(1).Zeros(20));
	Dispatch(MessageBytes("MTXV").U32(4).Guid(Identifier).Zeros(64));
	Dispatch(MessageBytes("MTXV").U32(4).Guid(Identifier).F32(1.0f).Zeros(60));
	Dispatch(MessageBytes("VINT").U32(1).I32(1));
	Dispatch(MessageBytes("VERR").Raw("x"));
	Dispatch(MessageBytes("ITAC").I32(1).Raw("p"));
	Dispatch(MessageBytes("EVNT").U32(1));
	Dispatch(MessageBytes("ABOL").U32(1).U8(1));
	Dispatch(MessageBytes("RESN").I32(640).I32(480));

	sut.ClearInbound();

	EXPECT_TRUE(sut.Inbound.CameraChanged);
	EXPECT_EQ(sut.Inbound.Camera[0], 7.0f);
	EXPECT_EQ(sut.Inbound.Projection[0], 8.0f);
	EXPECT_EQ(sut.Inbound.HostVersion[8], 3);
	EXPECT_EQ(sut.Inbound.Alpha[0], 2);
	EXPECT_EQ(sut.Inbound.ChangedIdentifiers.size(), 1u);
	EXPECT_EQ(sut.Inbound.Viewports[0], 0);
	EXPECT_TRUE(sut.Inbound.Matrices.empty());
	EXPECT_TRUE(sut.Inbound.MatricesByIdentifier.empty());
	EXPECT_TRUE(sut.Inbound.IntValues.empty());
	EXPECT_TRUE(sut.Inbound.BoolArrays.empty());
	EXPECT_TRUE(sut.Inbound.HostErrorText.empty());
	EXPECT_TRUE(sut.Inbound.InputPackets.empty());
	EXPECT_TRUE(sut.Inbound.Events.empty());
	std::int32_t Width = 0;
	std::int32_t Height = 0;
	EXPECT_TRUE(sut.GetPendingResolution(Width, Height)) << "link-state fields are not part of the store";
}

} // namespace
} // namespace Korvat::UE4
