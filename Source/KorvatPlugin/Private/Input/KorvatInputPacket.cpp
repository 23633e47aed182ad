#include "KorvatInputPacket.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace Korvat::Input
{
// Helpers live in a namespace of their own, as the engine compiles this file in unity blobs with others,
// and are static so that a position-independent build can still inline them.
namespace InputPacketDetail
{

constexpr std::uint8_t BundleHeader[8] = {'#', 'b', 'u', 'n', 'd', 'l', 'e', '\0'};
constexpr std::size_t FirstSizeOffset = 16;
constexpr std::size_t TimecodeArgumentBytes = 8;

static std::uint32_t LoadBigEndian32(const std::uint8_t* Bytes) noexcept
{
	return (std::uint32_t{Bytes[0]} << 24) | (std::uint32_t{Bytes[1]} << 16) | (std::uint32_t{Bytes[2]} << 8) |
		std::uint32_t{Bytes[3]};
}

constexpr std::uint64_t LowSevenBits = 0x7F7F7F7F7F7F7F7Full;
constexpr std::uint64_t EverySlash = 0x2F2F2F2F2F2F2F2Full;

static std::uint64_t LoadWord(const std::uint8_t* Bytes) noexcept
{
	std::uint64_t Word;
	std::memcpy(&Word, Bytes, sizeof(Word));
	return Word;
}

/** The top bit of every byte of Word that is zero, and no other bit (no borrow crosses bytes). */
static std::uint64_t ZeroBytes(std::uint64_t Word) noexcept
{
	return ~(((Word & LowSevenBits) + LowSevenBits) | Word | LowSevenBits);
}

/** Memory index (0..7) of the first byte flagged in Flags, which is not 0. */
static std::size_t FirstFlaggedByte(std::uint64_t Flags) noexcept
{
	if constexpr (std::endian::native == std::endian::big)
	{
		return static_cast<std::size_t>(std::countl_zero(Flags)) / 8;
	}
	else
	{
		return static_cast<std::size_t>(std::countr_zero(Flags)) / 8;
	}
}

static std::uint64_t DropFirstFlaggedByte(std::uint64_t Flags) noexcept
{
	if constexpr (std::endian::native == std::endian::big)
	{
		return Flags & ~(std::uint64_t{1} << (63 - std::countl_zero(Flags)));
	}
	else
	{
		return Flags & (Flags - 1);
	}
}

/** Offset of the first NUL in [Offset, End), or End. Reads 8 bytes at a time while 8 remain. */
static std::size_t FindNul(const std::uint8_t* Bytes, std::size_t Offset, std::size_t End) noexcept
{
	for (; End - Offset >= 8; Offset += 8)
	{
		const std::uint64_t Zeros = ZeroBytes(LoadWord(Bytes + Offset));
		if (Zeros != 0)
		{
			return Offset + FirstFlaggedByte(Zeros);
		}
	}
	while (Offset < End && Bytes[Offset] != 0)
	{
		++Offset;
	}
	return Offset;
}

/** The offset after a text item from Start to its NUL at Nul: characters and NUL padded to 4 bytes, at most End. */
static std::size_t PaddedEnd(std::size_t Start, std::size_t Nul, std::size_t End) noexcept
{
	const std::size_t Padded = (Nul - Start + 4) & ~std::size_t{3};
	return Padded < End - Start ? Start + Padded : End;
}

static std::string_view TextAt(const std::uint8_t* Bytes, std::size_t Start, std::size_t Finish) noexcept
{
	return std::string_view(reinterpret_cast<const char*>(Bytes + Start), Finish - Start);
}

static bool IsScanSpace(char Character) noexcept
{
	return Character == ' ' || (Character >= '\t' && Character <= '\r');
}

static EInputDeviceKind ClassifyDevice(std::string_view Name) noexcept
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

static EInputEventKind ClassifyEvent(EInputDeviceKind Device, std::string_view Name) noexcept
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

/**
 * Finds the NUL that ends the address at Offset and splits the address on the way: every "/" is
 * overwritten with NUL and ends the segment before it; text before the first "/" is not a segment.
 * Returns the offset of the NUL, or End when there is none.
 */
static std::size_t SplitAddress(std::uint8_t* Bytes, std::size_t Offset, std::size_t End, FInputMessage& Message) noexcept
{
	std::size_t SegmentStart = 0;
	bool bInSegment = false;
	// True at the NUL; at a "/" the segment before it ends and the next begins.
	const auto Boundary = [&](std::size_t At) noexcept
	{
		if (bInSegment && Message.SegmentCount < MaxInputListEntries)
		{
			Message.Segments[Message.SegmentCount++] = TextAt(Bytes, SegmentStart, At);
		}
		if (Bytes[At] == 0)
		{
			return true;
		}
		Bytes[At] = 0;
		SegmentStart = At + 1;
		bInSegment = true;
		return false;
	};
	std::size_t Index = Offset;
	for (; End - Index >= 8; Index += 8)
	{
		const std::uint64_t Word = LoadWord(Bytes + Index);
		for (std::uint64_t Marks = ZeroBytes(Word) | ZeroBytes(Word ^ EverySlash); Marks != 0;
			 Marks = DropFirstFlaggedByte(Marks))
		{
			const std::size_t At = Index + FirstFlaggedByte(Marks);
			if (Boundary(At))
			{
				return At;
			}
		}
	}
	for (; Index < End; ++Index)
	{
		if ((Bytes[Index] == 0 || Bytes[Index] == '/') && Boundary(Index))
		{
			return Index;
		}
	}
	return End;
}

static bool ScanDecimal(std::string_view Text, std::int32_t& OutValue) noexcept
{
	std::size_t Index = 0;
	while (Index < Text.size() && IsScanSpace(Text[Index]))
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

static bool IsDecimal(std::string_view Text) noexcept
{
	std::int32_t Ignored = 0;
	return ScanDecimal(Text, Ignored);
}

/**
 * Decodes the arguments from Offset in type-tag order. Returns the offset after the last argument consumed;
 * End when an item ran into the packet end (then bTruncated is set).
 */
static std::size_t DecodeArguments(
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
			const std::size_t Nul = FindNul(Bytes, Offset, End);
			if (Nul == End)
			{
				Message.bTruncated = true;
				return End;
			}
			if (Args.StringCount < MaxInputListEntries)
			{
				Args.Strings[Args.StringCount++] = TextAt(Bytes, Offset, Nul);
			}
			Offset = PaddedEnd(Offset, Nul, End);
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
 * Empties a message by clearing only the entries the previous message filled: the reader reuses one
 * message, so every entry past the counts is already clear (assigning a fresh message per element cost
 * more than decoding it).
 */
static void ClearMessage(FInputMessage& Message) noexcept
{
	FInputMessageArgs& Args = Message.Args;
	std::fill_n(Message.Segments, Message.SegmentCount, std::string_view());
	std::fill_n(Args.Ints, Args.IntCount, 0);
	std::fill_n(Args.Floats, Args.FloatCount, 0.0f);
	std::fill_n(Args.Strings, Args.StringCount, std::string_view());
	std::fill_n(Args.Bools, Args.BoolCount, false);
	Message.SegmentCount = 0;
	Args.IntCount = 0;
	Args.FloatCount = 0;
	Args.StringCount = 0;
	Args.BoolCount = 0;
	Message.Device = EInputDeviceKind::Other;
	Message.Event = EInputEventKind::Unknown;
	Message.bTruncated = false;
}

/**
 * Decodes the message at Offset into Message. Returns the parse position: the offset after the last item
 * read (the address, the type tags or the last argument), or End when an item ran into the packet end.
 * bOutAccepted tells whether the address passed the checks.
 */
static std::size_t DecodeMessage(std::uint8_t* Bytes, std::size_t Offset, std::size_t End, FInputMessage& Message,
	bool& bOutAccepted) noexcept
{
	bOutAccepted = false;
	ClearMessage(Message);
	const std::size_t AddressNul = SplitAddress(Bytes, Offset, End, Message);
	if (AddressNul == End)
	{
		return End;
	}
	std::size_t Position = PaddedEnd(Offset, AddressNul, End);
	std::string_view Tags;
	bool bTagsUnterminated = false;
	if (Position < End && Bytes[Position] == ',')
	{
		const std::size_t TagsNul = FindNul(Bytes, Position, End);
		bTagsUnterminated = TagsNul == End;
		if (!bTagsUnterminated)
		{
			Tags = TextAt(Bytes, Position, TagsNul);
		}
		Position = bTagsUnterminated ? End : PaddedEnd(Position, TagsNul, End);
	}

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
		Position = End;
	}
	else if (!Tags.empty())
	{
		Position = DecodeArguments(Bytes, Position, End, Tags, Message);
	}
	return Position;
}

} // namespace InputPacketDetail

bool ScanInputDecimal(std::string_view Text, std::int32_t& OutValue) noexcept
{
	return InputPacketDetail::ScanDecimal(Text, OutValue);
}

bool ReadInputTouchIdentifier(const FInputMessage& Message, std::int32_t& OutIdentifier) noexcept
{
	return Message.Args.StringCount > 0 && ScanInputDecimal(Message.Args.Strings[0], OutIdentifier);
}

FInputPacketReader::FInputPacketReader(std::span<std::uint8_t> PacketBytes) noexcept
	: Begin(PacketBytes.data())
	, Size(PacketBytes.size())
{
	using InputPacketDetail::BundleHeader;
	using InputPacketDetail::FirstSizeOffset;
	if (Size < FirstSizeOffset + 4 || std::memcmp(Begin, BundleHeader, sizeof(BundleHeader)) != 0)
	{
		return;
	}
	ElementOffset = FirstSizeOffset + 4;
	ElementSize = InputPacketDetail::LoadBigEndian32(Begin + FirstSizeOffset);
	bWalking = ElementSize != 0 && ElementSize <= Size - ElementOffset;
}

FInputPacketReader::FInputPacketReader(std::span<char> PacketChars) noexcept
	: FInputPacketReader(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(PacketChars.data()), PacketChars.size()))
{
}

const FInputMessage* FInputPacketReader::Next() noexcept
{
	while (bWalking)
	{
		bool bAccepted = false;
		const std::size_t Parsed = InputPacketDetail::DecodeMessage(Begin, ElementOffset, Size, Current, bAccepted);

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
			return &Current;
		}
	}
	return nullptr;
}

} // namespace Korvat::Input
