#include "InputPackets.h"

#include <cstdio>
#include <cstring>

namespace Korvat::Host
{

namespace
{

constexpr std::uint8_t BundleHeader[8] = {'#', 'b', 'u', 'n', 'd', 'l', 'e', 0};

struct FButtonName
{
	std::uint32_t Bit;
	const char* Name;
};

/** In the order the plug-in visits them. */
constexpr FButtonName ButtonNames[] = {
    {0x100000u, "left"}, {0x200000u, "right"}, {0x400000u, "middle"}, {0x800000u, "thumb1"}, {0x1000000u, "thumb2"},
};

void PutBigEndian(std::vector<std::uint8_t>& Out, std::uint64_t Value, int Bytes)
{
	for (int Index = Bytes - 1; Index >= 0; --Index)
	{
		Out.push_back(static_cast<std::uint8_t>(Value >> (8 * Index)));
	}
}

/** Text, its NUL, and NULs up to a multiple of 4 bytes. */
void PutPadded(std::vector<std::uint8_t>& Out, std::string_view Text)
{
	Out.insert(Out.end(), Text.begin(), Text.end());
	Out.push_back(0);
	while (Out.size() % 4 != 0)
	{
		Out.push_back(0);
	}
}

std::uint64_t GetBigEndian(std::span<const std::uint8_t> Bytes, std::size_t Offset, int Count)
{
	std::uint64_t Value = 0;
	for (int Index = 0; Index < Count; ++Index)
	{
		Value = (Value << 8) | Bytes[Offset + static_cast<std::size_t>(Index)];
	}
	return Value;
}

/** A NUL-ended text item at Offset that, padded, ends at or before End; Next is past the padding. */
bool PaddedText(std::span<const std::uint8_t> Bytes, std::size_t Offset, std::size_t End, std::string_view& Text,
                std::size_t& Next)
{
	std::size_t Zero = Offset;
	while (Zero < End && Bytes[Zero] != 0)
	{
		++Zero;
	}
	if (Zero >= End)
	{
		return false;
	}
	Text = {reinterpret_cast<const char*>(Bytes.data()) + Offset, Zero - Offset};
	Next = Offset + ((Zero - Offset + 1 + 3) & ~std::size_t{3});
	return Next <= End;
}

bool AllDigits(std::string_view Text)
{
	if (Text.empty())
	{
		return false;
	}
	for (char Char : Text)
	{
		if (Char < '0' || Char > '9')
		{
			return false;
		}
	}
	return true;
}

/** Device/Event for /korvat/N/Device/N/Event/N, InputTimecode for /korvat/N/InputTimecode, else the address. */
std::string ShortAddress(std::string_view Address, std::string_view& Event)
{
	std::vector<std::string_view> Segments;
	std::string_view Rest = Address;
	if (Rest.empty() || Rest[0] != '/')
	{
		return std::string(Address);
	}
	Rest.remove_prefix(1);
	for (;;)
	{
		const std::size_t Slash = Rest.find('/');
		Segments.push_back(Rest.substr(0, Slash));
		if (Slash == std::string_view::npos)
		{
			break;
		}
		Rest.remove_prefix(Slash + 1);
	}
	if (Segments.size() == 3 && Segments[0] == "korvat" && AllDigits(Segments[1]) && Segments[2] == "InputTimecode")
	{
		return "InputTimecode";
	}
	if (Segments.size() == 6 && Segments[0] == "korvat" && AllDigits(Segments[1]) && AllDigits(Segments[3]) &&
	    AllDigits(Segments[5]))
	{
		Event = Segments[4];
		return std::string(Segments[2]) + "/" + std::string(Segments[4]);
	}
	return std::string(Address);
}

std::string Quoted(std::string_view Text)
{
	std::string Out = "\"";
	for (char Char : Text)
	{
		const auto Byte = static_cast<unsigned char>(Char);
		if (Char == '"' || Char == '\\')
		{
			Out.push_back('\\');
			Out.push_back(Char);
		}
		else if (Byte < 0x20 || Byte == 0x7F)
		{
			char Buffer[8];
			std::snprintf(Buffer, sizeof(Buffer), "\\x%02x", Byte);
			Out += Buffer;
		}
		else
		{
			Out.push_back(Char);
		}
	}
	return Out + "\"";
}

/** One element: Out gets its summary. */
bool DescribeElement(std::span<const std::uint8_t> Bytes, std::size_t Offset, std::size_t End, std::string& Out)
{
	std::string_view Address;
	std::size_t Cursor = 0;
	if (!PaddedText(Bytes, Offset, End, Address, Cursor) || Address.empty())
	{
		return false;
	}
	std::string_view Event;
	Out = ShortAddress(Address, Event);
	if (Cursor == End || Bytes[Cursor] != ',')
	{
		return true;
	}
	std::string_view Tags;
	if (!PaddedText(Bytes, Cursor, End, Tags, Cursor))
	{
		return false;
	}
	const bool bMask = Event == "ButtonDown" || Event == "ButtonUp" || Event == "DoubleClick2";
	for (const char Type : Tags.substr(1))
	{
		const std::size_t Width = Type == 'i' || Type == 'f' ? 4 : Type == 'h' ? 8 : 0;
		if (End - Cursor < Width)
		{
			return false;
		}
		Out += ' ';
		switch (Type)
		{
		case 'i': {
			const auto Value = static_cast<std::uint32_t>(GetBigEndian(Bytes, Cursor, 4));
			Out += bMask ? InputButtonNames(Value) : std::to_string(static_cast<std::int32_t>(Value));
			break;
		}
		case 'f': {
			const auto Bits = static_cast<std::uint32_t>(GetBigEndian(Bytes, Cursor, 4));
			float Value = 0;
			std::memcpy(&Value, &Bits, 4);
			char Buffer[32];
			std::snprintf(Buffer, sizeof(Buffer), "%g", static_cast<double>(Value));
			Out += Buffer;
			break;
		}
		case 'h':
			Out += std::to_string(static_cast<std::int64_t>(GetBigEndian(Bytes, Cursor, 8)));
			break;
		case 's': {
			std::string_view Text;
			if (!PaddedText(Bytes, Cursor, End, Text, Cursor))
			{
				return false;
			}
			Out += Quoted(Text);
			break;
		}
		case 'T':
			Out += '1';
			break;
		case 'F':
			Out += '0';
			break;
		default:
			// The size of any other kind is unknown here: the rest cannot be read.
			return false;
		}
		Cursor += Width;
	}
	return true;
}

} // namespace

std::string InputAddress(std::string_view Device, std::string_view Event)
{
	return "/korvat/1/" + std::string(Device) + "/0/" + std::string(Event) + "/0";
}

InputPacketBuilder::InputPacketBuilder()
{
	Packet.assign(std::begin(BundleHeader), std::end(BundleHeader));
	PutBigEndian(Packet, 1, 8);
}

InputPacketBuilder& InputPacketBuilder::Begin(std::string_view NewAddress)
{
	EndMessage();
	Address = NewAddress;
	TypeTags = ",";
	Arguments.clear();
	bOpen = true;
	++Count;
	return *this;
}

InputPacketBuilder& InputPacketBuilder::Int(std::int32_t Value)
{
	TypeTags += 'i';
	PutBigEndian(Arguments, static_cast<std::uint32_t>(Value), 4);
	return *this;
}

InputPacketBuilder& InputPacketBuilder::Float(float Value)
{
	std::uint32_t Bits = 0;
	std::memcpy(&Bits, &Value, 4);
	TypeTags += 'f';
	PutBigEndian(Arguments, Bits, 4);
	return *this;
}

InputPacketBuilder& InputPacketBuilder::String(std::string_view Value)
{
	TypeTags += 's';
	PutPadded(Arguments, Value);
	return *this;
}

InputPacketBuilder& InputPacketBuilder::Bool(bool Value)
{
	TypeTags += Value ? 'T' : 'F';
	return *this;
}

InputPacketBuilder& InputPacketBuilder::Int64(std::int64_t Value)
{
	TypeTags += 'h';
	PutBigEndian(Arguments, static_cast<std::uint64_t>(Value), 8);
	return *this;
}

void InputPacketBuilder::EndMessage()
{
	if (!bOpen)
	{
		return;
	}
	std::vector<std::uint8_t> Message;
	PutPadded(Message, Address);
	PutPadded(Message, TypeTags);
	Message.insert(Message.end(), Arguments.begin(), Arguments.end());
	PutBigEndian(Packet, Message.size(), 4);
	Packet.insert(Packet.end(), Message.begin(), Message.end());
	bOpen = false;
}

std::vector<std::uint8_t> InputPacketBuilder::Finish()
{
	EndMessage();
	std::vector<std::uint8_t> Out = std::move(Packet);
	*this = InputPacketBuilder();
	return Out;
}

std::vector<std::uint8_t> InputPacketPayload(std::span<const std::uint8_t> Packet)
{
	std::vector<std::uint8_t> Out;
	const auto Length = static_cast<std::uint32_t>(Packet.size());
	for (int Index = 0; Index < 4; ++Index)
	{
		Out.push_back(static_cast<std::uint8_t>(Length >> (8 * Index)));
	}
	Out.insert(Out.end(), Packet.begin(), Packet.end());
	return Out;
}

bool DescribeInputPacket(std::span<const std::uint8_t> Packet, std::string& Out)
{
	Out.clear();
	if (Packet.size() <= 16 || std::memcmp(Packet.data(), BundleHeader, 8) != 0)
	{
		return false;
	}
	for (std::size_t Offset = 16; Offset < Packet.size();)
	{
		if (Packet.size() - Offset < 4)
		{
			return false;
		}
		const std::uint64_t Size = GetBigEndian(Packet, Offset, 4);
		Offset += 4;
		if (Size == 0 || Size > Packet.size() - Offset)
		{
			return false;
		}
		std::string Element;
		if (!DescribeElement(Packet, Offset, Offset + Size, Element))
		{
			return false;
		}
		Out += (Out.empty() ? "" : "; ") + Element;
		Offset += Size;
	}
	return true;
}

std::string InputButtonNames(std::uint32_t Mask)
{
	std::string Out;
	for (const FButtonName& Button : ButtonNames)
	{
		if (Mask & Button.Bit)
		{
			Out += (Out.empty() ? "" : "+") + std::string(Button.Name);
			Mask &= ~Button.Bit;
		}
	}
	if (Mask != 0 || Out.empty())
	{
		char Buffer[16];
		std::snprintf(Buffer, sizeof(Buffer), "0x%x", Mask);
		Out += (Out.empty() ? "" : "+") + std::string(Buffer);
	}
	return Out;
}

std::uint32_t InputButtonBit(std::string_view Name)
{
	for (const FButtonName& Button : ButtonNames)
	{
		if (Name == Button.Name)
		{
			return Button.Bit;
		}
	}
	return 0;
}

} // namespace Korvat::Host
