// The hexadecimal parameter form: a message as a 48-digit key and a hexadecimal value stamped with the
// frame marker, the way values, events and the echo of accepted inbound messages reach the host through
// texture-share parameter maps.
#pragma once

#include "UE4ComCommon.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace Korvat::UE4
{

/** Digits of a key: tag (4 bytes), id (4 bytes, little-endian), identifier (16 bytes), two digits per byte. */
constexpr std::size_t ParameterKeyDigits = 48;

/** Digits of a value carrying PayloadSize bytes after the 4-byte frame marker. */
constexpr std::size_t ParameterValueDigits(std::size_t PayloadSize) noexcept
{
	return 2 * (4 + PayloadSize);
}

namespace ParameterFormDetail
{
inline constexpr char Digits[] = "0123456789ABCDEF";

template <typename CharT>
CharT* WriteByte(CharT* Out, std::uint8_t Byte) noexcept
{
	*Out++ = static_cast<CharT>(Digits[Byte >> 4]);
	*Out++ = static_cast<CharT>(Digits[Byte & 0x0F]);
	return Out;
}

template <typename CharT>
CharT* WriteUInt32(CharT* Out, std::uint32_t Value) noexcept
{
	for (int Shift = 0; Shift < 32; Shift += 8)
	{
		Out = WriteByte(Out, static_cast<std::uint8_t>(Value >> Shift));
	}
	return Out;
}
} // namespace ParameterFormDetail

/**
 * Writes the 48 digits of a key into Out (no terminator). CharT is any character type (char, wchar_t,
 * char16_t), so an engine string buffer can be filled directly.
 *
 * @code
 *   wchar_t Key[ParameterKeyDigits];
 *   WriteParameterKey(Tag::VINT, Id, GUID{}, std::span<wchar_t, ParameterKeyDigits>(Key));
 * @endcode
 */
template <typename CharT>
void WriteParameterKey(std::uint32_t Tag, std::uint32_t Id, const GUID& Identifier, std::span<CharT, ParameterKeyDigits> Out) noexcept
{
	CharT* Cursor = ParameterFormDetail::WriteUInt32(Out.data(), Tag);
	Cursor = ParameterFormDetail::WriteUInt32(Cursor, Id);
	const auto* IdentifierBytes = reinterpret_cast<const std::uint8_t*>(&Identifier);
	for (std::size_t Index = 0; Index < sizeof(GUID); ++Index)
	{
		Cursor = ParameterFormDetail::WriteByte(Cursor, IdentifierBytes[Index]);
	}
}

/**
 * Writes the digits of a value: FrameMarker as a little-endian int32, then the payload bytes. Out must hold
 * ParameterValueDigits(Payload.size()) characters; returns false (writing nothing) when it is smaller.
 */
template <typename CharT>
bool WriteParameterValue(std::int32_t FrameMarker, std::span<const std::uint8_t> Payload, std::span<CharT> Out) noexcept
{
	if (Out.size() < ParameterValueDigits(Payload.size()))
	{
		return false;
	}
	CharT* Cursor = ParameterFormDetail::WriteUInt32(Out.data(), static_cast<std::uint32_t>(FrameMarker));
	for (const std::uint8_t Byte : Payload)
	{
		Cursor = ParameterFormDetail::WriteByte(Cursor, Byte);
	}
	return true;
}

/** Replaces the contents of Out with the key; allocates only while Out's capacity is below 48. */
void FormatParameterKey(std::uint32_t Tag, std::uint32_t Id, const GUID& Identifier, std::string& Out);

/** Replaces the contents of Out with the value; allocates only while Out's capacity is too small. */
void FormatParameterValue(std::int32_t FrameMarker, std::span<const std::uint8_t> Payload, std::string& Out);

std::string MakeParameterKey(std::uint32_t Tag, std::uint32_t Id, const GUID& Identifier = GUID{});
std::string MakeParameterValue(std::int32_t FrameMarker, std::span<const std::uint8_t> Payload);

} // namespace Korvat::UE4
