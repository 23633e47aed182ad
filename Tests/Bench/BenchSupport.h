// Rigs shared by the link benchmarks and the instruction-count probe: a link connected to an in-process
// host, and the bare platform calls an idle connected step cannot do without.
#pragma once

#include "HostLink.h"
#include "HostSimulator.h"
#include "Platform/MessagePipe.h"
#include "Platform/NamedMutex.h"
#include "Platform/SharedMemory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace Korvat::UE4::Bench
{

inline std::wstring UniqueSuffix()
{
#if defined(_WIN32)
	return L"_bench";
#else
	return L"_bench_" + std::to_wstring(::getpid());
#endif
}

/** A private object namespace for the run (POSIX backend); removed at the end. */
class BenchNamespace
{
public:
	BenchNamespace()
	{
#if !defined(_WIN32)
		Root = "/dev/shm/korvat-bench-" + std::to_string(::getpid());
		std::filesystem::create_directories(Root);
		std::filesystem::permissions(Root, std::filesystem::perms::owner_all);
		::setenv("KORVAT_IPC_ROOT", Root.c_str(), 1);
#endif
	}
	~BenchNamespace()
	{
#if !defined(_WIN32)
		std::error_code Ignored;
		std::filesystem::remove_all(Root, Ignored);
#endif
	}

private:
	std::string Root;
};

/** Callbacks the way the module passes them: small lambdas, so std::function keeps them inline. */
struct LinkCallbacks
{
	FieldListRequestMap FieldListRequests;
	std::uint64_t Accepted = 0;
	std::uint64_t Quality = 0;

	LinkResult Read(HostLink& Link)
	{
		return Link.ReadMessages([this](IKorvatNodeFieldSync*, const std::vector<FieldDescriptor>&) { ++Accepted; },
			FieldListRequests, [this](RenderQuality Value) { Quality += static_cast<std::uint64_t>(Value); },
			[this](const DecodedMessage&) { ++Accepted; });
	}
};

/**
 * A link connected to an in-process host simulator. The host accepts on a thread of its own that lives as
 * long as the rig, so that it owns its monitor mutex the way a host process does and the link's zero wait
 * on it times out, as it does against a real host.
 */
class ConnectedLinkRig
{
public:
	ConnectedLinkRig() : Host(ManualAccept()) {}

	~ConnectedLinkRig()
	{
		if (HostThread.joinable())
		{
			Stop.set_value();
			HostThread.join();
		}
	}

	bool Start()
	{
		if (!Host.Start())
		{
			return false;
		}
		Link.SetEngineVersion(5, 5, 3);
		if (Link.Connect(LaunchId, false) != LinkResult::Ok || Link.GetSlotIndex() >= SlotCount)
		{
			return false;
		}
		std::promise<bool> Accepted;
		std::future<bool> IsAccepted = Accepted.get_future();
		std::shared_future<void> StopSignal = Stop.get_future().share();
		const std::uint32_t ClaimedSlot = Link.GetSlotIndex();
		HostThread = std::thread([this, &Accepted, StopSignal, ClaimedSlot] {
			Accepted.set_value(Host.Accept(ClaimedSlot));
			StopSignal.wait();
		});
		if (!IsAccepted.get())
		{
			return false;
		}
		for (int Step = 0; Step < 4 && !Link.IsConnected(); ++Step)
		{
			(void)Link.Connect(LaunchId, false);
		}
		(void)Host.Poll();
		(void)Host.TakeReceived();
		return Link.IsConnected();
	}

	/** One frame's worth of link work while nothing happens: one session step and one empty drain. */
	void IdleStep()
	{
		(void)Link.Connect(LaunchId, false);
		(void)Callbacks.Read(Link);
	}

	std::uint32_t Slot() const { return Link.GetSlotIndex(); }

	GUID LaunchId;
	Host::HostSimulator Host;
	HostLink Link;
	LinkCallbacks Callbacks;

private:
	static Host::HostSimulatorOptions ManualAccept()
	{
		Host::HostSimulatorOptions Options;
		Options.bAutoAccept = false;
		return Options;
	}

	std::thread HostThread;
	std::promise<void> Stop;
};

/**
 * The floor under an idle step: a zero wait on a mutex another thread owns, one take of a named mutex
 * around a 4-byte read of shared memory, and one peek at an empty pipe.
 */
class PlatformFloorRig
{
public:
	~PlatformFloorRig()
	{
		if (Owner.joinable())
		{
			Stop.set_value();
			Owner.join();
		}
		if (View != nullptr)
		{
			Platform::SharedMemory::UnmapView(View, 716);
		}
	}

	bool Start()
	{
		const std::wstring Suffix = UniqueSuffix();
		std::promise<bool> Ready;
		std::future<bool> IsReady = Ready.get_future();
		std::shared_future<void> StopSignal = Stop.get_future().share();
		Owner = std::thread([&Ready, StopSignal, Suffix] {
			Platform::NamedMutex Owned;
			const bool bOk = Platform::NamedMutex::Create(L"Floor_Monitor" + Suffix, Platform::MutexOwnership::OwnedByCreator,
								 Owned) == Platform::OpenResult::Ok;
			Ready.set_value(bOk);
			StopSignal.wait();
			(void)Owned.Release();
		});
		if (!IsReady.get())
		{
			return false;
		}
		if (Platform::NamedMutex::Open(L"Floor_Monitor" + Suffix, Monitor) != Platform::OpenResult::Ok ||
			Platform::NamedMutex::Create(L"Floor_Table" + Suffix, Platform::MutexOwnership::NotOwned, Table) !=
				Platform::OpenResult::Ok ||
			Platform::SharedMemory::Create(L"Floor_Shared" + Suffix, 716, Mapping) != Platform::OpenResult::Ok)
		{
			return false;
		}
		View = static_cast<std::uint8_t*>(Mapping.MapView(716));
		const std::wstring PipeName = L"\\\\.\\pipe\\Floor_Pipe" + Suffix;
		return View != nullptr && Platform::MessagePipeWriter::Create(PipeName, Writer) == Platform::OpenResult::Ok &&
			Platform::MessagePipeReader::Open(PipeName, Reader) == Platform::OpenResult::Ok;
	}

	void Step()
	{
		(void)Monitor.Wait(0);
		(void)Table.Wait(Platform::InfiniteWait);
		std::int32_t State;
		std::memcpy(&State, View + 12, sizeof(State));
		Sink += static_cast<std::uint32_t>(State);
		(void)Table.Release();
		std::uint32_t Size = 0;
		(void)Reader.Peek(Size);
		Sink += Size;
	}

	std::uint32_t Sink = 0;

private:
	std::thread Owner;
	std::promise<void> Stop;
	Platform::NamedMutex Monitor;
	Platform::NamedMutex Table;
	Platform::SharedMemory Mapping;
	std::uint8_t* View = nullptr;
	Platform::MessagePipeWriter Writer;
	Platform::MessagePipeReader Reader;
};

/** A 64-byte message shaped like a "VINT": tag, id, value, then padding. */
inline std::vector<std::uint8_t> SixtyFourByteMessage(std::uint32_t Id)
{
	std::vector<std::uint8_t> Message(64, 0);
	std::memcpy(Message.data(), "VINT", 4);
	std::memcpy(Message.data() + 4, &Id, 4);
	Message[8] = 7;
	return Message;
}

} // namespace Korvat::UE4::Bench
