#include "KorvatNameHash.h"

#include "Containers/StringConv.h"
#include "KorvatPluginLog.h"
#include "KorvatValueId.h"

#include <string_view>

namespace KorvatNameHash
{
namespace
{
/** The id of the empty byte string, from which ids are extended. */
constexpr uint32 EmptyId = 1;

/**
 * Extends Id by the lower-cased characters of Text, which must all be ASCII; stops at a NUL and sets bOutEnded.
 * Returns false, leaving Id unusable, when a character is not ASCII.
 */
bool ExtendWithAscii(uint32& Id, const FString& Text, bool& bOutEnded)
{
	const TCHAR* Chars = Text.GetCharArray().GetData();
	const int32 Length = Text.Len();
	char Chunk[64];
	int32 Used = 0;
	for (int32 Index = 0; Index < Length; ++Index)
	{
		const TCHAR Char = Chars[Index];
		if (Char == 0)
		{
			bOutEnded = true;
			break;
		}
		if (static_cast<uint32>(Char) > 127)
		{
			return false;
		}
		Chunk[Used++] = static_cast<char>(Char >= 'A' && Char <= 'Z' ? Char + ('a' - 'A') : Char);
		if (Used == static_cast<int32>(sizeof(Chunk)))
		{
			Id = Korvat::ExtendValueId(Id, std::string_view(Chunk, Used));
			Used = 0;
		}
	}
	Id = Korvat::ExtendValueId(Id, std::string_view(Chunk, Used));
	return true;
}

/** The engine's way: a lower-cased copy converted to UTF-8, hashed up to the first NUL. */
uint32 ValueIdOfConvertedName(const FString& Name)
{
	const FString Lower = Name.ToLower();
	// An empty name has no characters to hash, whether or not its string kept a buffer from earlier contents.
	if (Lower.GetCharArray().GetData() == nullptr || Lower.IsEmpty())
	{
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Null pointer string passed to string hasher!"));
		return 0;
	}
	const FTCHARToUTF8 Utf8(*Lower);
	if (Utf8.Get() == nullptr)
	{
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Failed to convert string to utf8 in string hasher!"));
		return 0;
	}
	return Korvat::ValueIdOfBytes(reinterpret_cast<const uint8*>(Utf8.Get()), FCStringAnsi::Strlen(Utf8.Get()));
}
} // namespace

uint32 ValueIdOfName(const FString& Name)
{
	if (Name.IsEmpty())
	{
		return ValueIdOfConvertedName(Name);
	}
	// Lower-casing and UTF-8 leave ASCII text as its own lower-case bytes, so it is hashed in place.
	uint32 Id = EmptyId;
	bool bEnded = false;
	return ExtendWithAscii(Id, Name, bEnded) ? Id : ValueIdOfConvertedName(Name);
}

uint32 ValueIdOfField(const FString& NodeName, const FString& FieldName)
{
	uint32 Id = EmptyId;
	bool bEnded = false;
	if (ExtendWithAscii(Id, NodeName, bEnded))
	{
		if (bEnded)
		{
			return Id;
		}
		Id = Korvat::ExtendValueId(Id, ".");
		if (ExtendWithAscii(Id, FieldName, bEnded))
		{
			return Id;
		}
	}
	return ValueIdOfConvertedName(NodeName + TEXT(".") + FieldName);
}
} // namespace KorvatNameHash
