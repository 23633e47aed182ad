// Reading hexadecimal digits, shared by the host's script parser, trace reader and share-channel reader.
#pragma once

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

} // namespace Korvat::Host
