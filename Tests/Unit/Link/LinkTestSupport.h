// Building wire messages byte by byte for the link's tests.
#pragma once

#include "UE4ComCommon.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace Korvat::UE4::Testing
{

/** A message under construction: the tag's four characters, then whatever is appended, little-endian. */
class MessageBytes
{
public:
	explicit MessageBytes(std::string_view Tag) { Raw(Tag); }
	MessageBytes() = default;

	MessageBytes& U8(std::uint8_t Value)
	{
		Bytes.push_back(Value);
		return *this;
	}
	MessageBytes& U32(std::uint32_t Value)
	{
		for (int Shift = 0; Shift < 32; Shift += 8)
		{
			Bytes.push_back(static_cast<std::uint8_t>(Value >> Shift));
		}
		return *this;
	}
	MessageBytes& I32(std::int32_t Value) { return U32(static_cast<std::uint32_t>(Value)); }
	MessageBytes& I64(std::int64_t Value)
	{
		U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(Value)));
		return U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(Value) >> 32));
	}
	MessageBytes& F32(float Value)
	{
		std::uint32_t Bits;
		std::memcpy(&Bits, &Value, sizeof(Bits));
		return U32(Bits);
	}
	MessageBytes& Floats(std::initializer_list<float> Values)
	{
		for (float Value : Values)
		{
			F32(Value);
		}
		return *this;
	}
	MessageBytes& Guid(const GUID& Value)
	{
		const auto* Raw = reinterpret_cast<const std::uint8_t*>(&Value);
		Bytes.insert(Bytes.end(), Raw, Raw + sizeof(GUID));
		return *this;
	}
	MessageBytes& Raw(std::string_view Text)
	{
		Bytes.insert(Bytes.end(), Text.begin(), Text.end());
		return *this;
	}
	MessageBytes& Zeros(std::size_t Count)
	{
		Bytes.insert(Bytes.end(), Count, 0);
		return *this;
	}
	/** Drops the last Count bytes (to cut a message short). */
	MessageBytes& Cut(std::size_t Count)
	{
		Bytes.resize(Bytes.size() - Count);
		return *this;
	}

	const std::vector<std::uint8_t>& Get() const { return Bytes; }
	operator const std::vector<std::uint8_t>&() const { return Bytes; }

private:
	std::vector<std::uint8_t> Bytes;
};

/** A GUID whose 16 bytes are Seed, Seed+1, ... */
inline GUID MakeGuid(std::uint8_t Seed)
{
	GUID Value;
	auto* Raw = reinterpret_cast<std::uint8_t*>(&Value);
	for (std::uint8_t Index = 0; Index < sizeof(GUID); ++Index)
	{
		Raw[Index] = static_cast<std::uint8_t>(Seed + Index);
	}
	return Value;
}

/** Sixteen floats Base, Base+1, ... */
inline std::vector<float> CountingMatrix(float Base)
{
	std::vector<float> Values(16);
	for (int Index = 0; Index < 16; ++Index)
	{
		Values[static_cast<std::size_t>(Index)] = Base + static_cast<float>(Index);
	}
	return Values;
}

} // namespace Korvat::UE4::Testing

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace Korvat::UE4::Testing
{

/**
 * Gives a test its own namespace of named objects. With the POSIX backend that is a fresh folder named by
 * KORVAT_IPC_ROOT; under Windows names are machine-wide, so tests there rely on cleaning up after themselves.
 */
class IpcNamespace
{
public:
	IpcNamespace()
	{
#if !defined(_WIN32)
		static std::atomic<int> Counter{0};
		Root = "/dev/shm/korvat-linktest-" + std::to_string(::getpid()) + "-" + std::to_string(Counter++);
		std::filesystem::remove_all(Root);
		std::filesystem::create_directories(Root);
		std::filesystem::permissions(Root, std::filesystem::perms::owner_all);
		::setenv("KORVAT_IPC_ROOT", Root.c_str(), 1);
#endif
	}
	~IpcNamespace()
	{
#if !defined(_WIN32)
		std::error_code Ignored;
		std::filesystem::remove_all(Root, Ignored);
		::unsetenv("KORVAT_IPC_ROOT");
#endif
	}
	IpcNamespace(const IpcNamespace&) = delete;
	IpcNamespace& operator=(const IpcNamespace&) = delete;

private:
	std::string Root;
};

/** Runs Work on another thread; false if it has not finished within Limit (the thread is then left behind). */
template <typename FWork>
bool FinishesOnAnotherThread(FWork Work, std::chrono::milliseconds Limit = std::chrono::seconds(5))
{
	auto Done = std::make_shared<std::promise<void>>();
	std::future<void> Finished = Done->get_future();
	std::thread([Work, Done]() mutable {
		Work();
		Done->set_value();
	}).detach();
	return Finished.wait_for(Limit) == std::future_status::ready;
}

} // namespace Korvat::UE4::Testing
