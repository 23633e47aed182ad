// Message pipes: one end writes whole messages, the other peeks and reads them one by one.
#pragma once

#include "PlatformTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace Korvat::UE4::Platform
{

/**
 * The system's room for a pipe's unread messages, and bounds on what a writer may hold undelivered beyond it, so
 * a reader that stops reading costs bounded memory.
 */
struct PipeWriterOptions
{
	std::uint32_t MaxPendingWrites = 1024;
	std::size_t MaxPendingBytes = std::size_t{8} << 20;
	/**
	 * Room the system keeps for written messages the reader has not taken yet: the pipe's out buffer on
	 * Windows, the socket's send buffer elsewhere (where the kernel may cap it). Writes beyond it pend.
	 */
	std::uint32_t BufferBytes = 65536;
};

/**
 * The creating (server) end of a message pipe, used for writing. Created with PIPE_ACCESS_OUTBOUND,
 * FILE_FLAG_FIRST_PIPE_INSTANCE and FILE_FLAG_OVERLAPPED (0x40080002), pipe mode PIPE_TYPE_MESSAGE,
 * PIPE_READMODE_BYTE, PIPE_WAIT and PIPE_REJECT_REMOTE_CLIENTS (0x0C), one instance, BufferBytes out
 * (65536 unless the options say otherwise), 0 in, 1000 ms default time-out. The reader connects by opening
 * the pipe by name.
 *
 * Writes never block: a write that cannot complete at once keeps its own copy of the message (and, on
 * Windows, its own OVERLAPPED record) until it completes; completed writes are reclaimed on later
 * calls, and Close cancels and waits out whatever is still pending.
 */
class MessagePipeWriter
{
public:
	MessagePipeWriter() noexcept;
	MessagePipeWriter(MessagePipeWriter&& Other) noexcept;
	MessagePipeWriter& operator=(MessagePipeWriter&& Other) noexcept;
	MessagePipeWriter(const MessagePipeWriter&) = delete;
	MessagePipeWriter& operator=(const MessagePipeWriter&) = delete;
	~MessagePipeWriter();

	/** Creates the pipe; AlreadyExists when a pipe of that name exists (first-instance flag). */
	static OpenResult Create(std::wstring_view Name, MessagePipeWriter& Out, const PipeWriterOptions& Options = {}) noexcept;

	/**
	 * Writes Head followed by Body as one message. Completed or Pending count as sent; Refused when the
	 * pipe refuses (no reader connected yet, reader gone), Saturated when the bounds of the options are
	 * reached. Never sends an empty message (an empty Head and Body is Refused).
	 */
	WriteResult Write(std::span<const std::byte> Head, std::span<const std::byte> Body) noexcept;

	/** Reclaims completed writes and pushes queued ones on; cheap when nothing is pending. */
	void Reclaim() noexcept;

	std::uint32_t PendingWrites() const noexcept;
	std::size_t PendingBytes() const noexcept;

	bool IsValid() const noexcept { return State != nullptr; }

	/** Cancels pending writes, waits until the system no longer uses their buffers, frees them and closes. */
	void Close() noexcept;

private:
	struct FState;
	std::unique_ptr<FState> State;
};

/**
 * The opening (client) end of a message pipe, used for reading (CreateFileW with GENERIC_READ, no sharing,
 * OPEN_EXISTING, no flags: a synchronous handle in byte-read mode). Read exactly the size that Peek reports
 * to take one message.
 */
class MessagePipeReader
{
public:
	MessagePipeReader() noexcept = default;
	MessagePipeReader(MessagePipeReader&& Other) noexcept;
	MessagePipeReader& operator=(MessagePipeReader&& Other) noexcept;
	MessagePipeReader(const MessagePipeReader&) = delete;
	MessagePipeReader& operator=(const MessagePipeReader&) = delete;
	~MessagePipeReader();

	static OpenResult Open(std::wstring_view Name, MessagePipeReader& Out) noexcept;

	/**
	 * Ok when a message waits, with its size in MessageSize (0 for an empty message, which a Read of 0
	 * bytes consumes); Empty when nothing waits; Broken once the writer is gone and everything it wrote
	 * has been read. Never blocks.
	 */
	PipeResult Peek(std::uint32_t& MessageSize) noexcept;

	/**
	 * Reads up to Size bytes of the waiting message. Ok when the message ended within Size bytes,
	 * MoreData when bytes of it remain. Call only after Peek reported a message: never blocks then.
	 */
	PipeResult Read(void* Buffer, std::uint32_t Size, std::uint32_t& BytesRead) noexcept;

	bool IsValid() const noexcept { return Native != -1; }
	void Close() noexcept;

private:
	std::intptr_t Native = -1; ///< HANDLE on Windows, socket elsewhere; -1 when closed.
	std::uint32_t MessageSize = 0;   ///< Size of the message that Peek found, while bMessagePeeked.
	std::uint32_t MessageOffset = 0; ///< Bytes of that message already handed out by Read.
	bool bMessagePeeked = false;     ///< A message was peeked and is not yet fully read.
};

} // namespace Korvat::UE4::Platform
