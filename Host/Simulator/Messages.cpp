#include "Messages.h"

#include "InputPackets.h"
#include "MessageDescription.h"
#include "ShareChannel.h"
#include "ValueNames.h"

#include <cstdio>

namespace Korvat::Host
{

namespace UE4 = Korvat::UE4;

namespace
{

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

std::string ReadableNumber(float Value)
{
	char Buffer[32];
	std::snprintf(Buffer, sizeof(Buffer), "%g", static_cast<double>(Value));
	return Buffer;
}

std::string ReadableHex(std::span<const std::uint8_t> Bytes)
{
	std::string Out;
	UE4::AppendHexPreview(Out, Bytes, " ");
	return Out;
}

/** The JSON form's hooks: names from the host's ValueNames, and a readable summary of input packets. */
class FJsonContext final : public UE4::MessageJsonContext
{
public:
	explicit FJsonContext(const ValueNames* InNames) : Names(InNames) {}

	const std::string* FindValueName(std::uint32_t Id) const override { return Names != nullptr ? Names->Find(Id) : nullptr; }
	bool SummarizeInputPacket(std::span<const std::uint8_t> Packet, std::string& Summary) const override
	{
		return DescribeInputPacket(Packet, Summary);
	}

private:
	const ValueNames* Names;
};

/**
 * The fields of a message as a readable line: each after a blank (UVER's three numbers joined by dots), arrays
 * in brackets, a field whose text is empty left out.
 */
class FReadableFields final : public UE4::MessageFieldVisitor
{
public:
	FReadableFields(std::uint32_t InTag, const ValueNames* InNames) : Tag(InTag), Names(InNames) {}

	/** What follows the tag. */
	std::string Line;
	bool bMalformed = false;
	/** A value id shown by its name, and that id. */
	bool bNamedId = false;
	std::uint32_t NamedId = 0;

	void Integer(std::string_view, std::int64_t Value) override { Field(std::to_string(Value)); }
	void Float(std::string_view, float Value) override { Field(ReadableNumber(Value)); }
	void Bool(std::string_view, bool Value) override { Field(Value ? "1" : "0"); }
	void ValueId(std::string_view, std::uint32_t Id) override
	{
		const std::string* Name = Names != nullptr ? Names->Find(Id) : nullptr;
		if (Name == nullptr)
		{
			Field(std::to_string(Id));
			return;
		}
		bNamedId = true;
		NamedId = Id;
		Field(ReadableName(*Name));
	}
	void Text(std::string_view, std::string_view Value) override { Field(Quoted(Value)); }
	void Guid(std::string_view, const UE4::GUID& Value) override { Field(GuidText(Value)); }
	void IntegerArray(std::string_view, const UE4::PackedArray<std::int32_t>& Values) override
	{
		std::string Joined = "[";
		for (std::size_t Index = 0; Index < Values.Size(); ++Index)
		{
			Joined += (Index ? " " : "") + std::to_string(Values[Index]);
		}
		Field(Joined + "]");
	}
	void FloatArray(std::string_view, const UE4::PackedArray<float>& Values) override
	{
		std::string Joined = "[";
		for (std::size_t Index = 0; Index < Values.Size(); ++Index)
		{
			Joined += (Index ? " " : "") + ReadableNumber(Values[Index]);
		}
		Field(Joined + "]");
	}
	void BoolArray(std::string_view, std::span<const std::uint8_t> Values) override
	{
		std::string Joined = "[";
		for (std::size_t Index = 0; Index < Values.size(); ++Index)
		{
			Joined += std::string(Index ? " " : "") + (Values[Index] ? "1" : "0");
		}
		Field(Joined + "]");
	}
	void TextArray(std::string_view, const UE4::ZeroTerminatedTexts& Values) override
	{
		std::string Joined = "[";
		std::size_t Cursor = 0;
		std::string_view Item;
		while (Values.Next(Cursor, Item))
		{
			Joined += (Joined.size() > 1 ? " " : "") + Quoted(Item);
		}
		Field(Joined + "]");
	}
	void GuidArray(std::string_view, const UE4::PackedArray<UE4::GUID>& Values) override
	{
		std::string Joined;
		for (std::size_t Index = 0; Index < Values.Size(); ++Index)
		{
			Joined += (Index ? " " : "") + GuidText(Values[Index]);
		}
		Field(Joined);
	}
	void FieldRecords(std::string_view, const UE4::FieldListRecords& Records) override
	{
		std::string Joined;
		std::size_t Cursor = 0;
		UE4::FieldListRecord Record;
		while (Records.Next(Cursor, Record))
		{
			Joined += (Joined.empty() ? "" : " ") + std::to_string(Record.Type) + "/" + (Record.IsFromKorvat ? "1" : "0") + "/" +
			        Quoted(Record.Name);
		}
		Field(Joined);
	}
	void RawBytes(std::string_view, std::span<const std::uint8_t> Value) override
	{
		// Raw bytes are what an unknown tag carries: after its size, when there are any.
		if (!Value.empty())
		{
			Line += ": " + ReadableHex(Value);
		}
	}
	void InputPacket(std::span<const std::uint8_t> Packet) override
	{
		// A well-formed bundle is shown readably ("ITAC Mouse/Position 0.5 0.5"), anything else in hexadecimal.
		std::string Summary;
		if (DescribeInputPacket(Packet, Summary))
		{
			Field(Summary);
			return;
		}
		Field(std::to_string(Packet.size()));
		Field(ReadableHex(Packet));
	}
	void Malformed(std::span<const std::uint8_t>) override { bMalformed = true; }
	void Unknown(std::size_t PayloadSize) override { Line += " (unknown tag) " + std::to_string(PayloadSize) + " bytes"; }

private:
	void Field(const std::string& Shown)
	{
		if (Shown.empty())
		{
			return;
		}
		Line += Tag == UE4::Tag::UVER && !Line.empty() ? '.' : ' ';
		Line += Shown;
	}

	std::uint32_t Tag;
	const ValueNames* Names;
};

/** The readable description; bIdAfter appends the id of a value shown by name, for lines that show it nowhere else. */
std::string Describe(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names, bool bIdAfter)
{
	FReadableFields Fields(Tag, Names);
	UE4::VisitMessageFields(Tag, Payload, Fields);
	std::string Out = TagText(Tag);
	if (Fields.bMalformed)
	{
		return Out + " malformed: " + std::to_string(Payload.size()) + " bytes";
	}
	Out += Fields.Line;
	if (bIdAfter && Fields.bNamedId)
	{
		Out += " [id " + IdText(Fields.NamedId) + "]";
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
	std::string Out;
	UE4::AppendGuidText(Out, Guid);
	return Out;
}

std::string JsonEscape(std::string_view Text)
{
	std::string Out;
	UE4::AppendJsonEscaped(Out, Text);
	return Out;
}

std::string DescribeMessage(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names)
{
	return Describe(Tag, Payload, Names, true);
}

std::string DescribeMessageJson(std::uint32_t Tag, std::span<const std::uint8_t> Payload, const ValueNames* Names)
{
	const FJsonContext Context(Names);
	std::string Out;
	UE4::AppendMessageJson(Out, Tag, Payload, &Context);
	return Out;
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
