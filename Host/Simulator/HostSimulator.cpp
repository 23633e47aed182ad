#include "HostSimulator.h"

#include "Platform/MessagePipe.h"
#include "Platform/NamedEvent.h"
#include "Platform/NamedMutex.h"
#include "Platform/SharedMemory.h"
#include "Platform/System.h"

#include <array>
#include <cstring>

namespace Korvat::Host
{

namespace UE4 = Korvat::UE4;
namespace Platform = Korvat::UE4::Platform;

namespace
{

/** Names a second simulator on this machine would also create: its presence means a host is running already. */
constexpr const wchar_t* SimulatorLockName = L"Korvat_6_UE4_Com_V1_HostSimulatorLock";

/** Bounds one Poll's reading per connection, so a plug-in that writes without pause cannot stall the host. */
constexpr int MaxMessagesPerPoll = 4096;

} // namespace

/** The host's side of one accepted connection. */
struct FConnection
{
	GUID ConnectionId;
	std::wstring Name;
	Platform::NamedMutex ServerMonitor;
	bool bOwnsServerMonitor = false;
	Platform::NamedEvent DataSentEvent;
	Platform::MessagePipeWriter InboundPipe;
	Platform::NamedEvent SyncEvent;
	Platform::MessagePipeReader OutboundPipe;
	bool bOutboundBroken = false;
	Platform::NamedMutex ClientMonitor;
	bool bConnectedNoticed = false;

	/** Ends the host's part gracefully: gives the server monitor back before closing it. */
	void Close()
	{
		if (bOwnsServerMonitor)
		{
			(void)ServerMonitor.Release();
			bOwnsServerMonitor = false;
		}
		ServerMonitor.Close();
		DataSentEvent.Close();
		InboundPipe.Close();
		SyncEvent.Close();
		OutboundPipe.Close();
		ClientMonitor.Close();
	}
};

struct HostSimulator::FState
{
	HostSimulatorOptions Options;
	Platform::NamedMutex SimulatorLock;
	Platform::SharedMemory Mapping;
	UE4::SharedSlotTable* Table = nullptr;
	Platform::NamedMutex GlobalMutex;
	bool bRunning = false;
	int HoldDepth = 0;
	std::array<std::unique_ptr<FConnection>, UE4::SlotCount> Connections;
	/** Connection id of the request last reported per slot, so each claim is reported once. */
	std::array<GUID, UE4::SlotCount> NoticedRequests{};
	std::array<bool, UE4::SlotCount> bRequestNoticed{};
	std::vector<ReceivedMessage> Received;
	std::string LastError;

	void LockTable()
	{
		// Acquired or Abandoned (a plug-in died holding it): either way this thread owns it now.
		(void)GlobalMutex.Wait(Platform::InfiniteWait);
	}
	void UnlockTable() { (void)GlobalMutex.Release(); }

	UE4::SharedSlot& Slot(std::uint32_t Index) { return Table->Slots[Index]; }

	void CloseConnection(std::uint32_t Index)
	{
		if (Connections[Index])
		{
			Connections[Index]->Close();
			Connections[Index].reset();
		}
	}

	/** Reads everything waiting on one connection's outbound pipe. */
	void ReadMessages(std::uint32_t Index, FConnection& Connection)
	{
		if (Connection.bOutboundBroken || !Connection.OutboundPipe.IsValid())
		{
			return;
		}
		for (int Count = 0; Count < MaxMessagesPerPoll; ++Count)
		{
			std::uint32_t Size = 0;
			const Platform::PipeResult Peeked = Connection.OutboundPipe.Peek(Size);
			if (Peeked == Platform::PipeResult::Empty)
			{
				return;
			}
			if (Peeked != Platform::PipeResult::Ok)
			{
				// The plug-in has gone or the pipe failed; its departure is noticed through the slot and monitor.
				Connection.bOutboundBroken = true;
				return;
			}
			std::vector<std::uint8_t> Bytes(Size);
			std::uint32_t Offset = 0;
			bool bComplete = true;
			do
			{
				std::uint32_t BytesRead = 0;
				const Platform::PipeResult ReadResult =
				    Connection.OutboundPipe.Read(Bytes.data() + Offset, Size - Offset, BytesRead);
				Offset += BytesRead;
				if (ReadResult != Platform::PipeResult::Ok && ReadResult != Platform::PipeResult::MoreData)
				{
					bComplete = false;
					break;
				}
				if (ReadResult == Platform::PipeResult::Ok)
				{
					break;
				}
				if (BytesRead == 0)
				{
					bComplete = false;
					break;
				}
			} while (Offset < Size);
			if (!bComplete)
			{
				Connection.bOutboundBroken = true;
				return;
			}
			Bytes.resize(Offset);

			ReceivedMessage Message;
			Message.Slot = Index;
			if (Bytes.size() < 4)
			{
				Message.bMalformed = true;
				Message.Payload = std::move(Bytes);
			}
			else
			{
				std::memcpy(&Message.Tag, Bytes.data(), 4);
				Message.Payload.assign(Bytes.begin() + 4, Bytes.end());
			}
			Received.push_back(std::move(Message));
		}
	}
};

HostSimulator::HostSimulator(HostSimulatorOptions Options) : State(std::make_unique<FState>())
{
	State->Options = Options;
}

HostSimulator::~HostSimulator()
{
	Stop();
}

bool HostSimulator::Start()
{
	if (State->bRunning)
	{
		return true;
	}
	State->LastError.clear();

	if (Platform::NamedMutex::Create(SimulatorLockName, Platform::MutexOwnership::NotOwned, State->SimulatorLock) !=
	    Platform::OpenResult::Ok)
	{
		State->SimulatorLock.Close();
		State->LastError = "another host is running (a host simulator holds its lock)";
		return false;
	}

	const Platform::OpenResult Mapped =
	    Platform::SharedMemory::Create(UE4::ObjectName::SharedTable, sizeof(UE4::SharedSlotTable), State->Mapping);
	if (Mapped != Platform::OpenResult::Ok && Mapped != Platform::OpenResult::AlreadyExists)
	{
		State->LastError = std::string("cannot create the shared slot table: ") + Platform::ToString(Mapped);
		Stop();
		return false;
	}
	State->Table = static_cast<UE4::SharedSlotTable*>(State->Mapping.MapView(sizeof(UE4::SharedSlotTable)));
	if (!State->Table)
	{
		State->LastError = "cannot map the shared slot table";
		Stop();
		return false;
	}
	const Platform::OpenResult Locked =
	    Platform::NamedMutex::Create(UE4::ObjectName::GlobalMutex, Platform::MutexOwnership::NotOwned, State->GlobalMutex);
	if (Locked != Platform::OpenResult::Ok && Locked != Platform::OpenResult::AlreadyExists)
	{
		State->LastError = std::string("cannot create the machine-wide mutex: ") + Platform::ToString(Locked);
		Stop();
		return false;
	}
	State->bRunning = true;

	if (Mapped == Platform::OpenResult::AlreadyExists)
	{
		// A table left by an earlier host, kept alive by plug-ins that still hold it. A live host would own the
		// server monitors of its offered and connected slots; a dead one left them abandoned or gone.
		State->LockTable();
		bool bLiveHost = false;
		for (std::uint32_t Index = 0; Index < UE4::SlotCount; ++Index)
		{
			UE4::SharedSlot& Slot = State->Slot(Index);
			if (Slot.State != 2 && Slot.State != 3)
			{
				continue;
			}
			Platform::NamedMutex Monitor;
			const std::wstring Name =
			    std::wstring(UE4::ObjectName::ServerMonitorPrefix) + Platform::FormatGuid(Slot.ConnectionId);
			if (Platform::NamedMutex::Open(Name, Monitor) == Platform::OpenResult::Ok)
			{
				const Platform::WaitResult Waited = Monitor.Wait(0);
				if (Waited == Platform::WaitResult::TimedOut)
				{
					bLiveHost = true;
					break;
				}
				if (Waited == Platform::WaitResult::Acquired || Waited == Platform::WaitResult::Abandoned)
				{
					(void)Monitor.Release();
				}
			}
		}
		if (!bLiveHost)
		{
			for (std::uint32_t Index = 0; Index < UE4::SlotCount; ++Index)
			{
				UE4::SharedSlot& Slot = State->Slot(Index);
				if (Slot.State == 2 || Slot.State == 3)
				{
					Slot.State = static_cast<std::int32_t>(UE4::SlotState::Dropped);
				}
			}
		}
		State->UnlockTable();
		if (bLiveHost)
		{
			State->LastError = "another host is running (it owns the monitor of a connected slot)";
			Stop();
			return false;
		}
	}
	return true;
}

void HostSimulator::Stop()
{
	if (State->bRunning)
	{
		State->LockTable();
		for (std::uint32_t Index = 0; Index < UE4::SlotCount; ++Index)
		{
			UE4::SharedSlot& Slot = State->Slot(Index);
			// Requested slots are refused too: a plug-in waiting for an offer has no other way to learn the host left.
			if (State->Connections[Index] || Slot.State == 1)
			{
				Slot.State = static_cast<std::int32_t>(UE4::SlotState::Dropped);
			}
			State->CloseConnection(Index);
		}
		State->UnlockTable();
		while (State->HoldDepth > 0)
		{
			State->UnlockTable();
			--State->HoldDepth;
		}
	}
	for (auto& Connection : State->Connections)
	{
		if (Connection)
		{
			Connection->Close();
			Connection.reset();
		}
	}
	if (State->Table)
	{
		Platform::SharedMemory::UnmapView(State->Table, sizeof(UE4::SharedSlotTable));
		State->Table = nullptr;
	}
	State->Mapping.Close();
	State->GlobalMutex.Close();
	State->SimulatorLock.Close();
	State->bRequestNoticed = {};
	State->bRunning = false;
}

bool HostSimulator::IsRunning() const
{
	return State->bRunning;
}

std::vector<SlotNotice> HostSimulator::Poll()
{
	std::vector<SlotNotice> Notices;
	if (!State->bRunning)
	{
		return Notices;
	}
	std::array<bool, UE4::SlotCount> bRequested{};

	State->LockTable();
	for (std::uint32_t Index = 0; Index < UE4::SlotCount; ++Index)
	{
		UE4::SharedSlot& Slot = State->Slot(Index);
		FConnection* Connection = State->Connections[Index].get();
		if (Connection)
		{
			bool bGone = Slot.State == 0 || (Slot.State == 1 && !(Slot.ConnectionId == Connection->ConnectionId));
			if (!bGone && Connection->ClientMonitor.IsValid())
			{
				const Platform::WaitResult Waited = Connection->ClientMonitor.Wait(0);
				if (Waited == Platform::WaitResult::Abandoned || Waited == Platform::WaitResult::Acquired)
				{
					// Abandoned: the plug-in's thread ended without releasing. Either way this thread owns it now.
					(void)Connection->ClientMonitor.Release();
					bGone = Waited == Platform::WaitResult::Abandoned;
				}
			}
			else if (!bGone)
			{
				const std::wstring Name = std::wstring(UE4::ObjectName::ClientMonitorPrefix) + Connection->Name;
				(void)Platform::NamedMutex::Open(Name, Connection->ClientMonitor);
			}
			if (bGone)
			{
				State->ReadMessages(Index, *Connection);
				if (Slot.State != 1)
				{
					Slot.State = static_cast<std::int32_t>(UE4::SlotState::Free);
				}
				State->CloseConnection(Index);
				Notices.push_back({SlotNotice::EKind::ClientGone, Index});
				Connection = nullptr;
			}
			else if (Slot.State == 3 && !Connection->bConnectedNoticed)
			{
				Connection->bConnectedNoticed = true;
				Notices.push_back({SlotNotice::EKind::Connected, Index});
			}
		}
		if (!Connection && Slot.State == 1)
		{
			if (!State->bRequestNoticed[Index] || !(State->NoticedRequests[Index] == Slot.ConnectionId))
			{
				State->bRequestNoticed[Index] = true;
				State->NoticedRequests[Index] = Slot.ConnectionId;
				Notices.push_back({SlotNotice::EKind::Requested, Index});
			}
			bRequested[Index] = true;
		}
	}

	if (State->Options.bAutoAccept)
	{
		for (std::uint32_t Index = 0; Index < UE4::SlotCount; ++Index)
		{
			if (bRequested[Index])
			{
				Notices.push_back({Accept(Index) ? SlotNotice::EKind::Accepted : SlotNotice::EKind::AcceptFailed, Index});
			}
		}
	}
	State->UnlockTable();

	for (std::uint32_t Index = 0; Index < UE4::SlotCount; ++Index)
	{
		if (FConnection* Connection = State->Connections[Index].get())
		{
			Connection->InboundPipe.Reclaim();
			State->ReadMessages(Index, *Connection);
		}
	}
	return Notices;
}

std::vector<ReceivedMessage> HostSimulator::TakeReceived()
{
	std::vector<ReceivedMessage> Out;
	Out.swap(State->Received);
	return Out;
}

SlotSnapshot HostSimulator::ReadSlot(std::uint32_t Slot) const
{
	SlotSnapshot Snapshot;
	if (!State->bRunning || Slot >= UE4::SlotCount)
	{
		return Snapshot;
	}
	State->LockTable();
	const UE4::SharedSlot& Source = State->Slot(Slot);
	Snapshot.State = Source.State;
	Snapshot.ConnectionId = Source.ConnectionId;
	Snapshot.ClientCode = Source.ClientCode;
	Snapshot.LaunchId = Source.LaunchId;
	Snapshot.LaunchIdGenerated = Source.LaunchIdGenerated;
	Snapshot.GameRunning = Source.GameRunning;
	State->UnlockTable();
	return Snapshot;
}

bool HostSimulator::Accept(std::uint32_t Slot)
{
	return Accept(Slot, State->Options.Objects);
}

bool HostSimulator::Accept(std::uint32_t Slot, const HostObjectSet& Objects)
{
	if (!State->bRunning || Slot >= UE4::SlotCount)
	{
		State->LastError = "no such slot";
		return false;
	}
	State->LockTable();
	UE4::SharedSlot& Shared = State->Slot(Slot);
	if (Shared.State != 1)
	{
		State->UnlockTable();
		State->LastError = "slot " + std::to_string(Slot) + " is not requested (state " + std::to_string(Shared.State) + ")";
		return false;
	}
	State->CloseConnection(Slot);

	auto Connection = std::make_unique<FConnection>();
	Connection->ConnectionId = Shared.ConnectionId;
	Connection->Name = Platform::FormatGuid(Shared.ConnectionId);
	const std::wstring& Name = Connection->Name;
	// A fresh claim does not reset the code, so a 6 from an earlier connection may still be there.
	Shared.ClientCode = 0;

	auto Fail = [&](const std::string& What, Platform::OpenResult Result) {
		State->LastError = "slot " + std::to_string(Slot) + ": cannot " + What + " (" + Platform::ToString(Result) + ")";
		Connection->Close();
		// Refused with 4 rather than 0, so no other plug-in can take the slot before this one has seen the answer.
		Shared.State = static_cast<std::int32_t>(UE4::SlotState::Dropped);
		State->UnlockTable();
		return false;
	};

	Platform::OpenResult Result = Platform::OpenResult::Ok;
	if (Objects.bServerMonitor)
	{
		Result = Platform::NamedMutex::Create(std::wstring(UE4::ObjectName::ServerMonitorPrefix) + Name,
		                                      Platform::MutexOwnership::OwnedByCreator, Connection->ServerMonitor);
		if (Result != Platform::OpenResult::Ok)
		{
			return Fail("create the server monitor mutex", Result);
		}
		Connection->bOwnsServerMonitor = true;
	}
	if (Objects.bDataSentEvent)
	{
		Result =
		    Platform::NamedEvent::Create(std::wstring(UE4::ObjectName::DataSentEventPrefix) + Name, Connection->DataSentEvent);
		if (Result != Platform::OpenResult::Ok && Result != Platform::OpenResult::AlreadyExists)
		{
			return Fail("create the data-sent event", Result);
		}
	}
	if (Objects.bInboundPipe)
	{
		Platform::PipeWriterOptions PipeOptions;
		PipeOptions.BufferBytes = State->Options.InboundPipeBufferBytes;
		Result = Platform::MessagePipeWriter::Create(std::wstring(UE4::ObjectName::InboundPipePrefix) + Name,
		                                             Connection->InboundPipe, PipeOptions);
		if (Result != Platform::OpenResult::Ok)
		{
			return Fail("create the inbound pipe", Result);
		}
	}
	if (Objects.bSyncEvent)
	{
		Result =
		    Platform::NamedEvent::Create(std::wstring(UE4::ObjectName::SyncEventPrefix) + L"0_" + Name, Connection->SyncEvent);
		if (Result != Platform::OpenResult::Ok && Result != Platform::OpenResult::AlreadyExists)
		{
			return Fail("create the sync event", Result);
		}
	}
	// Opened before offering: a plug-in that reaches the connected state sends its version at once.
	Result =
	    Platform::MessagePipeReader::Open(std::wstring(UE4::ObjectName::OutboundPipePrefix) + Name, Connection->OutboundPipe);
	if (Result != Platform::OpenResult::Ok)
	{
		return Fail("open the plug-in's outbound pipe", Result);
	}
	(void)Platform::NamedMutex::Open(std::wstring(UE4::ObjectName::ClientMonitorPrefix) + Name, Connection->ClientMonitor);

	Shared.State = static_cast<std::int32_t>(UE4::SlotState::Offered);
	State->Connections[Slot] = std::move(Connection);
	State->bRequestNoticed[Slot] = false;
	State->UnlockTable();
	return true;
}

void HostSimulator::Drop(std::uint32_t Slot)
{
	if (!State->bRunning || Slot >= UE4::SlotCount)
	{
		return;
	}
	State->LockTable();
	State->Slot(Slot).State = static_cast<std::int32_t>(UE4::SlotState::Dropped);
	State->CloseConnection(Slot);
	State->UnlockTable();
}

void HostSimulator::Free(std::uint32_t Slot)
{
	if (!State->bRunning || Slot >= UE4::SlotCount)
	{
		return;
	}
	State->LockTable();
	State->Slot(Slot).State = static_cast<std::int32_t>(UE4::SlotState::Free);
	State->CloseConnection(Slot);
	State->bRequestNoticed[Slot] = false;
	State->UnlockTable();
}

void HostSimulator::WriteSlotState(std::uint32_t Slot, std::int32_t NewState)
{
	if (!State->bRunning || Slot >= UE4::SlotCount)
	{
		return;
	}
	State->LockTable();
	State->Slot(Slot).State = NewState;
	State->UnlockTable();
}

void HostSimulator::HoldTable()
{
	if (!State->bRunning)
	{
		return;
	}
	State->LockTable();
	++State->HoldDepth;
}

void HostSimulator::ReleaseTable()
{
	if (State->HoldDepth > 0)
	{
		--State->HoldDepth;
		State->UnlockTable();
	}
}

bool HostSimulator::Send(std::uint32_t Slot, std::uint32_t Tag, std::span<const std::uint8_t> Payload)
{
	std::uint8_t Head[4];
	std::memcpy(Head, &Tag, 4);
	std::vector<std::uint8_t> Message(Head, Head + 4);
	Message.insert(Message.end(), Payload.begin(), Payload.end());
	return SendRaw(Slot, Message);
}

bool HostSimulator::SendRaw(std::uint32_t Slot, std::span<const std::uint8_t> Message)
{
	FConnection* Connection = Slot < UE4::SlotCount ? State->Connections[Slot].get() : nullptr;
	if (!Connection)
	{
		State->LastError = "slot " + std::to_string(Slot) + " has no connection";
		return false;
	}
	if (!Connection->InboundPipe.IsValid())
	{
		State->LastError = "slot " + std::to_string(Slot) + " was accepted without an inbound pipe";
		return false;
	}
	if (Message.empty())
	{
		State->LastError = "an empty message cannot be sent";
		return false;
	}
	const Platform::WriteResult Result = Connection->InboundPipe.Write(std::as_bytes(Message), {});
	if (Result == Platform::WriteResult::Completed || Result == Platform::WriteResult::Pending)
	{
		return true;
	}
	State->LastError = "slot " + std::to_string(Slot) + ": the inbound pipe refused the write (" + Platform::ToString(Result) +
	                   (Result == Platform::WriteResult::Refused ? "; has the plug-in opened it?)" : ")");
	return false;
}

bool HostSimulator::HasConnection(std::uint32_t Slot) const
{
	return Slot < UE4::SlotCount && State->Connections[Slot] != nullptr;
}

std::wstring HostSimulator::ConnectionName(std::uint32_t Slot) const
{
	return HasConnection(Slot) ? State->Connections[Slot]->Name : std::wstring();
}

const std::string& HostSimulator::LastError() const
{
	return State->LastError;
}

} // namespace Korvat::Host
