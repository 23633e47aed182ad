// Results shared by the kernel-object primitives of the platform layer.
#pragma once

#include <cstdint>

namespace Korvat::UE4::Platform
{

/** Outcome of creating or opening a named object. */
enum class [[nodiscard]] OpenResult : std::uint8_t
{
	Ok,
	AlreadyExists, ///< Create found a live object of that name; the handle refers to it.
	NotFound,      ///< No live object of that name (absent, or its creator is gone).
	AccessDenied,
	Failed,
	Unknown,
};

/** Outcome of waiting on a mutex. */
enum class [[nodiscard]] WaitResult : std::uint8_t
{
	Acquired,
	Abandoned, ///< The previous owner ended while holding it; the caller owns it now.
	TimedOut,
	Failed,
	Unknown,
};

/** Outcome of a peek or read on the reading end of a message pipe. */
enum class [[nodiscard]] PipeResult : std::uint8_t
{
	Ok,
	MoreData,     ///< The read filled the buffer and the message goes on.
	Empty,        ///< Nothing is waiting.
	NotConnected, ///< The writer has not connected yet.
	Broken,       ///< The other end has gone and nothing is left to read.
	Failed,
	Unknown,
};

/** Outcome of a write on the writing end of a message pipe. */
enum class [[nodiscard]] WriteResult : std::uint8_t
{
	Completed,
	Pending,   ///< Accepted; the pipe owns a copy until it is delivered.
	Refused,   ///< The pipe refused the write (no reader yet, reader gone, or another error).
	Saturated, ///< Too much is already outstanding; nothing was written.
	Unknown,
};

constexpr const char* ToString(OpenResult Result) noexcept
{
	switch (Result)
	{
	case OpenResult::Ok: return "Ok";
	case OpenResult::AlreadyExists: return "AlreadyExists";
	case OpenResult::NotFound: return "NotFound";
	case OpenResult::AccessDenied: return "AccessDenied";
	case OpenResult::Failed: return "Failed";
	case OpenResult::Unknown: break;
	}
	return "Unknown";
}

constexpr const char* ToString(WaitResult Result) noexcept
{
	switch (Result)
	{
	case WaitResult::Acquired: return "Acquired";
	case WaitResult::Abandoned: return "Abandoned";
	case WaitResult::TimedOut: return "TimedOut";
	case WaitResult::Failed: return "Failed";
	case WaitResult::Unknown: break;
	}
	return "Unknown";
}

constexpr const char* ToString(PipeResult Result) noexcept
{
	switch (Result)
	{
	case PipeResult::Ok: return "Ok";
	case PipeResult::MoreData: return "MoreData";
	case PipeResult::Empty: return "Empty";
	case PipeResult::NotConnected: return "NotConnected";
	case PipeResult::Broken: return "Broken";
	case PipeResult::Failed: return "Failed";
	case PipeResult::Unknown: break;
	}
	return "Unknown";
}

constexpr const char* ToString(WriteResult Result) noexcept
{
	switch (Result)
	{
	case WriteResult::Completed: return "Completed";
	case WriteResult::Pending: return "Pending";
	case WriteResult::Refused: return "Refused";
	case WriteResult::Saturated: return "Saturated";
	case WriteResult::Unknown: break;
	}
	return "Unknown";
}

/** Wait without time limit. */
constexpr std::uint32_t InfiniteWait = 0xFFFFFFFFu;

} // namespace Korvat::UE4::Platform
