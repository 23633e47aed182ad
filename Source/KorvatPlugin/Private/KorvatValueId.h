// Value ids: the names of host node fields hashed to 32-bit numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Korvat
{

/**
 * The value id of a name given as its lower-cased UTF-8 bytes: the CRC-32 of the bytes (reflected,
 * polynomial 0xEDB88320, as zlib computes it) with its lowest bit inverted.
 */
std::uint32_t ValueIdOfBytes(const std::uint8_t* Bytes, std::size_t Length) noexcept;

/**
 * Continues a value id over more bytes: the id of the name that Id was made from followed by Suffix.
 * ExtendValueId(ValueIdOf("a"), "_synced") == ValueIdOf("a_synced").
 */
std::uint32_t ExtendValueId(std::uint32_t Id, std::string_view Suffix) noexcept;

/** The id under which the plug-in echoes a host value it took over; 0 stays 0. */
inline std::uint32_t SyncedEchoId(std::uint32_t Id) noexcept
{
	return Id == 0 ? 0 : ExtendValueId(Id, "_synced");
}

} // namespace Korvat
