// Building the host's messages and describing the plug-in's, readably and as JSON.
#pragma once

#include "UE4ComCommon.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Korvat::Host
{

class ValueNames;

/**
 * Readable one-line description of a message (tag and decoded payload), e.g. `UVER 5.5.3`. A value id that
 * Names knows is shown as its name, with the id after the message: `VINT door.width 5 [id 0xBDFE2769]`;
 * other ids as decimal numbers: `VINT 1 5`.
 */
std::string DescribeMessage(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names = nullptr);

/**
 * The same as one JSON object, e.g. {"tag":"UVER","major":5,"minor":5,"patch":3}. A value id that Names knows
 * keeps its "id" field and gains a "name" field after it.
 */
std::string DescribeMessageJson(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names = nullptr);

/**
 * One parameter of a share object's delivered frame, readably (`share S frame 7: VINT 4072174618 5
 * [id 0xF2B8741A, frame marker 3]`, a known id by name) or as a JSON object with "event":"share". A
 * parameter that is not in the hexadecimal parameter form is shown as its key and value.
 */
std::string DescribeShareParameter(std::string_view ShareName, std::uint32_t Frame, std::string_view Key, std::string_view Value,
                                   const ValueNames* Names, bool bJson);

/** The tag as its four characters, non-printable bytes escaped. */
std::string TagText(std::uint32_t Tag);

/** A GUID as the system formats it: braces, upper-case hexadecimal, 38 characters. */
std::string GuidText(const Korvat::UE4::GUID& Guid);

/** Text as the inside of a JSON string: quotes, backslashes, control bytes and invalid UTF-8 escaped. */
std::string JsonEscape(std::string_view Text);

} // namespace Korvat::Host
