// The names behind value ids: a value id is the hash of a lower-cased name ("door.width" for a field, "door.open"
// for a method or event, "cam" for a transform), and the plug-in echoes a host value under the id of the name
// followed by "_synced". The host tool takes names wherever an id goes and prints the names it knows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Korvat::Host
{

/**
 * The name as it is hashed: lower-cased as the engine lowers names, which changes the ASCII capitals only; every
 * other character (Ä, Σ, Я) and any byte that is not part of well-formed UTF-8 is kept as written.
 */
std::string LowerCaseName(std::string_view Name);

/** The value id of a name: the value-id hash of its lower-cased UTF-8 bytes. */
std::uint32_t ValueIdOfName(std::string_view Name);

/**
 * True when Word is written as a number (decimal digits, or 0x and hexadecimal digits, optionally after a
 * sign), whether or not it fits an id: such a word is never taken as a name.
 */
bool IsNumberWord(std::string_view Word);

/** An id as the tool prints it next to a name: 0x and eight upper-case hexadecimal digits. */
std::string IdText(std::uint32_t Id);

/** The names the host knows for value ids. */
class ValueNames
{
public:
	/**
	 * Registers Name and its echo name (Name + "_synced"); returns Name's id. An id keeps the first name given
	 * for it: names that differ only in letter case share an id and print as first written.
	 */
	std::uint32_t Add(std::string_view Name);

	/** The name of Id, or null when none is known. */
	const std::string* Find(std::uint32_t Id) const;

	std::size_t Size() const { return ById.size(); }

private:
	std::unordered_map<std::uint32_t, std::string> ById;
};

} // namespace Korvat::Host
