// The engine's build compiles every source of the module on every platform; this backend is for Windows only.
#if defined(_WIN32)
#include "MessagePipe.h"

#include "Os_Win32.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace Korvat::UE4::Platform
{

namespace
{

constexpr DWORD PipeOpenMode = PIPE_ACCESS_OUTBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED;
constexpr DWORD PipeMode = PIPE_TYPE_MESSAGE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS;
static_assert(PipeOpenMode == 0x40080002 && PipeMode == 0x0000000C);

/** Records kept for reuse, so a steady stream of writes does not allocate. */
constexpr std::size_t MaxSpareRecords = 16;

/**
 * How long Close waits for cancelled writes to let go of their buffers, measured on the tick count: a
 * Sleep(1) lasts a whole timer tick (up to about 16 ms), so counting sleeps would wait far longer.
 */
constexpr ULONGLONG CloseWaitMs = 2000;

/**
 * One write in flight. The system uses both the OVERLAPPED record and the buffer until the write
 * completes, so each write has its own and neither moves or is reused before then.
 */
struct WriteRecord
{
	OVERLAPPED Overlapped{};
	std::unique_ptr<std::byte[]> Buffer;
	std::size_t Capacity = 0;
	std::size_t Size = 0;
};

bool IsComplete(const WriteRecord& Record) noexcept
{
	return HasOverlappedIoCompleted(&Record.Overlapped);
}

} // namespace

struct MessagePipeWriter::FState
{
	HANDLE Pipe = INVALID_HANDLE_VALUE;
	PipeWriterOptions Options;
	std::vector<std::unique_ptr<WriteRecord>> InFlight; ///< In the order issued.
	std::vector<std::unique_ptr<WriteRecord>> Spare;
	std::size_t InFlightBytes = 0;

	~FState()
	{
		if (!InFlight.empty())
		{
			::CancelIoEx(Pipe, nullptr);
			const ULONGLONG Deadline = ::GetTickCount64() + CloseWaitMs;
			ReclaimCompleted();
			while (!InFlight.empty() && ::GetTickCount64() < Deadline)
			{
				::Sleep(1);
				ReclaimCompleted();
			}
			// A write the system still holds after all that keeps its memory: freeing it would let the
			// system touch freed memory. Leaked on purpose.
			for (std::unique_ptr<WriteRecord>& Record : InFlight)
			{
				static_cast<void>(Record.release());
			}
		}
		if (Pipe != INVALID_HANDLE_VALUE)
		{
			::CloseHandle(Pipe);
		}
	}

	void Recycle(std::unique_ptr<WriteRecord> Record) noexcept
	{
		if (Spare.size() < MaxSpareRecords)
		{
			Spare.push_back(std::move(Record));
		}
	}

	void ReclaimCompleted() noexcept
	{
		std::size_t Kept = 0;
		for (std::size_t Index = 0; Index < InFlight.size(); ++Index)
		{
			if (IsComplete(*InFlight[Index]))
			{
				InFlightBytes -= InFlight[Index]->Size;
				Recycle(std::move(InFlight[Index]));
			}
			else
			{
				InFlight[Kept++] = std::move(InFlight[Index]);
			}
		}
		InFlight.resize(Kept);
	}

	std::unique_ptr<WriteRecord> TakeRecord(std::size_t Size) noexcept
	{
		std::unique_ptr<WriteRecord> Record;
		if (!Spare.empty())
		{
			Record = std::move(Spare.back());
			Spare.pop_back();
		}
		else
		{
			Record.reset(new (std::nothrow) WriteRecord());
			if (!Record)
			{
				return Record;
			}
		}
		if (Record->Capacity < Size)
		{
			Record->Buffer.reset(new (std::nothrow) std::byte[Size]);
			Record->Capacity = Record->Buffer ? Size : 0;
			if (!Record->Buffer)
			{
				Record.reset();
			}
		}
		return Record;
	}
};

MessagePipeWriter::MessagePipeWriter() noexcept = default;
MessagePipeWriter::MessagePipeWriter(MessagePipeWriter&& Other) noexcept = default;
MessagePipeWriter& MessagePipeWriter::operator=(MessagePipeWriter&& Other) noexcept = default;
MessagePipeWriter::~MessagePipeWriter() = default;

OpenResult MessagePipeWriter::Create(std::wstring_view Name, MessagePipeWriter& Out, const PipeWriterOptions& Options) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	auto NewState = std::unique_ptr<FState>(new (std::nothrow) FState());
	if (!NewState)
	{
		return OpenResult::Failed;
	}
	NewState->Pipe = ::CreateNamedPipeW(Terminated.Get(), PipeOpenMode, PipeMode, 1, Options.BufferBytes, 0, 1000, nullptr);
	if (NewState->Pipe == INVALID_HANDLE_VALUE)
	{
		const DWORD Error = ::GetLastError();
		// The first-instance flag refuses a name that is taken: access denied on Windows, busy under Wine.
		return (Error == ERROR_ACCESS_DENIED || Error == ERROR_PIPE_BUSY) ? OpenResult::AlreadyExists
		                                                                  : Win32::ToOpenResult(Error);
	}
	NewState->Options = Options;
	Out.State = std::move(NewState);
	return OpenResult::Ok;
}

WriteResult MessagePipeWriter::Write(std::span<const std::byte> Head, std::span<const std::byte> Body) noexcept
{
	const std::size_t Size = Head.size() + Body.size();
	if (!State || Size == 0 || Size > MAXDWORD)
	{
		return WriteResult::Refused;
	}
	State->ReclaimCompleted();
	// Whether a write stays pending is known only after issuing it, so the bounds count it in advance.
	if (State->InFlight.size() >= State->Options.MaxPendingWrites || State->InFlightBytes + Size > State->Options.MaxPendingBytes)
	{
		return WriteResult::Saturated;
	}
	std::unique_ptr<WriteRecord> Record = State->TakeRecord(Size);
	if (!Record)
	{
		return WriteResult::Refused;
	}
	if (!Head.empty())
	{
		std::memcpy(Record->Buffer.get(), Head.data(), Head.size());
	}
	if (!Body.empty())
	{
		std::memcpy(Record->Buffer.get() + Head.size(), Body.data(), Body.size());
	}
	Record->Size = Size;
	Record->Overlapped = OVERLAPPED{};
	Record->Overlapped.Offset = 0xFFFFFFFFu; // append; a pipe ignores the position
	Record->Overlapped.OffsetHigh = 0xFFFFFFFFu;
	Record->Overlapped.hEvent = nullptr;

	if (::WriteFile(State->Pipe, Record->Buffer.get(), static_cast<DWORD>(Size), nullptr, &Record->Overlapped))
	{
		State->Recycle(std::move(Record));
		return WriteResult::Completed;
	}
	if (::GetLastError() == ERROR_IO_PENDING)
	{
		State->InFlightBytes += Size;
		State->InFlight.push_back(std::move(Record));
		return WriteResult::Pending;
	}
	// ERROR_PIPE_LISTENING before the reader connects, ERROR_NO_DATA after it left, and any other error.
	State->Recycle(std::move(Record));
	return WriteResult::Refused;
}

void MessagePipeWriter::Reclaim() noexcept
{
	if (State)
	{
		State->ReclaimCompleted();
	}
}

std::uint32_t MessagePipeWriter::PendingWrites() const noexcept
{
	return State ? static_cast<std::uint32_t>(State->InFlight.size()) : 0;
}

std::size_t MessagePipeWriter::PendingBytes() const noexcept
{
	return State ? State->InFlightBytes : 0;
}


void MessagePipeWriter::Close() noexcept
{
	State.reset(); // cancels and waits out pending writes, then closes the pipe
}

OpenResult MessagePipeReader::Open(std::wstring_view Name, MessagePipeReader& Out) noexcept
{
	const Win32::TerminatedName Terminated(Name);
	if (!Terminated.IsValid())
	{
		return OpenResult::Failed;
	}
	const HANDLE Pipe = ::CreateFileW(Terminated.Get(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
	if (Pipe == INVALID_HANDLE_VALUE)
	{
		return Win32::ToOpenResult(::GetLastError());
	}
	Out.Close();
	Out.Native = Win32::FromHandle(Pipe);
	return OpenResult::Ok;
}

PipeResult MessagePipeReader::Peek(std::uint32_t& MessageSizeOut) noexcept
{
	MessageSizeOut = 0;
	if (Native == -1)
	{
		return PipeResult::Failed;
	}
	if (!bMessagePeeked)
	{
		DWORD Available = 0;
		DWORD LeftInMessage = 0;
		if (!::PeekNamedPipe(Win32::ToHandle(Native), nullptr, 0, nullptr, &Available, &LeftInMessage))
		{
			return ::GetLastError() == ERROR_BROKEN_PIPE ? PipeResult::Broken : PipeResult::Failed;
		}
		if (Available == 0)
		{
			return PipeResult::Empty;
		}
		// An empty message shows as bytes available with none left in the current message; it is still a
		// message, and only a read of 0 bytes takes it out of the way of those behind it.
		MessageSize = LeftInMessage;
		MessageOffset = 0;
		bMessagePeeked = true;
	}
	MessageSizeOut = MessageSize - MessageOffset;
	return PipeResult::Ok;
}

PipeResult MessagePipeReader::Read(void* Buffer, std::uint32_t Size, std::uint32_t& BytesRead) noexcept
{
	BytesRead = 0;
	std::uint32_t Left = 0;
	if (const PipeResult Peeked = Peek(Left); Peeked != PipeResult::Ok)
	{
		return Peeked;
	}
	if (Buffer == nullptr && Size > 0)
	{
		return PipeResult::Failed;
	}
	// The handle reads in byte mode: asking for more than the message holds would run into the next one.
	const DWORD Take = std::min(Size, Left);
	if (Take == 0 && Left > 0)
	{
		return PipeResult::MoreData;
	}
	DWORD Got = 0;
	if (!::ReadFile(Win32::ToHandle(Native), Buffer, Take, &Got, nullptr))
	{
		const DWORD Error = ::GetLastError();
		if (Error != ERROR_MORE_DATA)
		{
			bMessagePeeked = false;
			return Error == ERROR_BROKEN_PIPE ? PipeResult::Broken : PipeResult::Failed;
		}
	}
	BytesRead = Got;
	MessageOffset += std::min<std::uint32_t>(Got, Left);
	if (MessageOffset < MessageSize)
	{
		return PipeResult::MoreData;
	}
	bMessagePeeked = false;
	return PipeResult::Ok;
}


void MessagePipeReader::Close() noexcept
{
	Win32::CloseNative(Native);
	MessageSize = 0;
	MessageOffset = 0;
	bMessagePeeked = false;
}

} // namespace Korvat::UE4::Platform

#endif // defined(_WIN32)
