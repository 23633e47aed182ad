// Shared pieces of the runtime module's tests: a fixture that gives each test a private named-object root and
// TextureShare channel folder, an in-process host simulator and the module in the sandbox engine, and resets
// the stand-in engine's records before and after; plus the child process that plays an Unreal instance the
// host started with a launch id.
#pragma once

#include "ChildProcess.h"
#include "HostSimulator.h"
#include "SandboxEngine.h"
#include "UE4ComCommon.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FKorvatPlugin;

namespace Korvat::ModuleTesting
{

using Korvat::UE4::GUID;

/** The first argument that makes the test program play an Unreal instance started by the host. */
constexpr const char* ChildModuleFlag = "--child-module";

/**
 * The child: loads the module into the sandbox engine, starts a game, and runs frames until its standard
 * input ends; then shuts the engine down and prints "child done". Prints "child playing" once the game runs.
 */
int RunChildModule();

/** Payload bytes of plain little-endian 32-bit words. */
std::vector<std::uint8_t> Words(std::initializer_list<std::int32_t> Values);

/** The GUIDs of a TSHR payload, or nothing when the payload is not count + 16-byte GUIDs. */
std::optional<std::vector<GUID>> DecodeShareList(const std::vector<std::uint8_t>& Payload);

/** The share object name of a launch id, formatted independently of the module ("%x" of five words, then "_"). */
std::string ShareNameOf(const GUID& LaunchId);

/** A 16-byte GUID from its Windows fields. */
GUID MakeGuid(std::uint32_t Data1, std::uint16_t Data2, std::uint16_t Data3, std::initializer_list<std::uint8_t> Data4);

/** Sandbox options for a back end and engine kind. */
Korvat::Sandbox::FSandboxOptions SandboxOptions(const TCHAR* RhiName, bool bEditor = false);

class ModuleTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	/** Starts the in-process host simulator (auto-accepting). */
	void StartHost();
	/** Loads the module and starts the engine with Options. */
	void StartEngine(const Korvat::Sandbox::FSandboxOptions& Options = {});
	/** Runs Count frames, polling the host after each. */
	void RunFrames(int Count = 1);
	/** Runs frames until the host notices the module connected; false if it never does. */
	bool RunUntilConnected();
	/** The module object (fails the test when there is none). */
	FKorvatPlugin& Module();

	/** Lets the host accept, notice and read; remembers the slot of a new connection. */
	void PollHost();
	/** Polls the host and moves what it received so far into Received. */
	void CollectReceived();
	/** Payloads of the messages with Tag in Received, oldest first. */
	std::vector<std::vector<std::uint8_t>> PayloadsOf(std::uint32_t Tag);
	/** Forgets what the host received so far. */
	void ForgetReceived();
	/** Sends a message on the module's connection. */
	void Send(std::uint32_t Tag, const std::vector<std::uint8_t>& Payload);

	std::unique_ptr<Korvat::Testing::PrivateIpcRoot> IpcRoot;
	std::unique_ptr<Korvat::Testing::Watchdog> Guard;
	std::filesystem::path ChannelDirectory;
	std::unique_ptr<Korvat::Host::HostSimulator> Host;
	std::unique_ptr<Korvat::Sandbox::FSandboxEngine> Engine;
	std::uint32_t Slot = Korvat::UE4::NoSlot;
	std::vector<Korvat::Host::SlotNotice> Notices;
	std::vector<Korvat::Host::ReceivedMessage> Received;
};

} // namespace Korvat::ModuleTesting
