#include "KorvatInputPacket.h"

#include <bit>
#include <cstring>

namespace Korvat::Input
{
// Helpers live in a named namespace: the engine compiles this file in unity blobs with others.
namespace InputPacketDetail
{

constexpr std::uint8_t BundleHeader[8] = {'#', 'b', 'u', 'n', 'd', 'l', 'e', '\0'};
constexpr std::size_t FirstSizeOffset = 16;
constexpr std::size_t TimecodeArgumentBytes = 8;

std::uint32_t LoadBigEndian32(const std::uint8_t* Bytes) noexcept
{
	return (std::uint32_t{Bytes[0]} << 24) | (std::uint32_t{Bytes[1]} << 16) | (std::uint32_t{Bytes[2]} << 8) |
		std::uint32_t{Bytes[3]};
}

/**
 * A text item at Offset: its characters up to the NUL, and the offset after its padding (at most End).
 * Returns false when no NUL lies before End.
 */
bool ReadPaddedText(const std::uint8_t* Bytes, std::size_t Offset, std::size_t End, std::string_view& OutText,
	std::size_t& OutNext) noexcept
{
	const void* Nul = std::memchr(Bytes + Offset, 0, End - Offset);
	if (Nul == nullptr)
	{
		return false;
	}
	const std::size_t Length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(Nul) - (Bytes + Offset));
	OutText = std::string_view(reinterpret_cast<const char*>(Bytes + Offset), Length);
	// Characters plus the NUL, rounded up to a multiple of 4; padding past the end is not read.
	const std::size_t Padded = (Length + 1 + 3) & ~std::size_t{3};
	OutNext = Padded < End - Offset ? Offset + Padded : End;
	return true;
}

bool IsScanSpace(char Character) noexcept
{
	return Character == ' ' || (Character >= '\t' && Character <= '\r');
}

EInputDeviceKind ClassifyDevice(std::string_view Name) noexcept
{
	if (Name == "Mouse")
	{
		return EInputDeviceKind::Mouse;
	}
	if (Name == "Keyboard")
	{
		return EInputDeviceKind::Keyboard;
	}
	if (Name == "MultiTouch")
	{
		return EInputDeviceKind::MultiTouch;
	}
	return EInputDeviceKind::Other;
}

struct FEventName
{
	std::string_view Name;
	EInputEventKind Event;
};

constexpr FEventName MouseEvents[] = {
	{"Position", EInputEventKind::Position},
	{"IsInside", EInputEventKind::IsInside},
	{"Hover", EInputEventKind::Hover},
	{"ButtonDown", EInputEventKind::ButtonDown},
	{"ButtonUp", EInputEventKind::ButtonUp},
	{"DoubleClick", EInputEventKind::DoubleClick},
	{"DoubleClick2", EInputEventKind::DoubleClick2},
	{"Wheel", EInputEventKind::Wheel},
};
constexpr FEventName KeyboardEvents[] = {
	{"KeyDown", EInputEventKind::KeyDown},
	{"KeyUp", EInputEventKind::KeyUp},
	{"KeyPress", EInputEventKind::KeyPress},
};
constexpr FEventName TouchEvents[] = {
	{"TouchAdd", EInputEventKind::TouchAdd},
	{"TouchMove", EInputEventKind::TouchMove},
	{"TouchRemove", EInputEventKind::TouchRemove},
};

EInputEventKind ClassifyEvent(EInputDeviceKind Device, std::string_view Name) noexcept
{
	std::span<const FEventName> Events;
	switch (Device)
	{
	case EInputDeviceKind::Mouse:
		Events = MouseEvents;
		break;
	case EInputDeviceKind::Keyboard:
		Events = KeyboardEvents;
		break;
	case EInputDeviceKind::MultiTouch:
		Events = TouchEvents;
		break;
	case EInputDeviceKind::Other:
		break;
	}
	for (const FEventName& Entry : Events)
	{
		if (Entry.Name == Name)
		{
			return Entry.Event;
		}
	}
	return EInputEventKind::Unknown;
}

/** Splits the address at every "/" (overwritten with NUL); text before the first "/" is not a segment. */
void SplitAddress(std::uint8_t* Address, std::size_t Length, FInputMessage& Message) noexcept
{
	std::size_t SegmentStart = 0;
	bool bInSegment = false;
	for (std::size_t Index = 0; Index <= Length; ++Index)
	{
		if (Index < Length && Address[Index] != '/')
		{
			continue;
		}
		if (bInSegment && Message.SegmentCount < MaxInputListEntries)
		{
			Message.Segments[Message.SegmentCount++] =
				std::string_view(reinterpret_cast<const char*>(Address + SegmentStart), Index - SegmentStart);
		}
		if (Index < Length)
		{
			Address[Index] = 0;
			SegmentStart = Index + 1;
			bInSegment = true;
		}
	}
}

bool IsDecimal(std::string_view Text) noexcept
{
	std::int32_t Ignored = 0;
	return ScanInputDecimal(Text, Ignored);
}

/**
 * Decodes the arguments from Offset in type-tag order. Returns the offset after the last argument consumed;
 * End when an item ran into the packet end (then bTruncated is set).
 */
std::size_t DecodeArguments(
	const std::uint8_t* Bytes, std::size_t Offset, std::size_t End, std::string_view Tags, FInputMessage& Message) noexcept
{
	FInputMessageArgs& Args = Message.Args;
	// Tags[0] is the ",".
	for (std::size_t TagIndex = 1; TagIndex < Tags.size(); ++TagIndex)
	{
		const char Tag = Tags[TagIndex];
		switch (Tag)
		{
		case 'i':
		case 'f':
		{
			if (End - Offset < 4)
			{
				Message.bTruncated = true;
				return End;
			}
			const std::uint32_t Word = LoadBigEndian32(Bytes + Offset);
			Offset += 4;
			if (Tag == 'i' && Args.IntCount < MaxInputListEntries)
			{
				Args.Ints[Args.IntCount++] = static_cast<std::int32_t>(Word);
			}
			else if (Tag == 'f' && Args.FloatCount < MaxInputListEntries)
			{
				Args.Floats[Args.FloatCount++] = std::bit_cast<float>(Word);
			}
			break;
		}
		case 's':
		{
			std::string_view Text;
			if (!ReadPaddedText(Bytes, Offset, End, Text, Offset))
			{
				Message.bTruncated = true;
				return End;
			}
			if (Args.StringCount < MaxInputListEntries)
			{
				Args.Strings[Args.StringCount++] = Text;
			}
			break;
		}
		case 'T':
		case 'F':
			if (Args.BoolCount < MaxInputListEntries)
			{
				Args.Bools[Args.BoolCount++] = Tag == 'T';
			}
			break;
		default:
			// An unknown kind (a double, a blob, ...) consumes no bytes: its size is not known here.
			break;
		}
	}
	return Offset;
}

/**
 * Decodes the message at Offset into Message. Returns the parse position: the offset after the last item
 * read (the address, the type tags or the last argument), or End when an item ran into the packet end.
 * bOutAccepted tells whether the address passed the checks.
 */
std::size_t DecodeMessage(std::uint8_t* Bytes, std::size_t Offset, std::size_t End, FInputMessage& Message,
	bool& bOutAccepted) noexcept
{
	bOutAccepted = false;
	std::string_view Address;
	std::size_t Position = Offset;
	if (!ReadPaddedText(Bytes, Offset, End, Address, Position))
	{
		return End;
	}
	std::string_view Tags;
	bool bTagsUnterminated = false;
	if (Position < End && Bytes[Position] == ',')
	{
		bTagsUnterminated = !ReadPaddedText(Bytes, Position, End, Tags, Position);
		if (bTagsUnterminated)
		{
			Position = End;
		}
	}

	SplitAddress(Bytes + Offset, Address.size(), Message);
	const std::string_view* Segments = Message.Segments;
	if (Message.SegmentCount < 3 || Segments[0] != "korvat" || !IsDecimal(Segments[1]))
	{
		return Position;
	}
	if (Segments[2] == "InputTimecode")
	{
		// Its one argument is a 64-bit time tag, skipped without looking at the type tags.
		return End - Position > TimecodeArgumentBytes ? Position + TimecodeArgumentBytes : End;
	}
	if (Message.SegmentCount < 6 || !IsDecimal(Segments[3]) || !IsDecimal(Segments[5]))
	{
		return Position;
	}

	bOutAccepted = true;
	Message.Device = ClassifyDevice(Segments[2]);
	Message.Event = ClassifyEvent(Message.Device, Segments[4]);
	if (bTagsUnterminated)
	{
		Message.bTruncated = true;
		return End;
	}
	return Tags.empty() ? Position : DecodeArguments(Bytes, Position, End, Tags, Message);
}

} // namespace InputPacketDetail

bool ScanInputDecimal(std::string_view Text, std::int32_t& OutValue) noexcept
{
	std::size_t Index = 0;
	while (Index < Text.size() && InputPacketDetail::IsScanSpace(Text[Index]))
	{
		++Index;
	}
	bool bNegative = false;
	if (Index < Text.size() && (Text[Index] == '+' || Text[Index] == '-'))
	{
		bNegative = Text[Index] == '-';
		++Index;
	}
	const std::size_t FirstDigit = Index;
	std::uint32_t Magnitude = 0;
	while (Index < Text.size() && Text[Index] >= '0' && Text[Index] <= '9')
	{
		Magnitude = Magnitude * 10u + static_cast<std::uint32_t>(Text[Index] - '0');
		++Index;
	}
	if (Index == FirstDigit)
	{
		return false;
	}
	OutValue = static_cast<std::int32_t>(bNegative ? 0u - Magnitude : Magnitude);
	return true;
}

bool ReadInputTouchIdentifier(const FInputMessage& Message, std::int32_t& OutIdentifier) noexcept
{
	return Message.Args.StringCount > 0 && ScanInputDecimal(Message.Args.Strings[0], OutIdentifier);
}

FInputPacketReader::FInputPacketReader(std::span<std::uint8_t> PacketBytes) noexcept
	: Begin(PacketBytes.data())
	, Size(PacketBytes.size())
{
	using namespace InputPacketDetail;
	if (Size < FirstSizeOffset + 4 || std::memcmp(Begin, BundleHeader, sizeof(BundleHeader)) != 0)
	{
		return;
	}
	ElementOffset = FirstSizeOffset + 4;
	ElementSize = LoadBigEndian32(Begin + FirstSizeOffset);
	bWalking = ElementSize != 0 && ElementSize <= Size - ElementOffset;
}

FInputPacketReader::FInputPacketReader(std::span<char> PacketChars) noexcept
	: FInputPacketReader(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(PacketChars.data()), PacketChars.size()))
{
}

bool FInputPacketReader::Next(FInputMessage& OutMessage) noexcept
{
	while (bWalking)
	{
		OutMessage = FInputMessage();
		bool bAccepted = false;
		const std::size_t Parsed = InputPacketDetail::DecodeMessage(Begin, ElementOffset, Size, OutMessage, bAccepted);

		// The next size lies at (element start + size); the walk ends at the packet end or a size past it.
		const std::size_t SizeOffset = ElementOffset + ElementSize;
		if (Parsed >= Size || Size - SizeOffset < 4)
		{
			bWalking = false;
		}
		else
		{
			ElementOffset = SizeOffset + 4;
			ElementSize = InputPacketDetail::LoadBigEndian32(Begin + SizeOffset);
			bWalking = ElementSize != 0 && ElementSize <= Size - ElementOffset;
		}
		if (bAccepted)
		{
			return true;
		}
	}
	OutMessage = FInputMessage();
	return false;
}

} // namespace Korvat::Input
