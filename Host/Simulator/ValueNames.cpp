#include "ValueNames.h"

#include "KorvatValueId.h"

#include <cstdio>

namespace Korvat::Host
{
namespace
{

/** The lower-case form of one code point, for the scripts the host's users name nodes in. */
char32_t LowerCodePoint(char32_t Code)
{
	if ((Code >= U'A' && Code <= U'Z') || (Code >= 0xC0 && Code <= 0xDE && Code != 0xD7) ||
	    (Code >= 0x391 && Code <= 0x3A9 && Code != 0x3A2) || (Code >= 0x410 && Code <= 0x42F))
	{
		return Code + 0x20;
	}
	if (Code >= 0x400 && Code <= 0x40F)
	{
		return Code + 0x50;
	}
	// Latin Extended-A pairs its capitals with the next code point: even capitals up to U+0137 and from U+014A,
	// odd ones from U+0139 to U+0148 and from U+0179; U+0130 and U+0138 have no such partner.
	const bool bEvenCapital = (Code >= 0x100 && Code <= 0x137 && Code != 0x130) || (Code >= 0x14A && Code <= 0x177);
	const bool bOddCapital = (Code >= 0x139 && Code <= 0x148) || (Code >= 0x179 && Code <= 0x17E);
	if ((bEvenCapital && Code % 2 == 0) || (bOddCapital && Code % 2 == 1))
	{
		return Code + 1;
	}
	return Code == 0x178 ? 0xFF : Code;
}

/** The length of the well-formed UTF-8 sequence at Text[Index] and its code point; 0 when it is not one. */
std::size_t DecodeUtf8(std::string_view Text, std::size_t Index, char32_t& Code)
{
	const auto Lead = static_cast<unsigned char>(Text[Index]);
	const std::size_t Length = Lead < 0x80             ? 1
	                           : (Lead & 0xE0) == 0xC0 ? 2
	                           : (Lead & 0xF0) == 0xE0 ? 3
	                           : (Lead & 0xF8) == 0xF0 ? 4
	                                                   : 0;
	if (Length == 0 || Index + Length > Text.size())
	{
		return 0;
	}
	Code = Length == 1 ? Lead : Lead & (0x7F >> Length);
	for (std::size_t Next = 1; Next < Length; ++Next)
	{
		const auto Byte = static_cast<unsigned char>(Text[Index + Next]);
		if ((Byte & 0xC0) != 0x80)
		{
			return 0;
		}
		Code = (Code << 6) | (Byte & 0x3F);
	}
	const char32_t Least = Length == 2 ? 0x80 : Length == 3 ? 0x800 : 0x10000;
	const bool bOverlong = Length > 1 && Code < Least;
	return bOverlong || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF) ? 0 : Length;
}

void AppendUtf8(std::string& Out, char32_t Code)
{
	// Only code points below U+0800 change case here, so one or two bytes always suffice.
	if (Code < 0x80)
	{
		Out.push_back(static_cast<char>(Code));
	}
	else
	{
		Out.push_back(static_cast<char>(0xC0 | (Code >> 6)));
		Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
	}
}

bool IsDigits(std::string_view Text, bool bHexadecimal)
{
	if (Text.empty())
	{
		return false;
	}
	for (const char Char : Text)
	{
		const bool bDecimal = Char >= '0' && Char <= '9';
		const bool bHexLetter = (Char >= 'a' && Char <= 'f') || (Char >= 'A' && Char <= 'F');
		if (!bDecimal && !(bHexadecimal && bHexLetter))
		{
			return false;
		}
	}
	return true;
}

} // namespace

std::string LowerCaseName(std::string_view Name)
{
	std::string Out;
	Out.reserve(Name.size());
	for (std::size_t Index = 0; Index < Name.size();)
	{
		char32_t Code = 0;
		const std::size_t Length = DecodeUtf8(Name, Index, Code);
		const char32_t Lower = Length == 0 ? Code : LowerCodePoint(Code);
		if (Length == 0 || Lower == Code)
		{
			const std::size_t Kept = Length == 0 ? 1 : Length;
			Out.append(Name.substr(Index, Kept));
			Index += Kept;
			continue;
		}
		AppendUtf8(Out, Lower);
		Index += Length;
	}
	return Out;
}

std::uint32_t ValueIdOfName(std::string_view Name)
{
	const std::string Lower = LowerCaseName(Name);
	return Korvat::ValueIdOfBytes(reinterpret_cast<const std::uint8_t*>(Lower.data()), Lower.size());
}

bool IsNumberWord(std::string_view Word)
{
	if (!Word.empty() && (Word[0] == '-' || Word[0] == '+'))
	{
		Word.remove_prefix(1);
	}
	if (Word.size() > 2 && Word[0] == '0' && (Word[1] == 'x' || Word[1] == 'X'))
	{
		return IsDigits(Word.substr(2), true);
	}
	return IsDigits(Word, false);
}

std::string IdText(std::uint32_t Id)
{
	char Buffer[16];
	std::snprintf(Buffer, sizeof(Buffer), "0x%08X", static_cast<unsigned>(Id));
	return Buffer;
}

std::uint32_t ValueNames::Add(std::string_view Name)
{
	const std::uint32_t Id = ValueIdOfName(Name);
	ById.try_emplace(Id, Name);
	ById.try_emplace(Korvat::SyncedEchoId(Id), std::string(Name) + "_synced");
	return Id;
}

const std::string* ValueNames::Find(std::uint32_t Id) const
{
	const auto Found = ById.find(Id);
	return Found == ById.end() ? nullptr : &Found->second;
}

} // namespace Korvat::Host
