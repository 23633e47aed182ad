#include "ShareChannel.h"

#include "HexDigits.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace Korvat::Host
{
namespace
{

std::uint32_t ReadLittleEndian32(const std::uint8_t* Bytes) noexcept
{
	return static_cast<std::uint32_t>(Bytes[0]) | (static_cast<std::uint32_t>(Bytes[1]) << 8) |
		(static_cast<std::uint32_t>(Bytes[2]) << 16) | (static_cast<std::uint32_t>(Bytes[3]) << 24);
}

// Undoes the writer's escapes; the first unescaped '=' ends a key, so keys stop there.
std::string Unescape(std::string_view Text)
{
	std::string Out;
	Out.reserve(Text.size());
	for (std::size_t Index = 0; Index < Text.size(); ++Index)
	{
		if (Text[Index] == '\\' && Index + 1 < Text.size())
		{
			const char Next = Text[++Index];
			Out.push_back(Next == 'n' ? '\n' : Next == 'r' ? '\r' : Next);
		}
		else
		{
			Out.push_back(Text[Index]);
		}
	}
	return Out;
}

std::size_t FindUnescapedEquals(std::string_view Line) noexcept
{
	for (std::size_t Index = 0; Index < Line.size(); ++Index)
	{
		if (Line[Index] == '\\')
		{
			++Index;
		}
		else if (Line[Index] == '=')
		{
			return Index;
		}
	}
	return std::string_view::npos;
}

} // namespace

std::filesystem::path ShareChannelDirectory()
{
	const char* Configured = std::getenv(ShareChannelDirectoryVariable);
	if (Configured != nullptr && Configured[0] != '\0')
	{
		return std::filesystem::path(Configured);
	}
	std::error_code Error;
	std::filesystem::path Temporary = std::filesystem::temp_directory_path(Error);
	if (Error)
	{
		Temporary = std::filesystem::path(".");
	}
	return Temporary / "korvat-textureshare";
}

bool ListShareObjects(const std::filesystem::path& Directory, std::vector<std::string>& OutNames) noexcept
{
	try
	{
		OutNames.clear();
		std::error_code Error;
		if (!std::filesystem::exists(Directory, Error))
		{
			return !Error;
		}
		std::filesystem::directory_iterator Iterator(Directory, Error);
		if (Error)
		{
			return false;
		}
		for (const std::filesystem::directory_entry& Entry : Iterator)
		{
			const std::string FileName = Entry.path().filename().string();
			// Temporary files of a rewrite in progress end in ".params.tmp" and are not share objects.
			if (FileName.size() > ShareChannelFileSuffix.size() && FileName.ends_with(ShareChannelFileSuffix) && Entry.is_regular_file(Error))
			{
				OutNames.push_back(FileName.substr(0, FileName.size() - ShareChannelFileSuffix.size()));
			}
		}
		std::sort(OutNames.begin(), OutNames.end());
		return true;
	}
	catch (...)
	{
		return false;
	}
}

ShareChannelResult ParseShareObject(std::string_view Text, ShareChannelFrame& OutFrame) noexcept
{
	try
	{
		ShareChannelFrame Parsed;
		std::size_t LineStart = 0;
		bool bHaveFrame = false;
		while (LineStart < Text.size())
		{
			std::size_t LineEnd = Text.find('\n', LineStart);
			if (LineEnd == std::string_view::npos)
			{
				LineEnd = Text.size();
			}
			std::string_view Line = Text.substr(LineStart, LineEnd - LineStart);
			LineStart = LineEnd + 1;
			if (!Line.empty() && Line.back() == '\r')
			{
				Line.remove_suffix(1);
			}
			if (!bHaveFrame)
			{
				constexpr std::string_view FramePrefix = "frame ";
				if (!Line.starts_with(FramePrefix))
				{
					return ShareChannelResult::Malformed;
				}
				const std::string_view Number = Line.substr(FramePrefix.size());
				const auto [End, Error] = std::from_chars(Number.data(), Number.data() + Number.size(), Parsed.Frame);
				if (Error != std::errc() || End != Number.data() + Number.size() || Number.empty())
				{
					return ShareChannelResult::Malformed;
				}
				bHaveFrame = true;
				continue;
			}
			if (Line.empty())
			{
				continue;
			}
			const std::size_t Equals = FindUnescapedEquals(Line);
			if (Equals == std::string_view::npos)
			{
				return ShareChannelResult::Malformed;
			}
			Parsed.Parameters.emplace_back(Unescape(Line.substr(0, Equals)), Unescape(Line.substr(Equals + 1)));
		}
		if (!bHaveFrame)
		{
			return ShareChannelResult::Malformed;
		}
		OutFrame = std::move(Parsed);
		return ShareChannelResult::Ok;
	}
	catch (...)
	{
		return ShareChannelResult::Unknown;
	}
}

ShareChannelResult ReadShareObject(const std::filesystem::path& Directory, std::string_view ShareName, ShareChannelFrame& OutFrame) noexcept
{
	try
	{
		const std::filesystem::path FilePath = Directory / (std::string(ShareName) + std::string(ShareChannelFileSuffix));
		std::ifstream File(FilePath, std::ios::binary);
		if (!File.is_open())
		{
			std::error_code Error;
			return std::filesystem::exists(FilePath, Error) ? ShareChannelResult::Unknown : ShareChannelResult::NotFound;
		}
		const std::string Text((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
		if (File.bad())
		{
			return ShareChannelResult::Unknown;
		}
		return ParseShareObject(Text, OutFrame);
	}
	catch (...)
	{
		return ShareChannelResult::Unknown;
	}
}

bool DecodeShareParameter(std::string_view Key, std::string_view Value, ShareParameter& Out) noexcept
{
	try
	{
		constexpr std::size_t KeyDigits = 48;
		constexpr std::size_t MarkerDigits = 8;
		std::vector<std::uint8_t> KeyBytes;
		std::vector<std::uint8_t> ValueBytes;
		if (Key.size() != KeyDigits || Value.size() < MarkerDigits || !AppendHexBytes(Key, KeyBytes) || !AppendHexBytes(Value, ValueBytes))
		{
			return false;
		}
		ShareParameter Decoded;
		Decoded.Tag = ReadLittleEndian32(KeyBytes.data());
		Decoded.Id = ReadLittleEndian32(KeyBytes.data() + 4);
		std::memcpy(&Decoded.Identifier, KeyBytes.data() + 8, sizeof(Decoded.Identifier));
		Decoded.FrameMarker = static_cast<std::int32_t>(ReadLittleEndian32(ValueBytes.data()));
		Decoded.Payload.assign(ValueBytes.begin() + 4, ValueBytes.end());
		Out = std::move(Decoded);
		return true;
	}
	catch (...)
	{
		return false;
	}
}

} // namespace Korvat::Host
