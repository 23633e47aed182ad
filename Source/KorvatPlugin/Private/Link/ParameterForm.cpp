#include "ParameterForm.h"

namespace Korvat::UE4
{

void FormatParameterKey(std::uint32_t Tag, std::uint32_t Id, const GUID& Identifier, std::string& Out)
{
	Out.resize(ParameterKeyDigits);
	WriteParameterKey(Tag, Id, Identifier, std::span<char, ParameterKeyDigits>(Out.data(), ParameterKeyDigits));
}

void FormatParameterValue(std::int32_t FrameMarker, std::span<const std::uint8_t> Payload, std::string& Out)
{
	Out.resize(ParameterValueDigits(Payload.size()));
	(void)WriteParameterValue(FrameMarker, Payload, std::span<char>(Out));
}

std::string MakeParameterKey(std::uint32_t Tag, std::uint32_t Id, const GUID& Identifier)
{
	std::string Key;
	FormatParameterKey(Tag, Id, Identifier, Key);
	return Key;
}

std::string MakeParameterValue(std::int32_t FrameMarker, std::span<const std::uint8_t> Payload)
{
	std::string Value;
	FormatParameterValue(FrameMarker, Payload, Value);
	return Value;
}

} // namespace Korvat::UE4
