#include "TextureShareChannel.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace
{

void AppendUtf8(std::string& Out, char32_t CodePoint)
{
	if (CodePoint < 0x80)
	{
		Out.push_back(static_cast<char>(CodePoint));
	}
	else if (CodePoint < 0x800)
	{
		Out.push_back(static_cast<char>(0xC0 | (CodePoint >> 6)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
	else if (CodePoint < 0x10000)
	{
		Out.push_back(static_cast<char>(0xE0 | (CodePoint >> 12)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
	else
	{
		Out.push_back(static_cast<char>(0xF0 | (CodePoint >> 18)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
}

// TCHAR is UTF-16 on Windows and UTF-32 elsewhere; both become UTF-8, a lone surrogate as U+FFFD.
std::string ToUtf8(const FString& Text)
{
	std::string Out;
	const TCHAR* Chars = *Text;
	const int32 Length = Text.Len();
	for (int32 Index = 0; Index < Length; ++Index)
	{
		char32_t CodePoint = static_cast<char32_t>(Chars[Index]);
		if (CodePoint >= 0xD800 && CodePoint <= 0xDBFF && Index + 1 < Length && Chars[Index + 1] >= 0xDC00 && Chars[Index + 1] <= 0xDFFF)
		{
			CodePoint = 0x10000 + ((CodePoint - 0xD800) << 10) + (static_cast<char32_t>(Chars[++Index]) - 0xDC00);
		}
		else if ((CodePoint >= 0xD800 && CodePoint <= 0xDFFF) || CodePoint > 0x10FFFF)
		{
			CodePoint = 0xFFFD;
		}
		AppendUtf8(Out, CodePoint);
	}
	return Out;
}

// The four characters that would break the line format are escaped with a backslash.
void AppendEscaped(std::string& Out, const std::string& Text)
{
	for (const char Character : Text)
	{
		switch (Character)
		{
		case '\\': Out += "\\\\"; break;
		case '\n': Out += "\\n"; break;
		case '\r': Out += "\\r"; break;
		case '=': Out += "\\="; break;
		default: Out.push_back(Character); break;
		}
	}
}

std::string SafeFileStem(const FString& ShareName)
{
	std::string Stem = ToUtf8(ShareName);
	for (char& Character : Stem)
	{
		const unsigned char Byte = static_cast<unsigned char>(Character);
		if (Byte < 0x20 || std::string_view("<>:\"/\\|?*").find(Character) != std::string_view::npos)
		{
			Character = '_';
		}
	}
	return Stem;
}

} // namespace

namespace TextureShareChannel
{

std::filesystem::path Directory()
{
	const char* Configured = std::getenv("KORVAT_TEXTURESHARE_DIR");
	if (Configured != nullptr && Configured[0] != '\0')
	{
		return std::filesystem::path(Configured);
	}
	std::error_code Error;
	std::filesystem::path Temporary = std::filesystem::temp_directory_path(Error);
	return (Error ? std::filesystem::path(".") : Temporary) / "korvat-textureshare";
}

std::filesystem::path FileOf(const FString& ShareName)
{
	const std::string FileName = SafeFileStem(ShareName) + ".params";
	return Directory() / std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(FileName.data()), FileName.size()));
}

bool Deliver(const FString& ShareName, uint32 Frame, const TArray<TPair<FString, FString>>& Parameters)
{
	std::string Text = "frame " + std::to_string(Frame) + "\n";
	for (const TPair<FString, FString>& Parameter : Parameters)
	{
		AppendEscaped(Text, ToUtf8(Parameter.Key));
		Text.push_back('=');
		AppendEscaped(Text, ToUtf8(Parameter.Value));
		Text.push_back('\n');
	}

	std::error_code Error;
	const std::filesystem::path Target = FileOf(ShareName);
	std::filesystem::create_directories(Target.parent_path(), Error);
	std::filesystem::path Temporary = Target;
	Temporary += ".tmp";
	{
		std::ofstream File(Temporary, std::ios::binary | std::ios::trunc);
		if (!File.is_open())
		{
			return false;
		}
		File.write(Text.data(), static_cast<std::streamsize>(Text.size()));
		if (!File.good())
		{
			return false;
		}
	}
	std::filesystem::rename(Temporary, Target, Error);
	if (Error)
	{
		// Some platforms refuse to rename over an existing file: remove it and try once more.
		std::filesystem::remove(Target, Error);
		std::filesystem::rename(Temporary, Target, Error);
	}
	return !Error;
}

void Remove(const FString& ShareName)
{
	std::error_code Error;
	std::filesystem::remove(FileOf(ShareName), Error);
}

} // namespace TextureShareChannel
