#include "KorvatValueId.h"

#include <array>
#include <bit>
#include <cstring>

namespace Korvat
{
namespace
{
using FCrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

/**
 * Table 0 is the byte-wise CRC table; table K advances the CRC of a byte by K more zero bytes, so eight
 * lookups, one per byte of an eight-byte block, advance the CRC over the whole block at once.
 */
constexpr FCrcTables MakeCrcTables()
{
	FCrcTables Tables{};
	for (std::uint32_t Index = 0; Index < 256; ++Index)
	{
		std::uint32_t Value = Index;
		for (int Bit = 0; Bit < 8; ++Bit)
		{
			Value = (Value & 1u) ? (Value >> 1) ^ 0xEDB88320u : Value >> 1;
		}
		Tables[0][Index] = Value;
	}
	for (std::size_t Table = 1; Table < Tables.size(); ++Table)
	{
		for (std::size_t Index = 0; Index < 256; ++Index)
		{
			const std::uint32_t Previous = Tables[Table - 1][Index];
			Tables[Table][Index] = (Previous >> 8) ^ Tables[0][Previous & 0xFFu];
		}
	}
	return Tables;
}

constexpr FCrcTables CrcTables = MakeCrcTables();

// The running CRC state and a value id differ only in the final exclusive or.
constexpr std::uint32_t IdMask = 0xFFFFFFFEu;

/** Four bytes as a little-endian number, whatever the machine's byte order. */
std::uint32_t LoadLittleEndian(const std::uint8_t* Bytes) noexcept
{
	std::uint32_t Value;
	std::memcpy(&Value, Bytes, sizeof(Value));
	if constexpr (std::endian::native == std::endian::big)
	{
		Value = ((Value & 0xFFu) << 24) | ((Value & 0xFF00u) << 8) | ((Value >> 8) & 0xFF00u) | (Value >> 24);
	}
	return Value;
}

std::uint32_t Continue(std::uint32_t State, const std::uint8_t* Bytes, std::size_t Length) noexcept
{
	for (; Length >= 8; Bytes += 8, Length -= 8)
	{
		const std::uint32_t Low = State ^ LoadLittleEndian(Bytes);
		const std::uint32_t High = LoadLittleEndian(Bytes + 4);
		State = CrcTables[7][Low & 0xFFu] ^ CrcTables[6][(Low >> 8) & 0xFFu] ^ CrcTables[5][(Low >> 16) & 0xFFu] ^
		        CrcTables[4][Low >> 24] ^ CrcTables[3][High & 0xFFu] ^ CrcTables[2][(High >> 8) & 0xFFu] ^
		        CrcTables[1][(High >> 16) & 0xFFu] ^ CrcTables[0][High >> 24];
	}
	for (; Length > 0; ++Bytes, --Length)
	{
		State = (State >> 8) ^ CrcTables[0][(State ^ *Bytes) & 0xFFu];
	}
	return State;
}
} // namespace

std::uint32_t ValueIdOfBytes(const std::uint8_t* Bytes, std::size_t Length) noexcept
{
	return Continue(0xFFFFFFFFu, Bytes, Length) ^ IdMask;
}

std::uint32_t ExtendValueId(std::uint32_t Id, std::string_view Suffix) noexcept
{
	return Continue(Id ^ IdMask, reinterpret_cast<const std::uint8_t*>(Suffix.data()), Suffix.size()) ^ IdMask;
}

} // namespace Korvat
