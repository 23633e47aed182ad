#include "Messages.h"

#include "InputPackets.h"
#include "ShareChannel.h"
#include "ValueNames.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace Korvat::Host
{

namespace UE4 = Korvat::UE4;

namespace
{

constexpr std::size_t MaxHexBytes = 256;

/** Little-endian fields of a payload; every read is bounds-checked by the caller's size test. */
struct FReader
{
	std::span<const std::uint8_t> Bytes;

	template <typename T> T Get(std::size_t Offset) const
	{
		T Value{};
		std::memcpy(&Value, Bytes.data() + Offset, sizeof(T));
		return Value;
	}
	UE4::GUID Guid(std::size_t Offset) const { return Get<UE4::GUID>(Offset); }
	std::string_view Text(std::size_t Offset, std::size_t Length) const
	{
		return {reinterpret_cast<const char*>(Bytes.data()) + Offset, Length};
	}
	/** Text from Offset up to its zero byte or the end of the payload; Next is past the zero byte. */
	std::string_view ZeroTerminated(std::size_t Offset, std::size_t& Next) const
	{
		std::size_t End = Offset;
		while (End < Bytes.size() && Bytes[End] != 0)
		{
			++End;
		}
		Next = End < Bytes.size() ? End + 1 : End;
		return Text(Offset, End - Offset);
	}
};

std::string Hex(std::span<const std::uint8_t> Bytes, const char* Separator)
{
	static constexpr char Digits[] = "0123456789abcdef";
	std::string Out;
	const std::size_t Shown = std::min(Bytes.size(), MaxHexBytes);
	for (std::size_t Index = 0; Index < Shown; ++Index)
	{
		if (Index > 0)
		{
			Out += Separator;
		}
		Out.push_back(Digits[Bytes[Index] >> 4]);
		Out.push_back(Digits[Bytes[Index] & 15]);
	}
	if (Shown < Bytes.size())
	{
		Out += Separator;
		Out += "...";
	}
	return Out;
}

/** Readable text in quotes: printable ASCII and UTF-8 kept, everything else as C escapes. */
std::string Quoted(std::string_view Text)
{
	std::string Out = "\"";
	for (char Char : Text)
	{
		const auto Byte = static_cast<unsigned char>(Char);
		switch (Char)
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
				char Buffer[8];
				std::snprintf(Buffer, sizeof(Buffer), "\\x%02x", Byte);
				Out += Buffer;
			}
			else
			{
				Out.push_back(Char);
			}
		}
	}
	Out += '"';
	return Out;
}

std::string JsonString(std::string_view Text)
{
	return "\"" + JsonEscape(Text) + "\"";
}

/** A name as it stands in a readable line: in quotes, escaped, when it holds a blank, a quote or a control byte. */
std::string ReadableName(std::string_view Name)
{
	for (const char Char : Name)
	{
		const auto Byte = static_cast<unsigned char>(Char);
		if (Byte <= 0x20 || Byte == 0x7F || Char == '"' || Char == '\\')
		{
			return Quoted(Name);
		}
	}
	return std::string(Name);
}

std::string Number(float Value, bool bJson)
{
	if (bJson && !std::isfinite(Value))
	{
		return "null";
	}
	char Buffer[32];
	std::snprintf(Buffer, sizeof(Buffer), bJson ? "%.9g" : "%g", static_cast<double>(Value));
	return Buffer;
}

/** One decoded field: its JSON name and value, and its readable form. */
struct FField
{
	std::string Name;
	std::string Json;
	std::string Text;
};

/** The decoded form of one message, shared by the readable and the JSON description. */
struct FDecoded
{
	std::vector<FField> Fields;
	bool bMalformed = false;
	bool bUnknown = false;
	const ValueNames* Names = nullptr;
	/** A value id shown by its name. */
	bool bNamedId = false;
	std::uint32_t Id = 0;

	void Add(std::string Name, std::string Json, std::string Text)
	{
		Fields.push_back({std::move(Name), std::move(Json), std::move(Text)});
	}
	void Int(std::string Name, long long Value) { Add(std::move(Name), std::to_string(Value), std::to_string(Value)); }
	/** A value id: its number, and its name where one is known (the name in JSON only as a field of its own). */
	void ValueId(std::uint32_t Value)
	{
		const std::string* Name = Names != nullptr ? Names->Find(Value) : nullptr;
		if (Name == nullptr)
		{
			Int("id", Value);
			return;
		}
		bNamedId = true;
		Id = Value;
		Add("id", std::to_string(Value), ReadableName(*Name));
		Add("name", JsonString(*Name), "");
	}
	void Float(std::string Name, float Value) { Add(std::move(Name), Number(Value, true), Number(Value, false)); }
	void Text(std::string Name, std::string_view Value) { Add(std::move(Name), JsonString(Value), Quoted(Value)); }
	void Guid(std::string Name, const UE4::GUID& Value)
	{
		const std::string Text = GuidText(Value);
		Add(std::move(Name), "\"" + Text + "\"", Text);
	}
};

template <typename T, typename FFormat>
void Array(FDecoded& Out, std::string Name, const FReader& Reader, std::size_t Offset, std::size_t Count, FFormat Format)
{
	std::string Json = "[";
	std::string Text = "[";
	for (std::size_t Index = 0; Index < Count; ++Index)
	{
		const T Value = Reader.Get<T>(Offset + Index * sizeof(T));
		Json += (Index ? "," : "") + Format(Value, true);
		Text += (Index ? " " : "") + Format(Value, false);
	}
	Out.Add(std::move(Name), Json + "]", Text + "]");
}

void FloatArray(FDecoded& Out, std::string Name, const FReader& Reader, std::size_t Offset, std::size_t Count)
{
	Array<float>(Out, std::move(Name), Reader, Offset, Count, [](float Value, bool bJson) { return Number(Value, bJson); });
}

void IntArray(FDecoded& Out, std::string Name, const FReader& Reader, std::size_t Offset, std::size_t Count)
{
	Array<std::int32_t>(Out, std::move(Name), Reader, Offset, Count,
	                    [](std::int32_t Value, bool) { return std::to_string(Value); });
}

FDecoded Decode(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names)
{
	FDecoded Out;
	Out.Names = Names;
	const FReader Reader{Payload};
	const std::size_t Size = Payload.size();
	auto Need = [&](std::size_t Minimum) {
		if (Size < Minimum)
		{
			Out.bMalformed = true;
		}
		return !Out.bMalformed;
	};

	switch (Tag)
	{
	case UE4::Tag::UVER:
		if (Need(12))
		{
			Out.Int("major", Reader.Get<std::int32_t>(0));
			Out.Int("minor", Reader.Get<std::int32_t>(4));
			Out.Int("patch", Reader.Get<std::int32_t>(8));
		}
		break;
	case UE4::Tag::VERR:
		Out.Text("text", Reader.Text(0, Size));
		break;
	case UE4::Tag::VIEW:
		if (Need(24))
		{
			IntArray(Out, "values", Reader, 0, 6);
		}
		break;
	case UE4::Tag::LPHA:
		if (Need(4))
		{
			Out.Int("mode", Reader.Get<std::int32_t>(0));
		}
		break;
	case UE4::Tag::TSHR:
		if (Need(4))
		{
			const std::int32_t Count = Reader.Get<std::int32_t>(0);
			if (Count < 0 || (Size - 4) / 16 < static_cast<std::size_t>(Count))
			{
				Out.bMalformed = true;
				break;
			}
			Out.Int("count", Count);
			std::string Json = "[";
			std::string Text;
			for (std::int32_t Index = 0; Index < Count; ++Index)
			{
				const std::string Id = GuidText(Reader.Guid(4 + 16 * static_cast<std::size_t>(Index)));
				Json += (Index ? ",\"" : "\"") + Id + "\"";
				Text += (Index ? " " : "") + Id;
			}
			Out.Add("ids", Json + "]", Text);
		}
		break;
	case UE4::Tag::FLDQ:
		if (Need(16))
		{
			std::size_t Next = 0;
			Out.Guid("request", Reader.Guid(0));
			Out.Text("name", Reader.ZeroTerminated(16, Next));
		}
		break;
	case UE4::Tag::FLDS:
		if (Need(16))
		{
			Out.Guid("request", Reader.Guid(0));
			std::string Json = "[";
			std::string Text;
			for (std::size_t Cursor = 16; Cursor < Size;)
			{
				if (Size - Cursor < 2)
				{
					Out.bMalformed = true;
					break;
				}
				const int Type = Payload[Cursor];
				const bool bFlag = Payload[Cursor + 1] != 0;
				const std::string_view Name = Reader.ZeroTerminated(Cursor + 2, Cursor);
				Json += std::string(Json.size() > 1 ? "," : "") + "{\"type\":" + std::to_string(Type) +
				        ",\"flag\":" + (bFlag ? "true" : "false") + ",\"name\":" + JsonString(Name) + "}";
				Text += (Text.empty() ? "" : " ") + std::to_string(Type) + "/" + (bFlag ? "1" : "0") + "/" + Quoted(Name);
			}
			Out.Add("fields", Json + "]", Text);
		}
		break;
	case UE4::Tag::CAMR:
	case UE4::Tag::PROJ:
		if (Need(64))
		{
			FloatArray(Out, "matrix", Reader, 0, 16);
		}
		break;
	case UE4::Tag::RESN:
		if (Need(8))
		{
			Out.Int("width", Reader.Get<std::int32_t>(0));
			Out.Int("height", Reader.Get<std::int32_t>(4));
		}
		break;
	case UE4::Tag::QLTY:
		if (Need(4))
		{
			Out.Int("quality", Reader.Get<std::int32_t>(0));
		}
		break;
	case UE4::Tag::CLCK:
		if (Need(20))
		{
			Out.Int("frameCounter", Reader.Get<std::int64_t>(0));
			Out.Float("time", Reader.Get<float>(8));
			Out.Int("numerator", Reader.Get<std::int32_t>(12));
			Out.Int("denominator", Reader.Get<std::int32_t>(16));
		}
		break;
	case UE4::Tag::ITAC:
		if (Need(4))
		{
			const std::int32_t Length = Reader.Get<std::int32_t>(0);
			if (Length < 0 || static_cast<std::size_t>(Length) > Size - 4)
			{
				Out.bMalformed = true;
				break;
			}
			const auto Packet = Payload.subspan(4, static_cast<std::size_t>(Length));
			// A well-formed bundle is shown readably ("ITAC Mouse/Position 0.5 0.5"), anything else in hexadecimal.
			std::string Summary;
			const bool bDecoded = DescribeInputPacket(Packet, Summary);
			Out.Add("length", std::to_string(Length), bDecoded ? "" : std::to_string(Length));
			Out.Add("bytes", "\"" + Hex(Packet, "") + "\"", bDecoded ? "" : Hex(Packet, " "));
			if (bDecoded)
			{
				Out.Add("input", JsonString(Summary), Summary);
			}
		}
		break;
	case UE4::Tag::EVNT:
		if (Need(4))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			Out.Int("argument", Size == 12 ? Reader.Get<std::int32_t>(8) : 0);
		}
		break;
	case UE4::Tag::VINT:
		if (Need(8))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			Out.Int("value", Reader.Get<std::int32_t>(4));
		}
		break;
	case UE4::Tag::VFLT:
		if (Need(8))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			Out.Float("value", Reader.Get<float>(4));
		}
		break;
	case UE4::Tag::VBOL:
		if (Need(5))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			Out.Add("value", Payload[4] ? "true" : "false", Payload[4] ? "1" : "0");
		}
		break;
	case UE4::Tag::VSTR:
		if (Need(4))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			Out.Text("value", Reader.Text(4, Size - 4));
		}
		break;
	case UE4::Tag::AINT:
		if (Need(4))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			IntArray(Out, "values", Reader, 4, (Size - 4) / 4);
		}
		break;
	case UE4::Tag::AFLT:
		if (Need(4))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			FloatArray(Out, "values", Reader, 4, (Size - 4) / 4);
		}
		break;
	case UE4::Tag::ABOL:
		if (Need(4))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			std::string Json = "[";
			std::string Text = "[";
			for (std::size_t Index = 4; Index < Size; ++Index)
			{
				Json += std::string(Index > 4 ? "," : "") + (Payload[Index] ? "true" : "false");
				Text += std::string(Index > 4 ? " " : "") + (Payload[Index] ? "1" : "0");
			}
			Out.Add("values", Json + "]", Text + "]");
		}
		break;
	case UE4::Tag::ASTR:
		if (Need(4))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			std::string Json = "[";
			std::string Text = "[";
			for (std::size_t Cursor = 4; Cursor < Size;)
			{
				const std::string_view Item = Reader.ZeroTerminated(Cursor, Cursor);
				Json += (Json.size() > 1 ? "," : "") + JsonString(Item);
				Text += (Text.size() > 1 ? " " : "") + Quoted(Item);
			}
			Out.Add("values", Json + "]", Text + "]");
		}
		break;
	case UE4::Tag::MTXV:
		if (Need(84))
		{
			Out.ValueId(Reader.Get<std::uint32_t>(0));
			Out.Guid("identifier", Reader.Guid(4));
			FloatArray(Out, "matrix", Reader, 20, 16);
		}
		break;
	default:
		Out.bUnknown = true;
		Out.Add("bytes", "\"" + Hex(Payload, "") + "\"", Hex(Payload, " "));
		break;
	}
	return Out;
}

} // namespace

std::string TagText(std::uint32_t Tag)
{
	std::string Out;
	for (int Index = 0; Index < 4; ++Index)
	{
		const auto Byte = static_cast<unsigned char>((Tag >> (8 * Index)) & 0xFF);
		if (Byte >= 0x20 && Byte < 0x7F && Byte != '\\')
		{
			Out.push_back(static_cast<char>(Byte));
		}
		else
		{
			char Buffer[8];
			std::snprintf(Buffer, sizeof(Buffer), "\\x%02x", Byte);
			Out += Buffer;
		}
	}
	return Out;
}

std::string GuidText(const UE4::GUID& Guid)
{
	char Buffer[40];
	std::snprintf(Buffer, sizeof(Buffer), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(Guid.Data1),
	              static_cast<unsigned>(Guid.Data2), static_cast<unsigned>(Guid.Data3), Guid.Data4[0], Guid.Data4[1],
	              Guid.Data4[2], Guid.Data4[3], Guid.Data4[4], Guid.Data4[5], Guid.Data4[6], Guid.Data4[7]);
	return Buffer;
}

std::string JsonEscape(std::string_view Text)
{
	std::string Out;
	auto Escape = [&Out](unsigned Byte) {
		char Buffer[8];
		std::snprintf(Buffer, sizeof(Buffer), "\\u%04x", Byte);
		Out += Buffer;
	};
	for (std::size_t Index = 0; Index < Text.size();)
	{
		const auto Byte = static_cast<unsigned char>(Text[Index]);
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
					Escape(Byte);
				}
				else
				{
					Out.push_back(static_cast<char>(Byte));
				}
			}
			++Index;
			continue;
		}
		// Keep a well-formed UTF-8 sequence; any other byte is taken as the code point of its value.
		const std::size_t Length = (Byte & 0xE0) == 0xC0 ? 2 : (Byte & 0xF0) == 0xE0 ? 3 : (Byte & 0xF8) == 0xF0 ? 4 : 0;
		bool bValid = Length > 0 && Index + Length <= Text.size() && !(Byte == 0xC0 || Byte == 0xC1 || Byte > 0xF4);
		for (std::size_t Next = 1; bValid && Next < Length; ++Next)
		{
			bValid = (static_cast<unsigned char>(Text[Index + Next]) & 0xC0) == 0x80;
		}
		if (bValid)
		{
			Out.append(Text.substr(Index, Length));
			Index += Length;
		}
		else
		{
			Escape(Byte);
			++Index;
		}
	}
	return Out;
}

namespace
{

/** The readable description; bIdAfter appends the id of a value shown by name, for lines that show it nowhere else. */
std::string Describe(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names, bool bIdAfter)
{
	const FDecoded Decoded = Decode(Tag, Payload, Names);
	std::string Out = TagText(Tag);
	if (Decoded.bMalformed)
	{
		return Out + " malformed: " + std::to_string(Payload.size()) + " bytes";
	}
	if (Decoded.bUnknown)
	{
		Out += " (unknown tag) " + std::to_string(Payload.size()) + " bytes";
		if (!Payload.empty())
		{
			Out += ": " + Decoded.Fields.front().Text;
		}
		return Out;
	}
	if (Tag == UE4::Tag::UVER)
	{
		return Out + " " + Decoded.Fields[0].Text + "." + Decoded.Fields[1].Text + "." + Decoded.Fields[2].Text;
	}
	for (const FField& Field : Decoded.Fields)
	{
		if (Field.Text.empty())
		{
			continue;
		}
		Out += ' ';
		Out += Field.Text;
	}
	if (bIdAfter && Decoded.bNamedId)
	{
		Out += " [id " + IdText(Decoded.Id) + "]";
	}
	return Out;
}

} // namespace

std::string DescribeMessage(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names)
{
	return Describe(Tag, Payload, Names, true);
}

std::string DescribeMessageJson(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names)
{
	const FDecoded Decoded = Decode(Tag, Payload, Names);
	std::string TagBytes(4, '\0');
	std::memcpy(TagBytes.data(), &Tag, 4);
	std::string Out = "{\"tag\":" + JsonString(TagBytes);
	if (Decoded.bMalformed)
	{
		return Out + ",\"malformed\":true,\"size\":" + std::to_string(Payload.size()) + ",\"bytes\":\"" + Hex(Payload, "") +
		       "\"}";
	}
	if (Decoded.bUnknown)
	{
		Out += ",\"unknown\":true,\"size\":" + std::to_string(Payload.size());
	}
	for (const FField& Field : Decoded.Fields)
	{
		Out += ",\"" + Field.Name + "\":" + Field.Json;
	}
	return Out + "}";
}

std::string DescribeShareParameter(std::string_view ShareName, std::uint32_t Frame, std::string_view Key, std::string_view Value,
                                   const ValueNames* Names, bool bJson)
{
	const std::string Share = std::string(ShareName);
	const std::string FrameText = std::to_string(Frame);
	ShareParameter Parameter;
	if (!DecodeShareParameter(Key, Value, Parameter))
	{
		return bJson ? "{\"event\":\"share\",\"share\":" + JsonString(Share) + ",\"frame\":" + FrameText +
		                   ",\"key\":" + JsonString(Key) + ",\"value\":" + JsonString(Value) + "}"
		             : "share " + Share + " frame " + FrameText + ": " + std::string(Key) + "=" + std::string(Value);
	}
	// The parameter carries the id in its key; with it in front, the payload reads as the message would.
	std::vector<std::uint8_t> Message;
	if (Parameter.Tag != UE4::Tag::VERR)
	{
		for (int Shift = 0; Shift < 32; Shift += 8)
		{
			Message.push_back(static_cast<std::uint8_t>(Parameter.Id >> Shift));
		}
	}
	Message.insert(Message.end(), Parameter.Payload.begin(), Parameter.Payload.end());
	const bool bMatrix = Parameter.Tag == UE4::Tag::MTXV;
	const std::string* Name = Names != nullptr && Parameter.Tag != UE4::Tag::VERR ? Names->Find(Parameter.Id) : nullptr;
	const std::string Id = IdText(Parameter.Id);
	if (bJson)
	{
		return "{\"event\":\"share\",\"share\":" + JsonString(Share) + ",\"frame\":" + FrameText +
		       ",\"frameMarker\":" + std::to_string(Parameter.FrameMarker) + ",\"id\":" + std::to_string(Parameter.Id) +
		       (Name != nullptr ? ",\"name\":" + JsonString(*Name) : std::string()) +
		       ",\"message\":" + (bMatrix ? "{\"tag\":\"MTXV\"}" : DescribeMessageJson(Parameter.Tag, Message, Names)) + "}";
	}
	return "share " + Share + " frame " + FrameText + ": " +
	       (bMatrix ? TagText(Parameter.Tag) + " " + (Name != nullptr ? ReadableName(*Name) : Id) + " (" +
	                      std::to_string(Parameter.Payload.size()) + " bytes)"
	                : Describe(Parameter.Tag, Message, Names, false)) +
	       " [id " + Id + ", frame marker " + std::to_string(Parameter.FrameMarker) + "]";
}

} // namespace Korvat::Host
