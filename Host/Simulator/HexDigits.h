// Reading hexadecimal digits, shared by the host's script parser, trace reader and share-channel reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace Korvat::Host
{

/** The value of one hexadecimal digit (either letter case), or -1 for any other character. */
constexpr int HexDigitValue(char Char) noexcept
{
	if (Char >= '0' && Char <= '9')
	{
		return Char - '0';
	}
	if (Char >= 'a' && Char <= 'f')
	{
		return Char - 'a' + 10;
	}
	if (Char >= 'A' && Char <= 'F')
	{
		return Char - 'A' + 10;
	}
	return -1;
}

/**
 * Appends the bytes that Digits spells, two digits a byte ("0a1B" gives 0x0A 0x1B); false when Digits has an
 * odd length or a character that is not a digit (Out may then hold the bytes before it).
 */
inline bool AppendHexBytes(std::string_view Digits, std::vector<std::uint8_t>& Out)
{
	if (Digits.size() % 2 != 0)
	{
		return false;
	}
	Out.reserve(Out.size() + Digits.size() / 2);
	for (std::size_t Index = 0; Index < Digits.size(); Index += 2)
	{
		const int High = HexDigitValue(Digits[Index]);
		const int Low = HexDigitValue(Digits[Index + 1]);
		if (High < 0 || Low < 0)
		{
			return false;
		}
		Out.push_back(static_cast<std::uint8_t>(High * 16 + Low));
	}
	return true;
}

} // namespace Korvat::Host
