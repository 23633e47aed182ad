// Message pipes: boundaries and order, peeking, back-pressure without blocking, the end of the stream.
#include "PlatformTestSupport.h"

#include "Platform/MessagePipe.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace Korvat::UE4::Platform::Test
{
namespace
{

using MessagePipeTest = PlatformTest;

std::vector<std::byte> Pattern(std::size_t Size, std::uint32_t Seed)
{
	std::vector<std::byte> Bytes(Size);
	for (std::size_t Index = 0; Index < Size; ++Index)
	{
		Bytes[Index] = static_cast<std::byte>((Index * 31 + Seed * 7) & 0xFF);
	}
	return Bytes;
}

std::vector<std::byte> SequenceHead(std::uint32_t Sequence)
{
	std::vector<std::byte> Head(4);
	std::memcpy(Head.data(), &Sequence, 4);
	return Head;
}

std::uint32_t SequenceOf(const std::vector<std::byte>& Message)
{
	std::uint32_t Sequence = 0xFFFFFFFFu;
	if (Message.size() >= 4)
	{
		std::memcpy(&Sequence, Message.data(), 4);
	}
	return Sequence;
}

/** Peeks and reads exactly one message, as the link does. */
PipeResult ReadOne(MessagePipeReader& Reader, std::vector<std::byte>& Out)
{
	std::uint32_t Size = 0;
	const PipeResult Peeked = Reader.Peek(Size);
	if (Peeked != PipeResult::Ok)
	{
		return Peeked;
	}
	Out.assign(Size, std::byte{0});
	std::uint32_t Read = 0;
	const PipeResult Result = Reader.Read(Out.data(), Size, Read);
	EXPECT_EQ(Read, Size);
	return Result;
}

struct ConnectedPipe
{
	MessagePipeWriter Writer;
	MessagePipeReader Reader;
};

void Connect(const std::wstring& Name, ConnectedPipe& Pipe, const PipeWriterOptions& Options = {})
{
	ASSERT_EQ(MessagePipeWriter::Create(Name, Pipe.Writer, Options), OpenResult::Ok);
	ASSERT_EQ(MessagePipeReader::Open(Name, Pipe.Reader), OpenResult::Ok);
}

TEST_F(MessagePipeTest, NameIsSingleInstanceAndRefusesWritesUntilAReaderConnects)
{
	const std::wstring Name = UniquePipeName(L"Pipe");
	MessagePipeReader Missing;
	EXPECT_EQ(MessagePipeReader::Open(Name, Missing), OpenResult::NotFound);

	MessagePipeWriter sut;
	ASSERT_EQ(MessagePipeWriter::Create(Name, sut), OpenResult::Ok);
	MessagePipeWriter Second;
	EXPECT_EQ(MessagePipeWriter::Create(Name, Second), OpenResult::AlreadyExists);
	EXPECT_FALSE(Second.IsValid());

	const std::vector<std::byte> Body = Pattern(8, 1);
	EXPECT_EQ(sut.Write({}, Body), WriteResult::Refused) << "nobody connected yet";

	MessagePipeReader Reader;
	ASSERT_EQ(MessagePipeReader::Open(Name, Reader), OpenResult::Ok);
	std::uint32_t Size = 99;
	EXPECT_EQ(Reader.Peek(Size), PipeResult::Empty);
	EXPECT_EQ(sut.Write({}, {}), WriteResult::Refused) << "an empty message is never sent";
	EXPECT_EQ(sut.Write({}, Body), WriteResult::Completed);
	ASSERT_EQ(Reader.Peek(Size), PipeResult::Ok);
	EXPECT_EQ(Size, 8u);

	Reader.Close();
	EXPECT_TRUE(WaitUntil([&] { return sut.Write({}, Body) == WriteResult::Refused; }, 2000)) << "the reader has left";
}

TEST_F(MessagePipeTest, MessagesFromOneByteToSeventyKilobytesKeepBoundariesAndOrder)
{
	ConnectedPipe Pipe;
	Connect(UniquePipeName(L"Pipe"), Pipe);
	const std::size_t Sizes[] = {1, 2, 3, 4, 5, 100, 4095, 4096, 65535, 65536, 70000, 1, 70 * 1024};

	std::uint32_t Sequence = 0;
	for (const std::size_t Size : Sizes)
	{
		const std::vector<std::byte> Body = Pattern(Size >= 4 ? Size - 4 : Size, Sequence);
		const std::vector<std::byte> Head = Size >= 4 ? SequenceHead(Sequence) : std::vector<std::byte>();
		const WriteResult Result = Pipe.Writer.Write(Head, Body);
		EXPECT_TRUE(Result == WriteResult::Completed || Result == WriteResult::Pending) << ToString(Result);
		++Sequence;
	}

	std::vector<std::vector<std::byte>> Received;
	ASSERT_TRUE(WaitUntil([&] {
		Pipe.Writer.Reclaim();
		std::vector<std::byte> Message;
		while (ReadOne(Pipe.Reader, Message) == PipeResult::Ok)
		{
			Received.push_back(Message);
		}
		return Received.size() >= std::size(Sizes);
	}));
	ASSERT_EQ(Received.size(), std::size(Sizes));
	for (std::uint32_t Index = 0; Index < std::size(Sizes); ++Index)
	{
		const std::size_t Size = Sizes[Index];
		ASSERT_EQ(Received[Index].size(), Size) << "message " << Index;
		const std::vector<std::byte> Body = Pattern(Size >= 4 ? Size - 4 : Size, Index);
		if (Size >= 4)
		{
			EXPECT_EQ(SequenceOf(Received[Index]), Index);
			EXPECT_TRUE(std::equal(Body.begin(), Body.end(), Received[Index].begin() + 4)) << "message " << Index;
		}
		else
		{
			EXPECT_EQ(std::memcmp(Received[Index].data(), Body.data(), Size), 0) << "message " << Index;
		}
	}
	std::uint32_t Size = 0;
	EXPECT_EQ(Pipe.Reader.Peek(Size), PipeResult::Empty);
	EXPECT_TRUE(WaitUntil([&] {
		Pipe.Writer.Reclaim();
		return Pipe.Writer.PendingWrites() == 0 && Pipe.Writer.PendingBytes() == 0;
	}));
}

TEST_F(MessagePipeTest, ShortReadsTakeAMessageInPiecesWithoutTouchingTheNextOne)
{
	ConnectedPipe Pipe;
	Connect(UniquePipeName(L"Pipe"), Pipe);
	const std::vector<std::byte> First = Pattern(10, 1);
	const std::vector<std::byte> Second = Pattern(3, 2);
	ASSERT_EQ(Pipe.Writer.Write({}, First), WriteResult::Completed);
	ASSERT_EQ(Pipe.Writer.Write({}, Second), WriteResult::Completed);

	std::byte Buffer[10] = {};
	std::uint32_t Read = 0;
	std::uint32_t Left = 0;
	ASSERT_EQ(Pipe.Reader.Peek(Left), PipeResult::Ok);
	EXPECT_EQ(Left, 10u);
	EXPECT_EQ(Pipe.Reader.Read(Buffer, 4, Read), PipeResult::MoreData);
	EXPECT_EQ(Read, 4u);
	ASSERT_EQ(Pipe.Reader.Peek(Left), PipeResult::Ok);
	EXPECT_EQ(Left, 6u) << "the peek reports what is left of the message";
	EXPECT_EQ(Pipe.Reader.Read(Buffer + 4, 4, Read), PipeResult::MoreData);
	EXPECT_EQ(Pipe.Reader.Read(Buffer + 8, 8, Read), PipeResult::Ok);
	EXPECT_EQ(Read, 2u) << "a read never runs into the next message";
	EXPECT_EQ(std::memcmp(Buffer, First.data(), 10), 0);

	std::vector<std::byte> Message;
	ASSERT_EQ(ReadOne(Pipe.Reader, Message), PipeResult::Ok);
	EXPECT_EQ(Message, Second);
}

TEST_F(MessagePipeTest, ReaderGetsEverythingWrittenBeforeTheWriterLeftThenBroken)
{
	ConnectedPipe Pipe;
	Connect(UniquePipeName(L"Pipe"), Pipe);
	for (std::uint32_t Sequence = 0; Sequence < 3; ++Sequence)
	{
		ASSERT_EQ(Pipe.Writer.Write(SequenceHead(Sequence), Pattern(100, Sequence)), WriteResult::Completed);
	}
	Pipe.Writer.Close();
	EXPECT_FALSE(Pipe.Writer.IsValid());
	EXPECT_EQ(Pipe.Writer.Write(SequenceHead(9), {}), WriteResult::Refused);

	std::vector<std::byte> Message;
	for (std::uint32_t Sequence = 0; Sequence < 3; ++Sequence)
	{
		ASSERT_EQ(ReadOne(Pipe.Reader, Message), PipeResult::Ok);
		EXPECT_EQ(SequenceOf(Message), Sequence);
	}
	EXPECT_EQ(ReadOne(Pipe.Reader, Message), PipeResult::Broken);
	std::uint32_t Read = 0;
	EXPECT_EQ(Pipe.Reader.Read(Message.data(), 1, Read), PipeResult::Broken);
}

/** Writes 4 KiB messages to a reader that does not read until the writer saturates. */
struct FillOutcome
{
	std::uint32_t Accepted = 0; ///< Completed or Pending, numbered from 0
	std::uint32_t Completed = 0;
	std::uint32_t Pending = 0;
	bool bSaturated = false;
	bool bOrdered = true; ///< Completed*, Pending+, Saturated
};

FillOutcome FillUntilSaturated(MessagePipeWriter& Writer)
{
	FillOutcome Outcome;
	const std::vector<std::byte> Body = Pattern(4092, 0);
	for (int Attempt = 0; Attempt < 5000 && !Outcome.bSaturated; ++Attempt)
	{
		switch (Writer.Write(SequenceHead(Outcome.Accepted), Body))
		{
		case WriteResult::Completed:
			Outcome.bOrdered = Outcome.bOrdered && Outcome.Pending == 0;
			++Outcome.Completed;
			++Outcome.Accepted;
			break;
		case WriteResult::Pending:
			++Outcome.Pending;
			++Outcome.Accepted;
			break;
		case WriteResult::Saturated:
			Outcome.bSaturated = true;
			break;
		default:
			Outcome.bOrdered = false;
			return Outcome;
		}
	}
	return Outcome;
}

void DrainInOrder(ConnectedPipe& Pipe, std::uint32_t Expected)
{
	std::uint32_t Next = 0;
	std::vector<std::byte> Message;
	EXPECT_TRUE(WaitUntil(
	    [&] {
		    Pipe.Writer.Reclaim();
		    while (ReadOne(Pipe.Reader, Message) == PipeResult::Ok)
		    {
			    EXPECT_EQ(Message.size(), 4096u);
			    EXPECT_EQ(SequenceOf(Message), Next);
			    ++Next;
		    }
		    return Next >= Expected;
	    },
	    20000));
	EXPECT_EQ(Next, Expected);
	EXPECT_TRUE(WaitUntil([&] {
		Pipe.Writer.Reclaim();
		return Pipe.Writer.PendingWrites() == 0;
	}));
	EXPECT_EQ(Pipe.Writer.PendingBytes(), 0u);
}

TEST_F(MessagePipeTest, StalledReaderMakesWritesPendThenSaturateAtTheCountBoundWithoutBlocking)
{
	ConnectedPipe Pipe;
	Connect(UniquePipeName(L"Pipe"), Pipe, PipeWriterOptions{.MaxPendingWrites = 8, .MaxPendingBytes = std::size_t{1} << 20});

	const auto Start = std::chrono::steady_clock::now();
	const FillOutcome Outcome = FillUntilSaturated(Pipe.Writer);
	EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(10));
	ASSERT_TRUE(Outcome.bSaturated);
	EXPECT_TRUE(Outcome.bOrdered);
	EXPECT_GT(Outcome.Completed, 0u);
	EXPECT_EQ(Outcome.Pending, 8u);
	EXPECT_EQ(Pipe.Writer.PendingWrites(), 8u);
	EXPECT_EQ(Pipe.Writer.PendingBytes(), 8u * 4096u);

	DrainInOrder(Pipe, Outcome.Accepted);
	const std::vector<std::byte> Body = Pattern(4092, 0);
	EXPECT_EQ(Pipe.Writer.Write(SequenceHead(Outcome.Accepted), Body), WriteResult::Completed) << "room again";
}

TEST_F(MessagePipeTest, StalledReaderMakesWritesSaturateAtTheByteBound)
{
	ConnectedPipe Pipe;
	Connect(UniquePipeName(L"Pipe"), Pipe, PipeWriterOptions{.MaxPendingWrites = 1000, .MaxPendingBytes = 3 * 4096 + 100});

	const FillOutcome Outcome = FillUntilSaturated(Pipe.Writer);
	ASSERT_TRUE(Outcome.bSaturated);
	EXPECT_TRUE(Outcome.bOrdered);
	EXPECT_EQ(Outcome.Pending, 3u);
	EXPECT_LE(Pipe.Writer.PendingBytes(), 3u * 4096u + 100u);
	DrainInOrder(Pipe, Outcome.Accepted);
}

TEST_F(MessagePipeTest, CloseWithPendingWritesReturnsPromptlyAndKeepsWhatWasDelivered)
{
	ConnectedPipe Pipe;
	Connect(UniquePipeName(L"Pipe"), Pipe, PipeWriterOptions{.MaxPendingWrites = 16});
	const FillOutcome Outcome = FillUntilSaturated(Pipe.Writer);
	ASSERT_TRUE(Outcome.bSaturated);
	ASSERT_GT(Pipe.Writer.PendingWrites(), 0u);

	const auto Start = std::chrono::steady_clock::now();
	Pipe.Writer.Close();
	EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(3));
	EXPECT_EQ(Pipe.Writer.PendingWrites(), 0u);

	// Completed writes arrive in order; cancelled ones may or may not; then the stream ends.
	std::uint32_t Next = 0;
	std::vector<std::byte> Message;
	PipeResult Result = PipeResult::Ok;
	ASSERT_TRUE(WaitUntil([&] {
		while ((Result = ReadOne(Pipe.Reader, Message)) == PipeResult::Ok)
		{
			EXPECT_EQ(SequenceOf(Message), Next);
			++Next;
		}
		return Result == PipeResult::Broken;
	}));
	EXPECT_GE(Next, Outcome.Completed);
	EXPECT_LE(Next, Outcome.Accepted);
}

TEST_F(MessagePipeTest, MovedEndsKeepWorking)
{
	const std::wstring Name = UniquePipeName(L"Pipe");
	ConnectedPipe Pipe;
	Connect(Name, Pipe);
	MessagePipeWriter Writer(std::move(Pipe.Writer));
	MessagePipeReader Reader;
	Reader = std::move(Pipe.Reader);
	EXPECT_FALSE(Pipe.Writer.IsValid());
	EXPECT_FALSE(Pipe.Reader.IsValid());
	std::uint32_t Size = 0;
	EXPECT_EQ(Pipe.Reader.Peek(Size), PipeResult::Failed);

	ASSERT_EQ(Writer.Write(SequenceHead(5), {}), WriteResult::Completed);
	std::vector<std::byte> Message;
	ASSERT_EQ(ReadOne(Reader, Message), PipeResult::Ok);
	EXPECT_EQ(SequenceOf(Message), 5u);
}

} // namespace
} // namespace Korvat::UE4::Platform::Test
