// What a message of the wire says, field by field: one decoder for every tag, reporting typed fields to a
// visitor, and on top of it the JSON form in which the plug-in traces its link and the host tool prints
// what it sees. Any bytes are safe: every read is checked against the payload's size first.
#pragma once

#include "UE4ComCommon.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace Korvat::UE4
{

/**
 * Elements of a fixed size (std::int32_t, float, GUID) packed in a payload in the wire's (little-endian)
 * order, copied out on access, so the payload needs no alignment. Bytes that do not fill a whole element
 * at the end are left out of the array.
 */
template <typename Element>
class PackedArray
{
public:
	explicit PackedArray(std::span<const std::uint8_t> Packed) noexcept
		: Storage(Packed.first(Packed.size() / sizeof(Element) * sizeof(Element)))
	{
	}

	std::size_t Size() const noexcept { return Storage.size() / sizeof(Element); }

	Element operator[](std::size_t Index) const noexcept
	{
		Element Value;
		std::memcpy(&Value, Storage.data() + Index * sizeof(Element), sizeof(Element));
		return Value;
	}

private:
	std::span<const std::uint8_t> Storage;
};

/**
 * Texts one after another, each ended by a zero byte; the last may run to the end without one. Two zero
 * bytes in a row hold an empty text.
 *
 * @code
 *   std::size_t Cursor = 0;
 *   std::string_view Item;
 *   while (Texts.Next(Cursor, Item)) { ... }
 * @endcode
 */
class ZeroTerminatedTexts
{
public:
	explicit ZeroTerminatedTexts(std::span<const std::uint8_t> Packed) noexcept : Storage(Packed) {}

	/** The text that starts at Cursor (0 for the first); moves Cursor past its zero byte. False at the end. */
	bool Next(std::size_t& Cursor, std::string_view& Item) const noexcept;

private:
	std::span<const std::uint8_t> Storage;
};

/** One record of a field list ("FLDS"): the field's type number, the host's flag byte and the field's name. */
struct FieldListRecord
{
	std::uint8_t Type = 0;
	bool IsFromKorvat = false;
	std::string_view Name;
};

/**
 * The records of a field list after its request GUID: a type byte, a flag byte and a name up to its zero byte
 * (the last name may run to the end without one). The visitor only sees lists whose records are all whole.
 */
class FieldListRecords
{
public:
	explicit FieldListRecords(std::span<const std::uint8_t> Packed) noexcept : Storage(Packed) {}

	/** True when no record is cut off after its type byte. */
	bool IsWhole() const noexcept;

	/** The record that starts at Cursor (0 for the first); moves Cursor past it. False at the end or at a cut record. */
	bool Next(std::size_t& Cursor, FieldListRecord& Record) const noexcept;

private:
	std::span<const std::uint8_t> Storage;
};

/**
 * Receives the fields of one message from VisitMessageFields, in wire order, each under the name the JSON form
 * gives it. A message gets exactly one of three shapes:
 * - Malformed alone, when the payload is too short for its tag's layout or its counts do not fit;
 * - Unknown, then RawBytes("bytes", Payload), for a tag the wire does not define;
 * - otherwise its fields (none for a tag whose layout has none).
 * The views passed in point into the payload and are valid only during the call.
 */
class MessageFieldVisitor
{
public:
	virtual ~MessageFieldVisitor() = default;

	virtual void Integer(std::string_view Name, std::int64_t Value) = 0;
	virtual void Float(std::string_view Name, float Value) = 0;
	virtual void Bool(std::string_view Name, bool Value) = 0;
	/** The id of a value, event or transform (always named "id"). */
	virtual void ValueId(std::string_view Name, std::uint32_t Id) = 0;
	/** Bytes of text as they came: not necessarily UTF-8, and may hold zero bytes. */
	virtual void Text(std::string_view Name, std::string_view Value) = 0;
	virtual void Guid(std::string_view Name, const GUID& Value) = 0;
	virtual void IntegerArray(std::string_view Name, const PackedArray<std::int32_t>& Values) = 0;
	virtual void FloatArray(std::string_view Name, const PackedArray<float>& Values) = 0;
	/** One byte per element; any byte but zero is true. */
	virtual void BoolArray(std::string_view Name, std::span<const std::uint8_t> Values) = 0;
	virtual void TextArray(std::string_view Name, const ZeroTerminatedTexts& Values) = 0;
	virtual void GuidArray(std::string_view Name, const PackedArray<GUID>& Values) = 0;
	/** The records of a field list; all of them are whole. */
	virtual void FieldRecords(std::string_view Name, const FieldListRecords& Records) = 0;
	virtual void RawBytes(std::string_view Name, std::span<const std::uint8_t> Value) = 0;
	/** The packet of an "ITAC" message, without its length prefix (which is Packet.size()). */
	virtual void InputPacket(std::span<const std::uint8_t> Packet) = 0;
	/** The payload does not fit its tag's layout; no field follows. */
	virtual void Malformed(std::span<const std::uint8_t> Payload) = 0;
	/** The tag is none the wire defines; the whole payload follows as RawBytes. */
	virtual void Unknown(std::size_t PayloadSize) = 0;
};

/**
 * Decodes Payload as a message of Tag and reports its fields to Visitor. Reads nothing outside Payload; extra
 * bytes after a fixed layout are ignored.
 */
void VisitMessageFields(std::uint32_t Tag, std::span<const std::uint8_t> Payload, MessageFieldVisitor& Visitor);

/** What the JSON form may add from outside the message. Both hooks add nothing unless overridden. */
class MessageJsonContext
{
public:
	virtual ~MessageJsonContext() = default;

	/** The name of a value id, or null when none is known; a known id gains a "name" field after "id". */
	virtual const std::string* FindValueName(std::uint32_t /*Id*/) const { return nullptr; }

	/**
	 * A one-line summary of an "ITAC" packet into Summary (empty on entry), shown as its "input" field; false
	 * when the packet cannot be summarised, which leaves the field out.
	 */
	virtual bool SummarizeInputPacket(std::span<const std::uint8_t> /*Packet*/, std::string& /*Summary*/) const { return false; }
};

/**
 * Appends one message as a JSON object on one line: "tag" (its four characters), then its fields in wire order,
 * e.g. {"tag":"UVER","major":5,"minor":5,"patch":3}. A malformed message is
 * {"tag":...,"malformed":true,"size":N,"bytes":"..."}, a message of an unknown tag
 * {"tag":...,"unknown":true,"size":N,"bytes":"..."}. Texts are escaped by AppendJsonEscaped, floats written by
 * AppendJsonNumber, GUIDs by AppendGuidText in quotes, byte fields by AppendHexPreview. Calls the context's
 * hooks, if any (so it may throw only what they throw, or on allocation).
 */
void AppendMessageJson(std::string& Out, std::uint32_t Tag, std::span<const std::uint8_t> Payload,
	const MessageJsonContext* Context = nullptr);

/** The most bytes a byte field of the JSON form shows; longer ones end in "...". */
constexpr std::size_t MaxHexPreviewBytes = 256;

/**
 * Appends the first MaxHexPreviewBytes of Bytes as lower-case hexadecimal, Separator between bytes; when
 * there are more, Separator and "..." follow.
 */
void AppendHexPreview(std::string& Out, std::span<const std::uint8_t> Bytes, std::string_view Separator = {}) noexcept;

/** Appends all of Bytes as lower-case hexadecimal, two digits a byte, nothing between them. */
void AppendHex(std::string& Out, std::span<const std::uint8_t> Bytes) noexcept;

/**
 * Appends Text as the inside of a JSON string: quote, backslash, \n, \r and \t as their short escapes, other
 * control bytes and DEL as \u00XX; well-formed UTF-8 sequences are kept, and any other byte becomes \u00XX
 * of its value (as if the text were Latin-1 there), so the result is always valid UTF-8 JSON.
 */
void AppendJsonEscaped(std::string& Out, std::string_view Text) noexcept;

/** Appends Value as a JSON number (%.9g, enough to read back the same float), or null when it is not finite. */
void AppendJsonNumber(std::string& Out, float Value) noexcept;

/** Appends a GUID as the system writes it: braces, upper-case hexadecimal, 38 characters. */
void AppendGuidText(std::string& Out, const GUID& Guid) noexcept;

} // namespace Korvat::UE4
