#include "ValueNames.h"

#include "KorvatValueId.h"

#include <cstdio>

namespace Korvat::Host
{
namespace
{

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
	// The engine's lower-casing changes the ASCII capitals only; every other byte, of UTF-8 or not, stays.
	std::string Out(Name);
	for (char& Char : Out)
	{
		if (Char >= 'A' && Char <= 'Z')
		{
			Char = static_cast<char>(Char + ('a' - 'A'));
		}
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
