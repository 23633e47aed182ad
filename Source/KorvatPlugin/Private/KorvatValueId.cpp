#include "KorvatValueId.h"

#include <array>

namespace Korvat
{
namespace
{
constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
	std::array<std::uint32_t, 256> Table{};
	for (std::uint32_t Index = 0; Index < 256; ++Index)
	{
		std::uint32_t Value = Index;
		for (int Bit = 0; Bit < 8; ++Bit)
		{
			Value = (Value & 1u) ? (Value >> 1) ^ 0xEDB88320u : Value >> 1;
		}
		Table[Index] = Value;
	}
	return Table;
}

constexpr std::array<std::uint32_t, 256> CrcTable = MakeCrcTable();

// The running CRC state and a value id differ only in the final exclusive or.
constexpr std::uint32_t IdMask = 0xFFFFFFFEu;

std::uint32_t Continue(std::uint32_t State, const std::uint8_t* Bytes, std::size_t Length) noexcept
{
	for (std::size_t Index = 0; Index < Length; ++Index)
	{
		State = (State >> 8) ^ CrcTable[(State ^ Bytes[Index]) & 0xFFu];
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
