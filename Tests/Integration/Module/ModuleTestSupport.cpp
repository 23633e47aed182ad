#include "ModuleTestSupport.h"

#include "CoreUObjectTesting.h"
#include "EngineTesting.h"
#include "StandInTesting.h"
#include "TextureShareTesting.h"

#include "KorvatPluginModule.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <system_error>
#include <thread>

namespace Korvat::ModuleTesting
{

namespace
{
/** Frames a connection may take: request, accept, open; many more only on a badly loaded machine. */
constexpr int ConnectFrameLimit = 2000;

/** Both the system environment (inherited by children) and this program's C runtime copy of it. */
void SetProcessEnvironment(const std::string& Name, const std::string& Value)
{
	Korvat::Testing::SetEnvironment(Name, Value);
#if defined(_WIN32)
	_putenv_s(Name.c_str(), Value.c_str());
#endif
}

void UnsetProcessEnvironment(const std::string& Name)
{
	Korvat::Testing::UnsetEnvironment(Name);
#if defined(_WIN32)
	_putenv_s(Name.c_str(), "");
#endif
}

/** Every record of the stand-in that the tests read, back to empty and the engine defaults. */
void ResetStandInRecords()
{
	StandInTesting::ClearLogLines();
	StandInTesting::ClearConfigRecords();
	StandInTesting::ClearResolutionRequests();
	StandInTesting::ClearScalabilityApplications();
	StandInTesting::ResetQualityLevels();
	StandInTesting::SetCpuProfilerRecording(false);
	StandInTesting::ClearCpuProfilerScopes();
	EngineTesting::ResetRecords();
}

std::atomic<bool> bChildInputEnded{false};
} // namespace

std::vector<std::uint8_t> Words(std::initializer_list<std::int32_t> Values)
{
	std::vector<std::uint8_t> Bytes;
	for (const std::int32_t Value : Values)
	{
		const auto Word = static_cast<std::uint32_t>(Value);
		for (int Shift = 0; Shift < 32; Shift += 8)
		{
			Bytes.push_back(static_cast<std::uint8_t>(Word >> Shift));
		}
	}
	return Bytes;
}

std::optional<std::vector<GUID>> DecodeShareList(const std::vector<std::uint8_t>& Payload)
{
	if (Payload.size() < 4)
	{
		return std::nullopt;
	}
	std::int32_t Count = 0;
	std::memcpy(&Count, Payload.data(), 4);
	if (Count < 0 || Payload.size() != 4 + 16 * static_cast<std::size_t>(Count))
	{
		return std::nullopt;
	}
	std::vector<GUID> Ids(static_cast<std::size_t>(Count));
	for (std::size_t Index = 0; Index < Ids.size(); ++Index)
	{
		std::memcpy(&Ids[Index], Payload.data() + 4 + 16 * Index, 16);
	}
	return Ids;
}

std::string ShareNameOf(const GUID& LaunchId)
{
	const auto LittleEndian = [](const std::uint8_t* Bytes) {
		return static_cast<unsigned>(Bytes[0]) | (static_cast<unsigned>(Bytes[1]) << 8) | (static_cast<unsigned>(Bytes[2]) << 16) |
			(static_cast<unsigned>(Bytes[3]) << 24);
	};
	char Text[64];
	std::snprintf(Text, sizeof(Text), "%x%x%x%x%x_", static_cast<unsigned>(LaunchId.Data1), static_cast<unsigned>(LaunchId.Data2),
	              static_cast<unsigned>(LaunchId.Data3), LittleEndian(LaunchId.Data4), LittleEndian(LaunchId.Data4 + 4));
	return Text;
}

GUID MakeGuid(std::uint32_t Data1, std::uint16_t Data2, std::uint16_t Data3, std::initializer_list<std::uint8_t> Data4)
{
	GUID Guid;
	Guid.Data1 = Data1;
	Guid.Data2 = Data2;
	Guid.Data3 = Data3;
	std::size_t Index = 0;
	for (const std::uint8_t Byte : Data4)
	{
		if (Index < sizeof(Guid.Data4))
		{
			Guid.Data4[Index++] = Byte;
		}
	}
	return Guid;
}

Korvat::Sandbox::FSandboxOptions SandboxOptions(const TCHAR* RhiName, bool bEditor)
{
	Korvat::Sandbox::FSandboxOptions Options;
	Options.RhiName = RhiName;
	Options.bEditor = bEditor;
	return Options;
}

void ModuleTest::SetUp()
{
	const std::string Name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
	Guard = std::make_unique<Korvat::Testing::Watchdog>(std::chrono::seconds(100), Name);
	IpcRoot = std::make_unique<Korvat::Testing::PrivateIpcRoot>("module");
	std::error_code Error;
	const std::filesystem::path Temporary = std::filesystem::temp_directory_path(Error);
	ChannelDirectory = (Error ? std::filesystem::path("/tmp") : Temporary) /
		("korvat-module-share-" + std::to_string(Korvat::Testing::CurrentProcessId()) + "-" + Name);
	std::filesystem::remove_all(ChannelDirectory, Error);
	SetProcessEnvironment("KORVAT_TEXTURESHARE_DIR", ChannelDirectory.string());
	StandInTesting::SetLogEchoToStderr(false);
	ResetStandInRecords();
}

void ModuleTest::TearDown()
{
	if (Engine)
	{
		Engine->Shutdown();
		Engine.reset();
	}
	Host.reset();
	TextureShareTesting::Reset();
	CoreUObjectTesting::ResetObjects();
	ResetStandInRecords();
	UnsetProcessEnvironment("KORVAT_TEXTURESHARE_DIR");
	std::error_code Error;
	std::filesystem::remove_all(ChannelDirectory, Error);
	IpcRoot.reset();
	Guard.reset();
}

void ModuleTest::StartHost()
{
	Host = std::make_unique<Korvat::Host::HostSimulator>();
	ASSERT_TRUE(Host->Start()) << Host->LastError();
}

void ModuleTest::StartEngine(const Korvat::Sandbox::FSandboxOptions& Options)
{
	Engine = std::make_unique<Korvat::Sandbox::FSandboxEngine>(Options);
	FString Error;
	ASSERT_TRUE(Engine->Start(Error)) << TCHAR_TO_UTF8(*Error);
	ASSERT_NE(Engine->GetModule(), nullptr);
}

void ModuleTest::RunFrames(int Count)
{
	for (int Frame = 0; Frame < Count; ++Frame)
	{
		Engine->RunFrames(1);
		PollHost();
	}
}

void ModuleTest::PollHost()
{
	if (!Host)
	{
		return;
	}
	for (const Korvat::Host::SlotNotice& Notice : Host->Poll())
	{
		Notices.push_back(Notice);
		if (Notice.Kind == Korvat::Host::SlotNotice::EKind::Connected)
		{
			Slot = Notice.Slot;
		}
	}
}

bool ModuleTest::RunUntilConnected()
{
	Slot = Korvat::UE4::NoSlot;
	for (int Frame = 0; Frame < ConnectFrameLimit && Slot == Korvat::UE4::NoSlot; ++Frame)
	{
		RunFrames(1);
		if (Slot == Korvat::UE4::NoSlot)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(1));
		}
	}
	// The module learns that it is connected in the frame after the host saw it open the slot at the latest.
	RunFrames(1);
	return Slot != Korvat::UE4::NoSlot && Engine->GetModule() != nullptr && Engine->GetModule()->IsConnected();
}

FKorvatPlugin& ModuleTest::Module()
{
	FKorvatPlugin* Plugin = Engine ? Engine->GetModule() : nullptr;
	EXPECT_NE(Plugin, nullptr);
	return *Plugin;
}

void ModuleTest::CollectReceived()
{
	if (!Host)
	{
		return;
	}
	PollHost();
	for (Korvat::Host::ReceivedMessage& Message : Host->TakeReceived())
	{
		Received.push_back(std::move(Message));
	}
}

std::vector<std::vector<std::uint8_t>> ModuleTest::PayloadsOf(std::uint32_t Tag)
{
	CollectReceived();
	std::vector<std::vector<std::uint8_t>> Payloads;
	for (const Korvat::Host::ReceivedMessage& Message : Received)
	{
		if (!Message.bMalformed && Message.Tag == Tag)
		{
			Payloads.push_back(Message.Payload);
		}
	}
	return Payloads;
}

void ModuleTest::ForgetReceived()
{
	CollectReceived();
	Received.clear();
}

void ModuleTest::Send(std::uint32_t Tag, const std::vector<std::uint8_t>& Payload)
{
	ASSERT_NE(Slot, Korvat::UE4::NoSlot);
	ASSERT_TRUE(Host->Send(Slot, Tag, Payload)) << Host->LastError();
}

int RunChildModule()
{
	StandInTesting::SetLogEchoToStderr(false);
	std::thread([] {
		for (std::string Line; std::getline(std::cin, Line);)
		{
		}
		bChildInputEnded = true;
	}).detach();

	int ExitCode = 0;
	{
		Korvat::Sandbox::FSandboxEngine Engine;
		FString Error;
		if (!Engine.Start(Error))
		{
			std::printf("child failed: %s\n", TCHAR_TO_UTF8(*Error));
			std::fflush(stdout);
			return 2;
		}
		Engine.StartPlay();
		Engine.RunFrames(1);
		std::printf("child playing\n");
		std::fflush(stdout);
		const auto GiveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
		while (!bChildInputEnded && std::chrono::steady_clock::now() < GiveUp)
		{
			Engine.RunFrames(1);
			std::this_thread::sleep_for(std::chrono::milliseconds(2));
		}
		ExitCode = bChildInputEnded ? 0 : 3;
		Engine.Shutdown();
	}
	std::printf("child done\n");
	std::fflush(stdout);
	return ExitCode;
}

} // namespace Korvat::ModuleTesting
