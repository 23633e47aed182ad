// Reads what a plug-in publishes in its texture-share parameters, as the host would receive it.
//
// On this machine the engine's TextureShare transport is stood in by a folder of small text files, one per
// share object, named after the object plus ".params" and rewritten atomically (temporary file, then
// rename) on every frame that delivered parameters. The folder is $KORVAT_TEXTURESHARE_DIR, or
// <system temporary folder>/korvat-textureshare when that variable is unset or empty. A file reads:
//
//     frame 42
//     56494E54010000000000000000000000000000000000000000=1000000005000000
//     ...
//
// the first line gives the share object's frame number, each following line one parameter "<key>=<value>"
// in the order the parameter map held them. A backslash escapes the four characters that would break the
// format: "\\" for a backslash, "\n" and "\r" for line breaks, "\=" for an equals sign. The parameters the
// plug-in publishes use the hexadecimal parameter form (48 key digits: tag, little-endian id, identifier;
// value digits: little-endian int32 frame marker, then the payload) and never need escaping.
//
// This reader uses only the standard library, so the host side does not depend on the stand-in engine.
//
// @code
//   std::vector<std::string> Names;
//   ListShareObjects(ShareChannelDirectory(), Names);
//   ShareChannelFrame Frame;
//   if (ReadShareObject(ShareChannelDirectory(), Names.front(), Frame) == ShareChannelResult::Ok)
//       for (const auto& [Key, Value] : Frame.Parameters)
//       {
//           ShareParameter Parameter;
//           if (DecodeShareParameter(Key, Value, Parameter)) { ... }
//       }
// @endcode
#pragma once

#include "UE4ComCommon.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Korvat::Host
{

/** Outcome of reading one share object's file. */
enum class [[nodiscard]] ShareChannelResult : std::uint8_t
{
	Ok,
	NotFound,  ///< No file for that share object (never published, or removed).
	Malformed, ///< The file exists but its first line is not "frame <N>" or a parameter line has no '='.
	Unknown,   ///< The file could not be read for another reason.
};

constexpr const char* ToString(ShareChannelResult Result) noexcept
{
	switch (Result)
	{
	case ShareChannelResult::Ok: return "Ok";
	case ShareChannelResult::NotFound: return "NotFound";
	case ShareChannelResult::Malformed: return "Malformed";
	case ShareChannelResult::Unknown: return "Unknown";
	}
	return "Unknown";
}

/** The suffix of a share object's file. */
inline constexpr std::string_view ShareChannelFileSuffix = ".params";

/** The environment variable naming the channel's folder. */
inline constexpr const char* ShareChannelDirectoryVariable = "KORVAT_TEXTURESHARE_DIR";

/** One delivered frame of a share object: its frame number and its parameters in map order. */
struct ShareChannelFrame
{
	std::uint32_t Frame = 0;
	std::vector<std::pair<std::string, std::string>> Parameters;
};

/** One parameter decoded from the hexadecimal parameter form. */
struct ShareParameter
{
	std::uint32_t Tag = 0;
	std::uint32_t Id = 0;
	Korvat::UE4::GUID Identifier;
	std::int32_t FrameMarker = 0;
	std::vector<std::uint8_t> Payload;
};

/**
 * @brief The channel's folder: $KORVAT_TEXTURESHARE_DIR if set and not empty, else
 *        <system temporary folder>/korvat-textureshare. Does not create it.
 */
std::filesystem::path ShareChannelDirectory();

/**
 * @brief Names of the share objects that have a file in Directory (file names without ".params"), sorted.
 *        Temporary files of a rewrite in progress are not listed. A missing folder gives an empty list.
 * @return false only when the folder exists but cannot be listed.
 */
bool ListShareObjects(const std::filesystem::path& Directory, std::vector<std::string>& OutNames) noexcept;

/**
 * @brief Reads the last delivered frame of the share object ShareName from Directory.
 * @param OutFrame replaced on Ok, left unchanged otherwise.
 */
ShareChannelResult ReadShareObject(const std::filesystem::path& Directory, std::string_view ShareName, ShareChannelFrame& OutFrame) noexcept;

/**
 * @brief Parses the text of one share object's file (the format above); ReadShareObject's parser.
 * @return Ok or Malformed.
 */
ShareChannelResult ParseShareObject(std::string_view Text, ShareChannelFrame& OutFrame) noexcept;

/**
 * @brief Decodes one parameter of the hexadecimal form. Digits may be upper or lower case.
 * @return false, leaving Out unchanged, when the key is not exactly 48 hexadecimal digits or the value is
 *         not an even number of at least 8 hexadecimal digits.
 */
bool DecodeShareParameter(std::string_view Key, std::string_view Value, ShareParameter& Out) noexcept;

} // namespace Korvat::Host
