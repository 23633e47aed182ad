// One decoder for every message of the wire, and the JSON form built on it. The payload comes from another
// process (or from the plug-in's own trace): each layout's size is checked before any field is read, and
// counts inside the payload are checked against what follows them.
#include "MessageDescription.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Korvat::UE4
{

namespace
{

constexpr char LowerHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& Out, std::uint8_t Byte) noexcept
{
	Out.push_back(LowerHexDigits[Byte >> 4]);
	Out.push_back(LowerHexDigits[Byte & 0x0F]);
}

/** A fixed-size field at Offset; the caller has checked that the payload holds it. */
template <typename Value>
Value LoadField(std::span<const std::uint8_t> Payload, std::size_t Offset) noexcept
{
	Value Loaded;
	std::memcpy(&Loaded, Payload.data() + Offset, sizeof(Value));
	return Loaded;
}

std::string_view TextOf(std::span<const std::uint8_t> Bytes) noexcept
{
	return {reinterpret_cast<const char*>(Bytes.data()), Bytes.size()};
}

/** The text from Offset up to its zero byte or the end of Bytes; Next is past the zero byte. */
std::string_view TextUpToZero(std::span<const std::uint8_t> Bytes, std::size_t Offset, std::size_t& Next) noexcept
{
	std::size_t End = Offset;
	while (End < Bytes.size() && Bytes[End] != 0)
	{
		++End;
	}
	Next = End < Bytes.size() ? End + 1 : End;
	return TextOf(Bytes.subspan(Offset, End - Offset));
}

/** The fewest payload bytes of each tag's fixed layout; the tags not listed have none. */
std::size_t DescribedMinimumSize(std::uint32_t MessageTag) noexcept
{
	switch (MessageTag)
	{
	case Tag::CAMR:
	case Tag::PROJ:
		return 64;
	case Tag::MTXV:
		return 4 + sizeof(GUID) + 64;
	case Tag::VIEW:
		return 24;
	case Tag::CLCK:
		return 20;
	case Tag::FLDQ:
	case Tag::FLDS:
		return sizeof(GUID);
	case Tag::UVER:
		return 12;
	case Tag::RESN:
	case Tag::VINT:
	case Tag::VFLT:
		return 8;
	case Tag::VBOL:
		return 5;
	case Tag::LPHA:
	case Tag::TSHR:
	case Tag::QLTY:
	case Tag::ITAC:
	case Tag::EVNT:
	case Tag::VSTR:
	case Tag::AINT:
	case Tag::AFLT:
	case Tag::ABOL:
	case Tag::ASTR:
		return 4;
	default:
		return 0;
	}
}

/** The fields of a message as the members of a JSON object, each preceded by a comma. */
class JsonFieldWriter final : public MessageFieldVisitor
{
public:
	JsonFieldWriter(std::string& InOut, const MessageJsonContext* InContext) noexcept : Out(InOut), Context(InContext) {}

	void Integer(std::string_view Name, std::int64_t Value) override
	{
		Key(Name);
		Out += std::to_string(Value);
	}
	void Float(std::string_view Name, float Value) override
	{
		Key(Name);
		AppendJsonNumber(Out, Value);
	}
	void Bool(std::string_view Name, bool Value) override
	{
		Key(Name);
		Out += Value ? "true" : "false";
	}
	void ValueId(std::string_view Name, std::uint32_t Id) override
	{
		Integer(Name, Id);
		if (const std::string* ValueName = Context != nullptr ? Context->FindValueName(Id) : nullptr)
		{
			Key("name");
			String(*ValueName);
		}
	}
	void Text(std::string_view Name, std::string_view Value) override
	{
		Key(Name);
		String(Value);
	}
	void Guid(std::string_view Name, const GUID& Value) override
	{
		Key(Name);
		QuotedGuid(Value);
	}
	void IntegerArray(std::string_view Name, const PackedArray<std::int32_t>& Values) override
	{
		Key(Name);
		Out += '[';
		for (std::size_t Index = 0; Index < Values.Size(); ++Index)
		{
			Comma(Index);
			Out += std::to_string(Values[Index]);
		}
		Out += ']';
	}
	void FloatArray(std::string_view Name, const PackedArray<float>& Values) override
	{
		Key(Name);
		Out += '[';
		for (std::size_t Index = 0; Index < Values.Size(); ++Index)
		{
			Comma(Index);
			AppendJsonNumber(Out, Values[Index]);
		}
		Out += ']';
	}
	void BoolArray(std::string_view Name, std::span<const std::uint8_t> Values) override
	{
		Key(Name);
		Out += '[';
		for (std::size_t Index = 0; Index < Values.size(); ++Index)
		{
			Comma(Index);
			Out += Values[Index] != 0 ? "true" : "false";
		}
		Out += ']';
	}
	void TextArray(std::string_view Name, const ZeroTerminatedTexts& Values) override
	{
		Key(Name);
		Out += '[';
		std::size_t Cursor = 0;
		std::string_view Item;
		for (std::size_t Index = 0; Values.Next(Cursor, Item); ++Index)
		{
			Comma(Index);
			String(Item);
		}
		Out += ']';
	}
	void GuidArray(std::string_view Name, const PackedArray<GUID>& Values) override
	{
		Key(Name);
		Out += '[';
		for (std::size_t Index = 0; Index < Values.Size(); ++Index)
		{
			Comma(Index);
			QuotedGuid(Values[Index]);
		}
		Out += ']';
	}
	void FieldRecords(std::string_view Name, const FieldListRecords& Records) override
	{
		Key(Name);
		Out += '[';
		std::size_t Cursor = 0;
		FieldListRecord Record;
		for (std::size_t Index = 0; Records.Next(Cursor, Record); ++Index)
		{
			Comma(Index);
			Out += "{\"type\":";
			Out += std::to_string(Record.Type);
			Out += Record.IsFromKorvat ? ",\"flag\":true,\"name\":" : ",\"flag\":false,\"name\":";
			String(Record.Name);
			Out += '}';
		}
		Out += ']';
	}
	void RawBytes(std::string_view Name, std::span<const std::uint8_t> Value) override
	{
		Key(Name);
		HexString(Value);
	}
	void InputPacket(std::span<const std::uint8_t> Packet) override
	{
		Integer("length", static_cast<std::int64_t>(Packet.size()));
		RawBytes("bytes", Packet);
		std::string Summary;
		if (Context != nullptr && Context->SummarizeInputPacket(Packet, Summary))
		{
			Text("input", Summary);
		}
	}
	void Malformed(std::span<const std::uint8_t> Payload) override
	{
		Out += ",\"malformed\":true";
		Integer("size", static_cast<std::int64_t>(Payload.size()));
		RawBytes("bytes", Payload);
	}
	void Unknown(std::size_t PayloadSize) override
	{
		Out += ",\"unknown\":true";
		Integer("size", static_cast<std::int64_t>(PayloadSize));
	}

private:
	void Key(std::string_view Name)
	{
		Out += ",\"";
		Out += Name;
		Out += "\":";
	}
	void Comma(std::size_t Index)
	{
		if (Index > 0)
		{
			Out += ',';
		}
	}
	void String(std::string_view Value)
	{
		Out += '"';
		AppendJsonEscaped(Out, Value);
		Out += '"';
	}
	void QuotedGuid(const GUID& Value)
	{
		Out += '"';
		AppendGuidText(Out, Value);
		Out += '"';
	}
	void HexString(std::span<const std::uint8_t> Value)
	{
		Out += '"';
		AppendHexPreview(Out, Value);
		Out += '"';
	}

	std::string& Out;
	const MessageJsonContext* Context;
};

} // namespace

bool ZeroTerminatedTexts::Next(std::size_t& Cursor, std::string_view& Item) const noexcept
{
	if (Cursor >= Storage.size())
	{
		return false;
	}
	Item = TextUpToZero(Storage, Cursor, Cursor);
	return true;
}

bool FieldListRecords::IsWhole() const noexcept
{
	std::size_t Cursor = 0;
	FieldListRecord Record;
	while (Next(Cursor, Record))
	{
	}
	return Cursor >= Storage.size();
}

bool FieldListRecords::Next(std::size_t& Cursor, FieldListRecord& Record) const noexcept
{
	// A record needs its type and flag bytes; the name may be empty and lack its zero byte at the end.
	if (Cursor >= Storage.size() || Storage.size() - Cursor < 2)
	{
		return false;
	}
	Record.Type = Storage[Cursor];
	Record.IsFromKorvat = Storage[Cursor + 1] != 0;
	Record.Name = TextUpToZero(Storage, Cursor + 2, Cursor);
	return true;
}

void VisitMessageFields(std::uint32_t MessageTag, std::span<const std::uint8_t> Payload, MessageFieldVisitor& Visitor)
{
	const std::size_t Size = Payload.size();
	if (Size < DescribedMinimumSize(MessageTag))
	{
		Visitor.Malformed(Payload);
		return;
	}

	switch (MessageTag)
	{
	case Tag::UVER:
		Visitor.Integer("major", LoadField<std::int32_t>(Payload, 0));
		Visitor.Integer("minor", LoadField<std::int32_t>(Payload, 4));
		Visitor.Integer("patch", LoadField<std::int32_t>(Payload, 8));
		return;
	case Tag::VERR:
		Visitor.Text("text", TextOf(Payload));
		return;
	case Tag::VIEW:
		Visitor.IntegerArray("values", PackedArray<std::int32_t>(Payload.first(24)));
		return;
	case Tag::LPHA:
		Visitor.Integer("mode", LoadField<std::int32_t>(Payload, 0));
		return;
	case Tag::TSHR:
	{
		const std::int32_t Count = LoadField<std::int32_t>(Payload, 0);
		if (Count < 0 || (Size - 4) / sizeof(GUID) < static_cast<std::size_t>(Count))
		{
			Visitor.Malformed(Payload);
			return;
		}
		Visitor.Integer("count", Count);
		Visitor.GuidArray("ids", PackedArray<GUID>(Payload.subspan(4, sizeof(GUID) * static_cast<std::size_t>(Count))));
		return;
	}
	case Tag::FLDQ:
	{
		std::size_t Next = 0;
		Visitor.Guid("request", LoadField<GUID>(Payload, 0));
		Visitor.Text("name", TextUpToZero(Payload, sizeof(GUID), Next));
		return;
	}
	case Tag::FLDS:
	{
		const FieldListRecords Records(Payload.subspan(sizeof(GUID)));
		if (!Records.IsWhole())
		{
			Visitor.Malformed(Payload);
			return;
		}
		Visitor.Guid("request", LoadField<GUID>(Payload, 0));
		Visitor.FieldRecords("fields", Records);
		return;
	}
	case Tag::CAMR:
	case Tag::PROJ:
		Visitor.FloatArray("matrix", PackedArray<float>(Payload.first(64)));
		return;
	case Tag::RESN:
		Visitor.Integer("width", LoadField<std::int32_t>(Payload, 0));
		Visitor.Integer("height", LoadField<std::int32_t>(Payload, 4));
		return;
	case Tag::QLTY:
		Visitor.Integer("quality", LoadField<std::int32_t>(Payload, 0));
		return;
	case Tag::CLCK:
		Visitor.Integer("frameCounter", LoadField<std::int64_t>(Payload, 0));
		Visitor.Float("time", LoadField<float>(Payload, 8));
		Visitor.Integer("numerator", LoadField<std::int32_t>(Payload, 12));
		Visitor.Integer("denominator", LoadField<std::int32_t>(Payload, 16));
		return;
	case Tag::ITAC:
	{
		const std::int32_t Length = LoadField<std::int32_t>(Payload, 0);
		if (Length < 0 || static_cast<std::size_t>(Length) > Size - 4)
		{
			Visitor.Malformed(Payload);
			return;
		}
		Visitor.InputPacket(Payload.subspan(4, static_cast<std::size_t>(Length)));
		return;
	}
	case Tag::EVNT:
		// The argument is the third word; the second is not used.
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.Integer("argument", Size == 12 ? LoadField<std::int32_t>(Payload, 8) : 0);
		return;
	case Tag::VINT:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.Integer("value", LoadField<std::int32_t>(Payload, 4));
		return;
	case Tag::VFLT:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.Float("value", LoadField<float>(Payload, 4));
		return;
	case Tag::VBOL:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.Bool("value", Payload[4] != 0);
		return;
	case Tag::VSTR:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.Text("value", TextOf(Payload.subspan(4)));
		return;
	case Tag::AINT:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.IntegerArray("values", PackedArray<std::int32_t>(Payload.subspan(4)));
		return;
	case Tag::AFLT:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.FloatArray("values", PackedArray<float>(Payload.subspan(4)));
		return;
	case Tag::ABOL:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.BoolArray("values", Payload.subspan(4));
		return;
	case Tag::ASTR:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.TextArray("values", ZeroTerminatedTexts(Payload.subspan(4)));
		return;
	case Tag::MTXV:
		Visitor.ValueId("id", LoadField<std::uint32_t>(Payload, 0));
		Visitor.Guid("identifier", LoadField<GUID>(Payload, 4));
		Visitor.FloatArray("matrix", PackedArray<float>(Payload.subspan(4 + sizeof(GUID), 64)));
		return;
	default:
		Visitor.Unknown(Size);
		Visitor.RawBytes("bytes", Payload);
		return;
	}
}

void AppendMessageJson(std::string& Out, std::uint32_t MessageTag, std::span<const std::uint8_t> Payload,
	const MessageJsonContext* Context)
{
	// The tag's four bytes in wire order, escaped like any text (a stray tag may hold anything).
	const char TagBytes[4] = {static_cast<char>(MessageTag & 0xFF), static_cast<char>((MessageTag >> 8) & 0xFF),
		static_cast<char>((MessageTag >> 16) & 0xFF), static_cast<char>((MessageTag >> 24) & 0xFF)};
	Out += "{\"tag\":\"";
	AppendJsonEscaped(Out, std::string_view(TagBytes, sizeof(TagBytes)));
	Out += '"';
	JsonFieldWriter Writer(Out, Context);
	VisitMessageFields(MessageTag, Payload, Writer);
	Out += '}';
}

void AppendHexPreview(std::string& Out, std::span<const std::uint8_t> Bytes, std::string_view Separator) noexcept
{
	const std::size_t Shown = std::min(Bytes.size(), MaxHexPreviewBytes);
	for (std::size_t Index = 0; Index < Shown; ++Index)
	{
		if (Index > 0)
		{
			Out += Separator;
		}
		AppendHexByte(Out, Bytes[Index]);
	}
	if (Shown < Bytes.size())
	{
		Out += Separator;
		Out += "...";
	}
}

void AppendHex(std::string& Out, std::span<const std::uint8_t> Bytes) noexcept
{
	const std::size_t Start = Out.size();
	Out.resize(Start + 2 * Bytes.size());
	char* Cursor = Out.data() + Start;
	for (const std::uint8_t Byte : Bytes)
	{
		*Cursor++ = LowerHexDigits[Byte >> 4];
		*Cursor++ = LowerHexDigits[Byte & 0x0F];
	}
}

void AppendJsonEscaped(std::string& Out, std::string_view Text) noexcept
{
	const auto EscapeByte = [&Out](std::uint8_t Byte) {
		Out += "\\u00";
		AppendHexByte(Out, Byte);
	};
	for (std::size_t Index = 0; Index < Text.size();)
	{
		const auto Byte = static_cast<std::uint8_t>(Text[Index]);
		if (Byte < 0x80)
		{
			switch (Byte)
			{
			case '"':
				Out += "\\\"";
				break;
			case '\\':
				Out += "\\\\";
				break;
			case '\n':
				Out += "\\n";
				break;
			case '\r':
				Out += "\\r";
				break;
			case '\t':
				Out += "\\t";
				break;
			default:
				if (Byte < 0x20 || Byte == 0x7F)
				{
					EscapeByte(Byte);
				}
				else
				{
					Out.push_back(static_cast<char>(Byte));
				}
			}
			++Index;
			continue;
		}
		// Keep a sequence with a valid lead byte and the continuation bytes it announces; any other byte stands
		// for the code point of its value.
		const std::size_t Length = (Byte & 0xE0) == 0xC0 ? 2 : (Byte & 0xF0) == 0xE0 ? 3 : (Byte & 0xF8) == 0xF0 ? 4 : 0;
		bool bValid = Length > 0 && Index + Length <= Text.size() && !(Byte == 0xC0 || Byte == 0xC1 || Byte > 0xF4);
		for (std::size_t Next = 1; bValid && Next < Length; ++Next)
		{
			bValid = (static_cast<std::uint8_t>(Text[Index + Next]) & 0xC0) == 0x80;
		}
		if (bValid)
		{
			Out.append(Text.substr(Index, Length));
			Index += Length;
		}
		else
		{
			EscapeByte(Byte);
			++Index;
		}
	}
}

void AppendJsonNumber(std::string& Out, float Value) noexcept
{
	if (!std::isfinite(Value))
	{
		Out += "null";
		return;
	}
	char Buffer[32];
	const int Written = std::snprintf(Buffer, sizeof(Buffer), "%.9g", static_cast<double>(Value));
	Out.append(Buffer, static_cast<std::size_t>(std::clamp(Written, 0, static_cast<int>(sizeof(Buffer)) - 1)));
}

void AppendGuidText(std::string& Out, const GUID& Guid) noexcept
{
	char Buffer[40];
	const int Written = std::snprintf(Buffer, sizeof(Buffer), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
		static_cast<unsigned>(Guid.Data1), static_cast<unsigned>(Guid.Data2), static_cast<unsigned>(Guid.Data3),
		static_cast<unsigned>(Guid.Data4[0]), static_cast<unsigned>(Guid.Data4[1]), static_cast<unsigned>(Guid.Data4[2]),
		static_cast<unsigned>(Guid.Data4[3]), static_cast<unsigned>(Guid.Data4[4]), static_cast<unsigned>(Guid.Data4[5]),
		static_cast<unsigned>(Guid.Data4[6]), static_cast<unsigned>(Guid.Data4[7]));
	Out.append(Buffer, static_cast<std::size_t>(std::clamp(Written, 0, static_cast<int>(sizeof(Buffer)) - 1)));
}

} // namespace Korvat::UE4
