// What the host has sent, kept by the link until the next message of the same kind replaces it.
#pragma once

#include "UE4ComCommon.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace Korvat::UE4
{

using Matrix16 = std::array<float, 16>;

/** A 32-bit colour as the engine's FColor lays it out in memory (B, G, R, A). */
struct StoredColor
{
	std::uint8_t B = 0;
	std::uint8_t G = 0;
	std::uint8_t R = 0;
	std::uint8_t A = 0;
};

/** One host method call queued from "EVNT". */
struct QueuedEvent
{
	std::int32_t Id = 0;
	std::int32_t Argument = 0;
};

/**
 * One inbound message as decoded for the store and for the echo. Data points into the message being
 * dispatched (or at Matrix) and is valid only during that dispatch.
 */
struct DecodedMessage
{
	std::uint32_t Tag = 0;
	std::uint32_t Id = 0;
	GUID Identifier;
	const std::uint8_t* Data = nullptr;
	std::int32_t Length = 0;
	double Matrix[16] = {};
};

struct InboundStore
{
	bool CameraChanged = false;
	Matrix16 Camera = {};
	Matrix16 Projection = {};
	std::uint8_t HostVersion[12] = {};
	std::uint8_t Viewports[24] = {};
	std::uint8_t Alpha[8] = {};
	std::vector<std::string> InputPackets;
	std::vector<QueuedEvent> Events;
	std::unordered_map<std::uint32_t, std::int32_t> IntValues;
	std::unordered_map<std::uint32_t, float> FloatValues;
	std::unordered_map<std::uint32_t, std::string> StringValues;
	std::unordered_map<std::uint32_t, bool> BoolValues;
	std::unordered_map<std::uint32_t, std::vector<std::int32_t>> IntArrays;
	std::unordered_map<std::uint32_t, std::vector<float>> FloatArrays;
	std::unordered_map<std::uint32_t, std::wstring> StringArrays;
	std::unordered_map<std::uint32_t, std::vector<std::uint8_t>> BoolArrays;
	std::unordered_map<std::uint32_t, StoredColor> Colors;
	std::map<std::uint32_t, Matrix16> Matrices;
	std::unordered_map<GUID, Matrix16, GuidHash> MatricesByIdentifier;
	/** Identifiers whose matrix changed, each at most once. */
	std::vector<GUID> ChangedIdentifiers;
	std::string HostErrorText;

	/**
	 * Applies a decoded message by its tag; true when the store accepted it (it is then echoed).
	 * Message.Data must hold Message.Length bytes.
	 */
	bool Apply(const DecodedMessage& Message);
};

} // namespace Korvat::UE4
