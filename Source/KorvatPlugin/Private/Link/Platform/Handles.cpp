// The ownership of the handles of the platform layer, the same for every backend: moving hands the
// system object over and leaves the source closed, destruction closes.
#include "MessagePipe.h"
#include "NamedEvent.h"
#include "NamedMutex.h"
#include "SharedMemory.h"

#include <utility>

namespace Korvat::UE4::Platform
{

SharedMemory::SharedMemory(SharedMemory&& Other) noexcept
    : Native(std::exchange(Other.Native, -1)), NativeSize(std::exchange(Other.NativeSize, 0))
{
}

SharedMemory& SharedMemory::operator=(SharedMemory&& Other) noexcept
{
	if (this != &Other)
	{
		Close();
		Native = std::exchange(Other.Native, -1);
		NativeSize = std::exchange(Other.NativeSize, 0);
	}
	return *this;
}

SharedMemory::~SharedMemory()
{
	Close();
}

NamedMutex::NamedMutex(NamedMutex&& Other) noexcept
    : Native(std::exchange(Other.Native, -1)), Block(std::exchange(Other.Block, nullptr)),
      bLockedThroughBlock(std::exchange(Other.bLockedThroughBlock, false))
{
}

NamedMutex& NamedMutex::operator=(NamedMutex&& Other) noexcept
{
	if (this != &Other)
	{
		Close();
		Native = std::exchange(Other.Native, -1);
		Block = std::exchange(Other.Block, nullptr);
		bLockedThroughBlock = std::exchange(Other.bLockedThroughBlock, false);
	}
	return *this;
}

NamedMutex::~NamedMutex()
{
	Close();
}

NamedEvent::NamedEvent(NamedEvent&& Other) noexcept
    : Native(std::exchange(Other.Native, -1)), Block(std::exchange(Other.Block, nullptr))
{
}

NamedEvent& NamedEvent::operator=(NamedEvent&& Other) noexcept
{
	if (this != &Other)
	{
		Close();
		Native = std::exchange(Other.Native, -1);
		Block = std::exchange(Other.Block, nullptr);
	}
	return *this;
}

NamedEvent::~NamedEvent()
{
	Close();
}

MessagePipeReader::MessagePipeReader(MessagePipeReader&& Other) noexcept
    : Native(std::exchange(Other.Native, -1)), MessageSize(std::exchange(Other.MessageSize, 0)),
      MessageOffset(std::exchange(Other.MessageOffset, 0)), bMessagePeeked(std::exchange(Other.bMessagePeeked, false))
{
}

MessagePipeReader& MessagePipeReader::operator=(MessagePipeReader&& Other) noexcept
{
	if (this != &Other)
	{
		Close();
		Native = std::exchange(Other.Native, -1);
		MessageSize = std::exchange(Other.MessageSize, 0);
		MessageOffset = std::exchange(Other.MessageOffset, 0);
		bMessagePeeked = std::exchange(Other.bMessagePeeked, false);
	}
	return *this;
}

MessagePipeReader::~MessagePipeReader()
{
	Close();
}

} // namespace Korvat::UE4::Platform
