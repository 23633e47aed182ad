// Message pipes as AF_UNIX SOCK_SEQPACKET sockets in the abstract namespace: the kernel keeps message
// boundaries, a peek tells the size of the next message, and the name vanishes with the writer, so no
// stale files are left behind by a crash.
// The engine's build compiles every source of the module on every platform; this backend is for POSIX only.
#if !defined(_WIN32)
#include "MessagePipe.h"

#include "Os_Posix.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace Korvat::UE4::Platform
{

namespace
{

bool StartsWithPipePrefix(std::wstring_view Name) noexcept
{
	constexpr std::wstring_view Prefix = L"\\\\.\\pipe\\";
	if (Name.size() < Prefix.size())
	{
		return false;
	}
	for (std::size_t Index = 0; Index < Prefix.size(); ++Index)
	{
		const wchar_t Char = Name[Index];
		const wchar_t Lower = (Char >= L'A' && Char <= L'Z') ? static_cast<wchar_t>(Char - L'A' + L'a') : Char;
		if (Lower != Prefix[Index])
		{
			return false;
		}
	}
	return true;
}

/**
 * The abstract socket address of a pipe name. Pipe names are case-insensitive on Windows, so the name is
 * lower-cased; the root folder's name goes in front so that separate object namespaces (one per test)
 * keep separate pipes too.
 */
socklen_t MakeAddress(std::wstring_view Name, sockaddr_un& Address)
{
	if (StartsWithPipePrefix(Name))
	{
		Name.remove_prefix(9);
	}
	std::wstring Lower(Name);
	for (wchar_t& Char : Lower)
	{
		if (Char >= L'A' && Char <= L'Z')
		{
			Char = static_cast<wchar_t>(Char - L'A' + L'a');
		}
	}
	const std::string Root = Posix::IpcRoot();
	const std::string Prefix = Root.substr(Root.find_last_of('/') + 1) + "/";
	constexpr std::size_t Room = sizeof(Address.sun_path) - 1; // sun_path[0] stays 0: abstract
	std::string Path = Prefix + Posix::EncodeName(Lower, Room > Prefix.size() + 32 ? Room - Prefix.size() : 32);
	Path.resize(std::min(Path.size(), Room));

	std::memset(&Address, 0, sizeof(Address));
	Address.sun_family = AF_UNIX;
	std::memcpy(Address.sun_path + 1, Path.data(), Path.size());
	return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + Path.size());
}

/** The abstract namespace has no permissions: talk only to processes of this user. */
bool IsPeerOfThisUser(int Fd) noexcept
{
	ucred Credentials{};
	socklen_t Length = sizeof(Credentials);
	return ::getsockopt(Fd, SOL_SOCKET, SO_PEERCRED, &Credentials, &Length) == 0 && Credentials.uid == ::getuid();
}

bool IsPeerGone(int Error) noexcept
{
	return Error == EPIPE || Error == ECONNRESET || Error == ENOTCONN;
}

} // namespace

struct MessagePipeWriter::FState
{
	int ListenFd = -1;
	int Fd = -1;
	PipeWriterOptions Options;
	/** Messages the socket could not take yet, oldest first; they go out before anything newer. */
	std::deque<std::vector<std::byte>> Outbox;
	std::size_t OutboxBytes = 0;

	~FState()
	{
		Posix::CloseDescriptor(ListenFd);
		Posix::CloseDescriptor(Fd);
	}

	/** Accepts the reader on first use and closes the listener then: the pipe has one instance. */
	bool Connect() noexcept
	{
		if (Fd >= 0)
		{
			return true;
		}
		while (ListenFd >= 0)
		{
			const int Accepted =
			    Posix::RetryOnInterrupt([&] { return ::accept4(ListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC); });
			if (Accepted < 0)
			{
				return false;
			}
			if (!IsPeerOfThisUser(Accepted))
			{
				int Rejected = Accepted;
				Posix::CloseDescriptor(Rejected);
				continue;
			}
			// SO_SNDBUF is not inherited from the listener. The kernel doubles it (for its own bookkeeping), so
			// the room for messages matches the out buffer of the Windows pipe.
			const int SendBufferBytes = static_cast<int>(std::min<std::uint32_t>(Options.BufferBytes, 1u << 30));
			::setsockopt(Accepted, SOL_SOCKET, SO_SNDBUF, &SendBufferBytes, sizeof(SendBufferBytes));
			Fd = Accepted;
			Posix::CloseDescriptor(ListenFd);
			return true;
		}
		return false;
	}

	/** Sends one message whole or not at all; returns 0 or the errno of the failure. */
	int Send(std::span<const std::byte> Head, std::span<const std::byte> Body) noexcept
	{
		iovec Parts[2] = {{const_cast<std::byte*>(Head.data()), Head.size()}, {const_cast<std::byte*>(Body.data()), Body.size()}};
		msghdr Message{};
		Message.msg_iov = Parts;
		Message.msg_iovlen = 2;
		const std::size_t Size = Head.size() + Body.size();
		for (int Attempt = 0; Attempt < 2; ++Attempt)
		{
			if (Posix::RetryOnInterrupt([&] { return ::sendmsg(Fd, &Message, MSG_NOSIGNAL | MSG_DONTWAIT); }) >= 0)
			{
				return 0; // a SEQPACKET send is never partial
			}
			if (errno != EMSGSIZE || Attempt > 0 || Size > (std::size_t{1} << 30))
			{
				break;
			}
			// Larger than the send buffer can ever hold: widen it once (the kernel may cap it).
			const int Wanted = static_cast<int>(Size + 4096);
			::setsockopt(Fd, SOL_SOCKET, SO_SNDBUF, &Wanted, sizeof(Wanted));
		}
		return errno;
	}

	/** Pushes queued messages on in order; false when the reader has gone. */
	bool Flush() noexcept
	{
		while (!Outbox.empty())
		{
			const int Error = Send(Outbox.front(), {});
			if (Error == EAGAIN || Error == EWOULDBLOCK)
			{
				return true;
			}
			if (IsPeerGone(Error))
			{
				// Nobody will read them any more, as pending writes fail on Windows.
				Outbox.clear();
				OutboxBytes = 0;
				return false;
			}
			// Sent, or refused for good (a message the socket can never carry): either way it leaves.
			OutboxBytes -= Outbox.front().size();
			Outbox.pop_front();
		}
		return true;
	}

	WriteResult Enqueue(std::span<const std::byte> Head, std::span<const std::byte> Body)
	{
		const std::size_t Size = Head.size() + Body.size();
		if (Outbox.size() >= Options.MaxPendingWrites || OutboxBytes + Size > Options.MaxPendingBytes)
		{
			return WriteResult::Saturated;
		}
		std::vector<std::byte>& Copy = Outbox.emplace_back();
		Copy.reserve(Size);
		Copy.insert(Copy.end(), Head.begin(), Head.end());
		Copy.insert(Copy.end(), Body.begin(), Body.end());
		OutboxBytes += Size;
		return WriteResult::Pending;
	}
};

MessagePipeWriter::MessagePipeWriter() noexcept = default;
MessagePipeWriter::MessagePipeWriter(MessagePipeWriter&& Other) noexcept = default;
MessagePipeWriter& MessagePipeWriter::operator=(MessagePipeWriter&& Other) noexcept = default;
MessagePipeWriter::~MessagePipeWriter() = default;

OpenResult MessagePipeWriter::Create(std::wstring_view Name, MessagePipeWriter& Out, const PipeWriterOptions& Options) noexcept
{
	sockaddr_un Address;
	const socklen_t AddressLength = MakeAddress(Name, Address);
	int Fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
	if (Fd < 0)
	{
		return OpenResult::Failed;
	}
	if (::bind(Fd, reinterpret_cast<const sockaddr*>(&Address), AddressLength) != 0 || ::listen(Fd, 1) != 0)
	{
		const int Error = errno;
		Posix::CloseDescriptor(Fd);
		return Error == EADDRINUSE ? OpenResult::AlreadyExists : Posix::ToOpenResult(Error);
	}
	auto NewState = std::unique_ptr<FState>(new (std::nothrow) FState());
	if (!NewState)
	{
		Posix::CloseDescriptor(Fd);
		return OpenResult::Failed;
	}
	NewState->ListenFd = Fd;
	NewState->Options = Options;
	Out.State = std::move(NewState);
	return OpenResult::Ok;
}

WriteResult MessagePipeWriter::Write(std::span<const std::byte> Head, std::span<const std::byte> Body) noexcept
{
	// An empty SEQPACKET message reads as end of stream on the other side: never send one.
	if (!State || Head.size() + Body.size() == 0 || Head.size() + Body.size() > 0xFFFFFFFFu)
	{
		return WriteResult::Refused;
	}
	// Before a reader connects the write is refused, as ERROR_PIPE_LISTENING is on Windows.
	if (!State->Connect() || !State->Flush())
	{
		return WriteResult::Refused;
	}
	if (!State->Outbox.empty())
	{
		return State->Enqueue(Head, Body); // behind older messages, to keep the order
	}
	const int Error = State->Send(Head, Body);
	if (Error == 0)
	{
		return WriteResult::Completed;
	}
	if (Error == EAGAIN || Error == EWOULDBLOCK)
	{
		return State->Enqueue(Head, Body);
	}
	return WriteResult::Refused;
}

void MessagePipeWriter::Reclaim() noexcept
{
	if (State && State->Connect())
	{
		State->Flush();
	}
}

std::uint32_t MessagePipeWriter::PendingWrites() const noexcept
{
	// Asked once per frame: the byte count answers the common empty case without walking the queue.
	return State != nullptr && State->OutboxBytes != 0 ? static_cast<std::uint32_t>(State->Outbox.size()) : 0;
}

std::size_t MessagePipeWriter::PendingBytes() const noexcept
{
	return State ? State->OutboxBytes : 0;
}


void MessagePipeWriter::Close() noexcept
{
	// Queued messages are dropped, as Windows cancels pending writes; what was sent stays readable.
	State.reset();
}

OpenResult MessagePipeReader::Open(std::wstring_view Name, MessagePipeReader& Out) noexcept
{
	sockaddr_un Address;
	const socklen_t AddressLength = MakeAddress(Name, Address);
	int Fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
	if (Fd < 0)
	{
		return OpenResult::Failed;
	}
	// A unix-domain connect completes at once or fails; EAGAIN means another reader waits to be accepted.
	if (Posix::RetryOnInterrupt([&] { return ::connect(Fd, reinterpret_cast<const sockaddr*>(&Address), AddressLength); }) != 0)
	{
		const int Error = errno;
		Posix::CloseDescriptor(Fd);
		return Posix::ToOpenResult(Error);
	}
	if (!IsPeerOfThisUser(Fd))
	{
		Posix::CloseDescriptor(Fd);
		return OpenResult::AccessDenied;
	}
	Out.Close();
	Out.Native = Fd;
	return OpenResult::Ok;
}

PipeResult MessagePipeReader::Peek(std::uint32_t& MessageSizeOut) noexcept
{
	MessageSizeOut = 0;
	if (Native < 0)
	{
		return PipeResult::Failed;
	}
	if (!bMessagePeeked)
	{
		const ssize_t Size = Posix::RetryOnInterrupt(
		    [&] { return ::recv(static_cast<int>(Native), nullptr, 0, MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT); });
		if (Size < 0)
		{
			const int Error = errno;
			return (Error == EAGAIN || Error == EWOULDBLOCK) ? PipeResult::Empty
			       : IsPeerGone(Error)                       ? PipeResult::Broken
			                                                 : PipeResult::Failed;
		}
		// 0 is the end of the stream (the writer never sends empty messages).
		if (Size == 0 || static_cast<std::size_t>(Size) > 0xFFFFFFFFu)
		{
			return PipeResult::Broken;
		}
		MessageSize = static_cast<std::uint32_t>(Size);
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
	const int Fd = static_cast<int>(Native);
	const std::uint32_t Take = std::min(Size, Left);

	if (MessageOffset == 0 && Take == MessageSize)
	{
		const ssize_t Received = Posix::RetryOnInterrupt([&] { return ::recv(Fd, Buffer, MessageSize, MSG_DONTWAIT); });
		bMessagePeeked = false;
		if (Received != static_cast<ssize_t>(MessageSize))
		{
			return Received < 0 && IsPeerGone(errno) ? PipeResult::Broken : PipeResult::Failed;
		}
		BytesRead = Take;
		return PipeResult::Ok;
	}

	// A shorter read. A SEQPACKET receive would drop the rest of the message, so the message stays queued
	// and each read copies its part out of a peeked copy; the last part removes it. Windows reads the
	// message piece by piece the same way. The link never comes here: it reads the peeked size at once.
	if (Take > 0)
	{
		auto Copy = std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[MessageSize]);
		if (!Copy)
		{
			return PipeResult::Failed;
		}
		const ssize_t Peeked =
		    Posix::RetryOnInterrupt([&] { return ::recv(Fd, Copy.get(), MessageSize, MSG_PEEK | MSG_DONTWAIT); });
		if (Peeked != static_cast<ssize_t>(MessageSize))
		{
			bMessagePeeked = false;
			return PipeResult::Failed;
		}
		std::memcpy(Buffer, Copy.get() + MessageOffset, Take);
		MessageOffset += Take;
		BytesRead = Take;
	}
	if (MessageOffset < MessageSize)
	{
		return PipeResult::MoreData;
	}
	std::byte Discard;
	bMessagePeeked = false;
	return Posix::RetryOnInterrupt([&] { return ::recv(Fd, &Discard, sizeof(Discard), MSG_DONTWAIT); }) >= 0 ? PipeResult::Ok
	                                                                                                         : PipeResult::Failed;
}


void MessagePipeReader::Close() noexcept
{
	int Fd = static_cast<int>(Native);
	Posix::CloseDescriptor(Fd);
	Native = -1;
	MessageSize = 0;
	MessageOffset = 0;
	bMessagePeeked = false;
}

} // namespace Korvat::UE4::Platform

#endif // !defined(_WIN32)
