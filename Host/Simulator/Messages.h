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

/** Readable one-line description of a message (tag and decoded payload), e.g. `UVER 5.5.3`. */
std::string DescribeMessage(std::uint32_t Tag, std::span<const std::uint8_t> Payload);

/** The same as one JSON object, e.g. {"tag":"UVER","major":5,"minor":5,"patch":3}. */
std::string DescribeMessageJson(std::uint32_t Tag, std::span<const std::uint8_t> Payload);

/** The tag as its four characters, non-printable bytes escaped. */
std::string TagText(std::uint32_t Tag);

/** A GUID as the system formats it: braces, upper-case hexadecimal, 38 characters. */
std::string GuidText(const Korvat::UE4::GUID& Guid);

/** Text as the inside of a JSON string: quotes, backslashes, control bytes and invalid UTF-8 escaped. */
std::string JsonEscape(std::string_view Text);

} // namespace Korvat::Host
