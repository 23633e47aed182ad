// The session half of the link: opening the shared table, claiming a slot, following its state, closing.
#include "HostLink.h"

#include "Platform/System.h"

#include <string>

namespace Korvat::UE4
{

namespace
{

std::wstring ConnectionObjectName(const wchar_t* Prefix, const std::wstring& ConnectionName)
{
	std::wstring Name(Prefix);
	Name += ConnectionName;
	return Name;
}

// A state value read from the shared table is written by other processes: read and write it as a whole
// 32-bit word, never through a cached copy.
std::int32_t ReadState(const SharedSlot& Slot) noexcept
{
	return *static_cast<const volatile std::int32_t*>(&Slot.State);
}

void WriteState(SharedSlot& Slot, SlotState State) noexcept
{
	*static_cast<volatile std::int32_t*>(&Slot.State) = static_cast<std::int32_t>(State);
}

} // namespace

HostLink::HostLink() noexcept = default;

HostLink::~HostLink()
{
	(void)Release();
}

LinkResult HostLink::Connect(const GUID& LaunchId, bool LaunchIdGenerated)
{
	Platform::ScopedSection Scope(Section);
	StepFailure = {};

	if (Slots == nullptr || !Mapping.IsValid() || !GlobalMutex.IsValid())
	{
		if (!OpenSharedTable())
		{
			Close();
			// An absent table is how a host that is not running shows; anything else is worth its own report.
			ReportCondition(StepFailure.Object != nullptr ? ConnectionCondition::HostObjectFailed : ConnectionCondition::HostNotRunning,
				NoSlot);
			return LinkResult::HostUnavailable;
		}
	}

	if (HostHasEnded())
	{
		return LinkResult::HostUnavailable;
	}

	if (!HoldsSlot())
	{
		ClaimSlot(LaunchId, LaunchIdGenerated);
		if (!HoldsSlot())
		{
			ReportCondition(StepFailure.Object != nullptr ? ConnectionCondition::OwnObjectFailed : ConnectionCondition::TableFull,
				NoSlot);
			return LinkResult::NoFreeSlot;
		}
	}

	StepSlotState();
	return LinkResult::Ok;
}

bool HostLink::OpenSharedTable() noexcept
{
	// An absent table is how a host that is not running shows, and then its mutex is absent too: neither is
	// a failure worth reporting. Both opens are tried on every step, as the platform layer expects.
	bool bTableFound = true;
	if (!Mapping.IsValid())
	{
		const Platform::OpenResult Result = Platform::SharedMemory::Open(ObjectName::SharedTable, Mapping);
		bTableFound = Result != Platform::OpenResult::NotFound;
		if (Result != Platform::OpenResult::Ok && bTableFound)
		{
			NoteObjectFailure("shared slot table", Result);
		}
	}
	if (Mapping.IsValid() && Slots == nullptr)
	{
		Slots = static_cast<SharedSlotTable*>(Mapping.MapView(sizeof(SharedSlotTable)));
		if (Slots == nullptr)
		{
			NoteObjectFailure("view of the shared slot table", Platform::OpenResult::Failed);
		}
	}
	if (!GlobalMutex.IsValid())
	{
		const Platform::OpenResult Result = Platform::NamedMutex::Open(ObjectName::GlobalMutex, GlobalMutex);
		if (Result != Platform::OpenResult::Ok && bTableFound)
		{
			NoteObjectFailure("global mutex", Result);
		}
	}
	return Mapping.IsValid() && Slots != nullptr && GlobalMutex.IsValid();
}

void HostLink::NoteObjectFailure(const char* Object, Platform::OpenResult Result) noexcept
{
	// Read first: nothing may run between the failed call and this.
	const std::uint32_t SystemError = Platform::LastSystemError();
	if (StepFailure.Object == nullptr)
	{
		StepFailure = {Object, Result, SystemError};
	}
}

void HostLink::ReportCondition(ConnectionCondition Condition, std::uint32_t Slot) noexcept
{
	const ObjectFailure& Previous = LastReport.Failure;
	const bool bFailureChanged = Previous.Object != StepFailure.Object || Previous.Result != StepFailure.Result ||
		Previous.SystemError != StepFailure.SystemError;
	if (Condition == LastReport.Condition && Slot == LastReport.Slot && !bFailureChanged)
	{
		return;
	}
	LastReport.Condition = Condition;
	LastReport.Slot = Slot;
	LastReport.ConnectionId = Slot != NoSlot ? ClaimedConnectionId : GUID{};
	LastReport.Failure = StepFailure;
	++LastReport.Changes;
	if (Recorder != nullptr)
	{
		Recorder->OnConditionChanged(LastReport);
	}
}

bool HostLink::HostHasEnded() noexcept
{
	if (!ServerMonitor.IsValid())
	{
		return false;
	}

	const Platform::WaitResult Result = ServerMonitor.Wait(0);
	if (Result == Platform::WaitResult::Acquired)
	{
		// A host that does not own its monitor lets the zero wait succeed; give it straight back so the
		// ownership does not pile up once per step.
		(void)ServerMonitor.Release();
		return false;
	}
	if (Result != Platform::WaitResult::Abandoned)
	{
		return false;
	}

	// The host ended while owning its monitor: the wait handed the mutex to us, so give it back before
	// dropping the handle, then close down and start over with a fresh claim on a later step.
	(void)ServerMonitor.Release();
	ServerMonitor.Close();
	ReportCondition(ConnectionCondition::HostGone, SlotIndex);
	Close();
	SlotIndex = NoSlot;
	LastSlotState = 0;
	return true;
}

void HostLink::ClaimSlot(const GUID& LaunchId, bool LaunchIdGenerated) noexcept
{
	Lock();

	std::uint32_t Chosen = NoSlot;
	for (std::uint32_t Index = 0; Index < SlotCount; ++Index)
	{
		if (ReadState(Slots->Slots[Index]) == static_cast<std::int32_t>(SlotState::Free))
		{
			Chosen = Index;
			break;
		}
	}
	if (Chosen == NoSlot)
	{
		Unlock();
		return;
	}

	SharedSlot& Slot = Slots->Slots[Chosen];
	SlotIndex = Chosen;
	WriteState(Slot, SlotState::Requested);
	Slot.LaunchId = LaunchId;
	Slot.LaunchIdGenerated = LaunchIdGenerated ? 1 : 0;

	GUID ConnectionId;
	bool bCreated = Platform::CreateGuid(ConnectionId);
	if (!bCreated)
	{
		NoteObjectFailure("connection GUID", Platform::OpenResult::Failed);
	}
	else
	{
		Slot.ConnectionId = ConnectionId;
		ClaimedConnectionId = ConnectionId;
		const std::wstring ConnectionName = Platform::FormatGuid(ConnectionId);
		const Platform::OpenResult MonitorResult = Platform::NamedMutex::Create(
			ConnectionObjectName(ObjectName::ClientMonitorPrefix, ConnectionName), Platform::MutexOwnership::OwnedByCreator,
			ClientMonitor);
		bCreated = ClientMonitor.IsValid();
		if (!bCreated)
		{
			NoteObjectFailure("client monitor", MonitorResult);
		}
		else
		{
			const Platform::OpenResult PipeResult =
				Platform::MessagePipeWriter::Create(ConnectionObjectName(ObjectName::OutboundPipePrefix, ConnectionName), OutboundPipe);
			bCreated = PipeResult == Platform::OpenResult::Ok;
			if (!bCreated)
			{
				NoteObjectFailure("outbound pipe", PipeResult);
			}
		}
	}

	if (!bCreated)
	{
		// Give the slot back while the table is still mapped; Close also gives back the lock.
		WriteState(Slot, SlotState::Free);
		Close();
		return;
	}
	Unlock();
}

void HostLink::StepSlotState() noexcept
{
	Lock();

	SharedSlot& Slot = Slots->Slots[SlotIndex];
	if (!SlotIsStillOurs())
	{
		// The host freed the slot and another plug-in claimed it before this step: whatever it holds now
		// belongs to that one. Let go of it as of a freed slot, without writing to it.
		ReportCondition(ConnectionCondition::FreedByHost, SlotIndex);
		Close();
		SlotIndex = NoSlot;
		LastSlotState = static_cast<std::int32_t>(SlotState::Free);
		return;
	}

	const std::int32_t State = ReadState(Slot);
	switch (State)
	{
	case static_cast<std::int32_t>(SlotState::Free):
	case static_cast<std::int32_t>(SlotState::Dropped):
		ReportCondition(State == static_cast<std::int32_t>(SlotState::Free) ? ConnectionCondition::FreedByHost
																			 : ConnectionCondition::RefusedByHost,
			SlotIndex);
		WriteState(Slot, SlotState::Free);
		Close();
		SlotIndex = NoSlot;
		break;

	case static_cast<std::int32_t>(SlotState::Requested):
		ReportCondition(ConnectionCondition::WaitingForHost, SlotIndex);
		break;

	case static_cast<std::int32_t>(SlotState::Offered):
	{
		const bool bOpened = OpenHostObjects(Slot.ConnectionId);
		Slot.ClientCode = ClientCodeOpened;
		if (bOpened)
		{
			WriteState(Slot, SlotState::Connected);
			ReportCondition(ConnectionCondition::Connected, SlotIndex);
		}
		else
		{
			ReportCondition(ConnectionCondition::HostObjectFailed, SlotIndex);
			WriteState(Slot, SlotState::Free);
			Close();
		}
		// After a Close there is no pipe and the write reports WriteFailed, which changes nothing here.
		(void)SendVersion();
		break;
	}

	default:
		break;
	}

	// A Close inside this step has already given back the mutex and left the section once.
	if (GlobalMutexHeld)
	{
		Unlock();
	}
	LastSlotState = State;
}

bool HostLink::SlotIsStillOurs() const noexcept
{
	return Slots->Slots[SlotIndex].ConnectionId == ClaimedConnectionId;
}

bool HostLink::OpenHostObjects(const GUID& ConnectionId) noexcept
{
	const std::wstring ConnectionName = Platform::FormatGuid(ConnectionId);

	auto Note = [this](const char* Object, Platform::OpenResult Result) {
		if (Result != Platform::OpenResult::Ok)
		{
			NoteObjectFailure(Object, Result);
		}
	};
	Note("server monitor",
		Platform::NamedMutex::Open(ConnectionObjectName(ObjectName::ServerMonitorPrefix, ConnectionName), ServerMonitor));
	Note("data-sent event",
		Platform::NamedEvent::Open(ConnectionObjectName(ObjectName::DataSentEventPrefix, ConnectionName), DataSentEvent));
	Note("inbound pipe",
		Platform::MessagePipeReader::Open(ConnectionObjectName(ObjectName::InboundPipePrefix, ConnectionName), InboundPipe));

	std::wstring SyncName(ObjectName::SyncEventPrefix);
	SyncName += L"0_";
	SyncName += ConnectionName;
	Note("sync event", Platform::NamedEvent::Open(SyncName, SyncEvent));

	return ServerMonitor.IsValid() && DataSentEvent.IsValid() && InboundPipe.IsValid() && SyncEvent.IsValid();
}

bool HostLink::IsConnected() const noexcept
{
	return HoldsSlot() && Mapping.IsValid() && Slots != nullptr && GlobalMutex.IsValid() && ClientMonitor.IsValid() &&
		ServerMonitor.IsValid() && LastSlotState == static_cast<std::int32_t>(SlotState::Connected);
}

void HostLink::SetEngineVersion(std::int32_t Major, std::int32_t Minor, std::int32_t Patch) noexcept
{
	EngineMajor = Major;
	EngineMinor = Minor;
	EnginePatch = Patch;
}

void HostLink::WriteGameRunning(bool Running) noexcept
{
	if (!HoldsSlot())
	{
		return;
	}
	Lock();
	if (SlotIsStillOurs())
	{
		Slots->Slots[SlotIndex].GameRunning = Running ? 1 : 0;
	}
	Unlock();
}

void HostLink::Lock() noexcept
{
	Section.Enter();
	if (!GlobalMutexHeld)
	{
		// Acquired and Abandoned both make us the owner; an abandoned table mutex only means a party died
		// between two slot accesses, and every slot access is a single word. The flag is set whatever the
		// wait said, so that Unlock or Close leaves the section exactly once for this Lock.
		(void)GlobalMutex.Wait(Platform::InfiniteWait);
		GlobalMutexHeld = true;
	}
}

void HostLink::Unlock() noexcept
{
	(void)GlobalMutex.Release();
	GlobalMutexHeld = false;
	Section.Leave();
}

void HostLink::Close() noexcept
{
	Platform::ScopedSection Scope(Section);

	if (GlobalMutexHeld)
	{
		// Closing inside a locked step: undo that step's Lock here, since the step cannot Unlock any more.
		(void)GlobalMutex.Release();
		GlobalMutexHeld = false;
		Section.Leave();
	}

	Mapping.Close();
	if (Slots != nullptr)
	{
		Platform::SharedMemory::UnmapView(Slots, sizeof(SharedSlotTable));
		Slots = nullptr;
	}
	GlobalMutex.Close();
	ServerMonitor.Close();
	ClientMonitor.Close();
	DataSentEvent.Close();
	OutboundPipe.Close();
	InboundPipe.Close();
	SyncEvent.Close();
	SlotIndex = NoSlot;
	FailedWrites.bFailing = false;
}

LinkResult HostLink::Release() noexcept
{
	LinkResult Result = LinkResult::Ok;

	Section.Enter();
	if (!HoldsSlot())
	{
		Result = LinkResult::NotAttached;
	}
	else
	{
		Lock();
		// A slot that has passed to another plug-in since our last step is left to it.
		if (SlotIsStillOurs())
		{
			WriteState(Slots->Slots[SlotIndex], SlotState::Free);
			StepFailure = {};
			ReportCondition(ConnectionCondition::Released, SlotIndex);
		}
		else
		{
			Result = LinkResult::NotAttached;
		}
		Unlock();
	}
	Section.Leave();

	Close();
	return Result;
}

} // namespace Korvat::UE4
