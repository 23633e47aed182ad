#include "HostScript.h"

#include "HexDigits.h"
#include "InputPackets.h"
#include "Platform/System.h"
#include "ValueNames.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace Korvat::Host
{

namespace UE4 = Korvat::UE4;

namespace
{

bool IsSpace(char Char)
{
	return Char == ' ' || Char == '\t' || Char == '\r' || Char == '\n';
}

/** Splits off the first word of Text; Text keeps what follows, leading blanks removed. */
std::string_view NextWord(std::string_view& Text)
{
	std::size_t Start = 0;
	while (Start < Text.size() && IsSpace(Text[Start]))
	{
		++Start;
	}
	std::size_t End = Start;
	while (End < Text.size() && !IsSpace(Text[End]))
	{
		++End;
	}
	const std::string_view Word = Text.substr(Start, End - Start);
	while (End < Text.size() && IsSpace(Text[End]))
	{
		++End;
	}
	Text.remove_prefix(End);
	return Word;
}

std::vector<std::string_view> Words(std::string_view Text)
{
	std::vector<std::string_view> Out;
	for (std::string_view Word = NextWord(Text); !Word.empty(); Word = NextWord(Text))
	{
		Out.push_back(Word);
	}
	return Out;
}

std::string_view TrimRight(std::string_view Text)
{
	while (!Text.empty() && IsSpace(Text.back()))
	{
		Text.remove_suffix(1);
	}
	return Text;
}

/** Unsigned 64-bit number, decimal or 0x-prefixed hexadecimal, the whole word. */
bool ParseUnsigned(std::string_view Word, std::uint64_t& Out)
{
	int Base = 10;
	if (Word.size() > 2 && Word[0] == '0' && (Word[1] == 'x' || Word[1] == 'X'))
	{
		Word.remove_prefix(2);
		Base = 16;
	}
	if (Word.empty())
	{
		return false;
	}
	const auto [End, Error] = std::from_chars(Word.data(), Word.data() + Word.size(), Out, Base);
	return Error == std::errc() && End == Word.data() + Word.size();
}

bool ParseU32(std::string_view Word, std::uint32_t& Out)
{
	std::uint64_t Value = 0;
	if (!ParseUnsigned(Word, Value) || Value > 0xFFFFFFFFull)
	{
		return false;
	}
	Out = static_cast<std::uint32_t>(Value);
	return true;
}

/** Signed number; a hexadecimal word gives the bit pattern (0xFFFFFFFF is -1). */
bool ParseI64(std::string_view Word, std::int64_t& Out, int Bits)
{
	const bool bNegative = !Word.empty() && Word[0] == '-';
	std::uint64_t Magnitude = 0;
	if (!ParseUnsigned(bNegative ? Word.substr(1) : Word, Magnitude))
	{
		return false;
	}
	const bool bHex = Word.size() > 2 && (Word[1] == 'x' || Word[1] == 'X');
	const std::uint64_t Limit = Bits == 64 ? ~0ull : (1ull << Bits) - 1;
	if (bHex && !bNegative)
	{
		if (Magnitude > Limit)
		{
			return false;
		}
		const std::uint64_t SignBit = 1ull << (Bits - 1);
		Out = (Magnitude & SignBit) && Bits < 64 ? static_cast<std::int64_t>(Magnitude) - static_cast<std::int64_t>(Limit) - 1
		                                         : static_cast<std::int64_t>(Magnitude);
		return true;
	}
	const std::uint64_t MaxMagnitude = (1ull << (Bits - 1)) - (bNegative ? 0 : 1);
	if (Magnitude > MaxMagnitude)
	{
		return false;
	}
	Out = bNegative ? static_cast<std::int64_t>(0 - Magnitude) : static_cast<std::int64_t>(Magnitude);
	return true;
}

bool ParseI32(std::string_view Word, std::int32_t& Out)
{
	std::int64_t Value = 0;
	if (!ParseI64(Word, Value, 32))
	{
		return false;
	}
	Out = static_cast<std::int32_t>(Value);
	return true;
}

bool ParseFloat(std::string_view Word, float& Out)
{
	if (!Word.empty() && Word[0] == '+')
	{
		Word.remove_prefix(1);
	}
	const auto [End, Error] = std::from_chars(Word.data(), Word.data() + Word.size(), Out);
	return !Word.empty() && Error == std::errc() && End == Word.data() + Word.size();
}

/** Hexadecimal bytes, in words of any even length ("01 02" or "0102"). */
bool ParseHexBytes(std::span<const std::string_view> Items, std::vector<std::uint8_t>& Out, std::string& Error)
{
	for (std::string_view Word : Items)
	{
		if (Word.size() > 2 && Word[0] == '0' && (Word[1] == 'x' || Word[1] == 'X'))
		{
			Word.remove_prefix(2);
		}
		if (Word.size() % 2 != 0)
		{
			Error = "odd number of hexadecimal digits in '" + std::string(Word) + "'";
			return false;
		}
		if (!AppendHexBytes(Word, Out))
		{
			Error = "not hexadecimal: '" + std::string(Word) + "'";
			return false;
		}
	}
	return true;
}

/** Free text with the escapes \n \r \t \0 \\ and \xNN. */
bool Unescape(std::string_view Text, std::string& Out, std::string& Error)
{
	for (std::size_t Index = 0; Index < Text.size(); ++Index)
	{
		if (Text[Index] != '\\' || Index + 1 == Text.size())
		{
			Out.push_back(Text[Index]);
			continue;
		}
		const char Next = Text[++Index];
		switch (Next)
		{
		case 'n':
			Out.push_back('\n');
			break;
		case 'r':
			Out.push_back('\r');
			break;
		case 't':
			Out.push_back('\t');
			break;
		case '0':
			Out.push_back('\0');
			break;
		case '\\':
			Out.push_back('\\');
			break;
		case 'x': {
			const int High = Index + 1 < Text.size() ? HexDigitValue(Text[Index + 1]) : -1;
			const int Low = Index + 2 < Text.size() ? HexDigitValue(Text[Index + 2]) : -1;
			if (High < 0 || Low < 0)
			{
				Error = "\\x needs two hexadecimal digits";
				return false;
			}
			Out.push_back(static_cast<char>(High * 16 + Low));
			Index += 2;
			break;
		}
		default:
			Out.push_back('\\');
			Out.push_back(Next);
		}
	}
	return true;
}

/** A name as written in a command: the escapes of text undone; a zero byte would end it early on the plug-in's side. */
bool ParseName(std::string_view Word, std::string& Out, std::string& Error)
{
	Out.clear();
	if (!Unescape(Word, Out, Error))
	{
		return false;
	}
	if (Out.find('\0') != std::string::npos)
	{
		Error = "a name cannot hold a zero byte: '" + std::string(Word) + "'";
		return false;
	}
	return true;
}

/** An id: a number as it is, any other word a name hashed to its id (then Name holds the name, else it is empty). */
bool ParseId(std::string_view Word, std::uint32_t& Out, std::string& Name, std::string& Error)
{
	Name.clear();
	if (IsNumberWord(Word))
	{
		if (!ParseU32(Word, Out))
		{
			Error = "not an unsigned 32-bit number: '" + std::string(Word) + "'";
			return false;
		}
		return true;
	}
	if (!ParseName(Word, Name, Error))
	{
		return false;
	}
	Out = ValueIdOfName(Name);
	return true;
}

template <typename T> void Put(std::vector<std::uint8_t>& Out, T Value)
{
	std::uint8_t Bytes[sizeof(T)];
	std::memcpy(Bytes, &Value, sizeof(T));
	Out.insert(Out.end(), Bytes, Bytes + sizeof(T));
}

void PutText(std::vector<std::uint8_t>& Out, std::string_view Text)
{
	Out.insert(Out.end(), Text.begin(), Text.end());
}

/** Collects typed arguments with one error message per failure. */
/** A 4x4 matrix, row by row, for points as row vectors (translation in the fourth row), as the host sends it. */
using FMatrix4 = std::array<float, 16>;

/**
 * The host's camera (view) matrix for a camera at (X, Y, Z) metres turned by Yaw about the host's up axis (y),
 * Pitch about its x axis and Roll about its z axis, in degrees, roll applied first: the inverse of the
 * camera's placement.
 */
FMatrix4 CameraMatrix(double X, double Y, double Z, double Yaw, double Pitch, double Roll)
{
	constexpr double DegreesToRadians = 3.14159265358979323846 / 180.0;
	const double SY = std::sin(Yaw * DegreesToRadians), CY = std::cos(Yaw * DegreesToRadians);
	const double SP = std::sin(Pitch * DegreesToRadians), CP = std::cos(Pitch * DegreesToRadians);
	const double SR = std::sin(Roll * DegreesToRadians), CR = std::cos(Roll * DegreesToRadians);
	using FRows = std::array<std::array<double, 3>, 3>;
	const auto Multiply = [](const FRows& A, const FRows& B) {
		FRows Product{};
		for (int Row = 0; Row < 3; ++Row)
		{
			for (int Column = 0; Column < 3; ++Column)
			{
				for (int K = 0; K < 3; ++K)
				{
					Product[Row][Column] += A[Row][K] * B[K][Column];
				}
			}
		}
		return Product;
	};
	const FRows RollAboutZ{{{CR, SR, 0}, {-SR, CR, 0}, {0, 0, 1}}};
	const FRows PitchAboutX{{{1, 0, 0}, {0, CP, SP}, {0, -SP, CP}}};
	const FRows YawAboutY{{{CY, 0, -SY}, {0, 1, 0}, {SY, 0, CY}}};
	const FRows Rotation = Multiply(Multiply(RollAboutZ, PitchAboutX), YawAboutY);
	// Inverse of the rigid placement [R 0; t 1]: [R^T 0; -t R^T 1].
	const double Position[3] = {X, Y, Z};
	FMatrix4 View{};
	for (int Row = 0; Row < 3; ++Row)
	{
		for (int Column = 0; Column < 3; ++Column)
		{
			View[Row * 4 + Column] = static_cast<float>(Rotation[Column][Row]);
		}
	}
	for (int Column = 0; Column < 3; ++Column)
	{
		double Sum = 0;
		for (int K = 0; K < 3; ++K)
		{
			Sum -= Position[K] * Rotation[Column][K];
		}
		View[12 + Column] = static_cast<float>(Sum);
	}
	View[15] = 1.0f;
	return View;
}

/** A right-handed perspective projection with a horizontal field of view in degrees and aspect = width / height. */
FMatrix4 PerspectiveMatrix(double FieldOfView, double Aspect, double Near, double Far)
{
	const double Focal = 1.0 / std::tan(FieldOfView * 3.14159265358979323846 / 360.0);
	FMatrix4 Projection{};
	Projection[0] = static_cast<float>(Focal);
	Projection[5] = static_cast<float>(Focal * Aspect);
	Projection[10] = static_cast<float>(Far / (Near - Far));
	Projection[11] = -1.0f;
	Projection[14] = static_cast<float>(Near * Far / (Near - Far));
	return Projection;
}

/** A right-handed orthographic projection of a view Width by Height metres. */
FMatrix4 OrthographicMatrix(double Width, double Height, double Near, double Far)
{
	FMatrix4 Projection{};
	Projection[0] = static_cast<float>(2.0 / Width);
	Projection[5] = static_cast<float>(2.0 / Height);
	Projection[10] = static_cast<float>(1.0 / (Near - Far));
	Projection[14] = static_cast<float>(Near / (Near - Far));
	Projection[15] = 1.0f;
	return Projection;
}

struct FArgs
{
	std::vector<std::string_view> Items;
	std::string& Error;
	/** Where the names of ids go; null when the caller does not want them. */
	std::vector<std::string>* Names = nullptr;

	bool Count(std::size_t Expected, const char* Usage)
	{
		if (Items.size() != Expected)
		{
			Error = std::string("expected ") + Usage;
			return false;
		}
		return true;
	}
	bool AtLeast(std::size_t Expected, const char* Usage)
	{
		if (Items.size() < Expected)
		{
			Error = std::string("expected ") + Usage;
			return false;
		}
		return true;
	}
	/** A value id, as a number or a name. */
	bool Id(std::size_t Index, std::vector<std::uint8_t>& Out)
	{
		std::uint32_t Value = 0;
		std::string Name;
		if (!ParseId(Items[Index], Value, Name, Error))
		{
			return false;
		}
		if (!Name.empty() && Names != nullptr)
		{
			Names->push_back(std::move(Name));
		}
		Put(Out, Value);
		return true;
	}
	bool I32(std::size_t Index, std::vector<std::uint8_t>& Out)
	{
		std::int32_t Value = 0;
		if (!ParseI32(Items[Index], Value))
		{
			Error = "not a 32-bit integer: '" + std::string(Items[Index]) + "'";
			return false;
		}
		Put(Out, Value);
		return true;
	}
	bool F32(std::size_t Index, std::vector<std::uint8_t>& Out)
	{
		float Value = 0;
		if (!ParseFloat(Items[Index], Value))
		{
			Error = "not a number: '" + std::string(Items[Index]) + "'";
			return false;
		}
		Put(Out, Value);
		return true;
	}
	bool Bool(std::size_t Index, std::vector<std::uint8_t>& Out)
	{
		const std::string_view Word = Items[Index];
		if (Word != "0" && Word != "1" && Word != "true" && Word != "false")
		{
			Error = "not 0 or 1: '" + std::string(Word) + "'";
			return false;
		}
		Out.push_back(Word == "1" || Word == "true" ? 1 : 0);
		return true;
	}
	bool Guid(std::size_t Index, std::vector<std::uint8_t>& Out, bool bAllowNew, bool bAllowZero)
	{
		UE4::GUID Value;
		const std::string_view Word = Items[Index];
		if (bAllowNew && Word == "new")
		{
			if (!UE4::Platform::CreateGuid(Value))
			{
				Error = "the system could not create a GUID";
				return false;
			}
		}
		else if (!(bAllowZero && Word == "0") && !ParseGuid(Word, Value))
		{
			Error = "not a GUID: '" + std::string(Word) + "'";
			return false;
		}
		Put(Out, Value);
		return true;
	}
	template <typename FEach> bool Each(std::size_t From, std::size_t To, FEach Parse)
	{
		for (std::size_t Index = From; Index < To; ++Index)
		{
			if (!Parse(Index))
			{
				return false;
			}
		}
		return true;
	}
};

bool ParseSlot(std::string_view Word, SlotRef& Out, std::string& Error)
{
	if (Word == "*")
	{
		Out.bFirstConnected = true;
		return true;
	}
	std::uint32_t Index = 0;
	if (!ParseU32(Word, Index) || Index >= UE4::SlotCount)
	{
		Error = Word.empty() ? "missing slot (0 to 15 or *)" : "bad slot '" + std::string(Word) + "' (0 to 15 or *)";
		return false;
	}
	Out.Index = Index;
	return true;
}

bool ParseTagName(std::string_view Word, std::uint32_t& Out, std::string& Error)
{
	if (Word.size() != 4)
	{
		Error = "a tag has four characters: '" + std::string(Word) + "'";
		return false;
	}
	Out = 0;
	for (int Index = 3; Index >= 0; --Index)
	{
		Out = (Out << 8) | static_cast<std::uint8_t>(Word[static_cast<std::size_t>(Index)]);
	}
	return true;
}

bool ParseOptionalTimeout(std::string_view Word, std::uint32_t& Out, std::string& Error)
{
	Out = DefaultWaitTimeoutMs;
	if (Word.empty())
	{
		return true;
	}
	if (!ParseU32(Word, Out))
	{
		Error = "bad time-out '" + std::string(Word) + "' (milliseconds)";
		return false;
	}
	return true;
}

/** A button mask: names or numbers joined by "+", their bits combined. */
bool ParseButtons(std::string_view Word, std::int32_t& Out, std::string& Error)
{
	std::uint32_t Mask = 0;
	for (std::size_t Start = 0;;)
	{
		const std::size_t Plus = Word.find('+', Start);
		const std::string_view Item = Word.substr(Start, Plus == std::string_view::npos ? std::string_view::npos : Plus - Start);
		std::int32_t Number = 0;
		if (const std::uint32_t Bit = InputButtonBit(Item))
		{
			Mask |= Bit;
		}
		else if (ParseI32(Item, Number))
		{
			Mask |= static_cast<std::uint32_t>(Number);
		}
		else
		{
			Error = "unknown button '" + std::string(Item) + "' (left, right, middle, thumb1, thumb2 or a number)";
			return false;
		}
		if (Plus == std::string_view::npos)
		{
			break;
		}
		Start = Plus + 1;
	}
	Out = static_cast<std::int32_t>(Mask);
	return true;
}

/** One character as its UTF-16 code: the character itself (UTF-8) or U+XXXX; outside the basic plane is an error. */
bool ParseCharacter(std::string_view Word, std::int32_t& Out, std::string& Error)
{
	std::uint32_t Code = 0;
	bool bOk = false;
	if (Word.size() > 2 && (Word[0] == 'U' || Word[0] == 'u') && Word[1] == '+')
	{
		std::uint64_t Value = 0;
		bOk = Word.size() <= 8 && ParseUnsigned("0x" + std::string(Word.substr(2)), Value);
		Code = static_cast<std::uint32_t>(Value);
	}
	else if (!Word.empty())
	{
		const auto Lead = static_cast<unsigned char>(Word[0]);
		const std::size_t Length = Lead < 0x80             ? 1
		                           : (Lead & 0xE0) == 0xC0 ? 2
		                           : (Lead & 0xF0) == 0xE0 ? 3
		                           : (Lead & 0xF8) == 0xF0 ? 4
		                                                   : 0;
		bOk = Length > 0 && Word.size() == Length;
		Code = Length == 1 ? Lead : Length == 2 ? Lead & 0x1Fu : Length == 3 ? Lead & 0x0Fu : Lead & 0x07u;
		for (std::size_t Index = 1; bOk && Index < Length; ++Index)
		{
			const auto Next = static_cast<unsigned char>(Word[Index]);
			bOk = (Next & 0xC0) == 0x80;
			Code = (Code << 6) | (Next & 0x3Fu);
		}
		// Overlong forms and surrogates are not characters.
		const std::uint32_t Least = Length == 2 ? 0x80 : Length == 3 ? 0x800 : 0x10000;
		bOk = bOk && (Length == 1 || Code >= Least) && !(Code >= 0xD800 && Code <= 0xDFFF);
	}
	if (!bOk)
	{
		Error = "not one character or U+XXXX: '" + std::string(Word) + "'";
		return false;
	}
	if (Code > 0xFFFF)
	{
		Error = "'" + std::string(Word) + "' is not one UTF-16 code unit (U+0000 to U+FFFF)";
		return false;
	}
	Out = static_cast<std::int32_t>(Code);
	return true;
}

/** One event of the input command, appended to the packet as one message. */
bool AddInputEvent(std::span<const std::string_view> Items, InputPacketBuilder& Builder, std::string& Error)
{
	const std::string_view Device = Items.empty() ? std::string_view() : Items[0];
	const std::string_view Event = Items.size() > 1 ? Items[1] : std::string_view();
	const std::size_t Count = Items.size() < 2 ? 0 : Items.size() - 2;
	auto Expect = [&](std::size_t Least, std::size_t Most, const char* Usage) {
		if (Count < Least || Count > Most)
		{
			Error = std::string("expected ") + Usage;
			return false;
		}
		return true;
	};
	auto Float = [&](std::size_t Index, float& Value) {
		if (!ParseFloat(Items[Index + 2], Value) || !std::isfinite(Value))
		{
			Error = "not a number: '" + std::string(Items[Index + 2]) + "'";
			return false;
		}
		return true;
	};
	auto Int = [&](std::size_t Index, std::int32_t& Value) {
		if (!ParseI32(Items[Index + 2], Value))
		{
			Error = "not a 32-bit integer: '" + std::string(Items[Index + 2]) + "'";
			return false;
		}
		return true;
	};

	if (Device == "timecode")
	{
		// "timecode T": the event word is the value.
		std::int64_t Value = 0;
		if (Items.size() != 2)
		{
			Error = "expected timecode T";
			return false;
		}
		if (!ParseI64(Items[1], Value, 64))
		{
			Error = "not a 64-bit integer: '" + std::string(Items[1]) + "'";
			return false;
		}
		Builder.Begin(InputTimecodeAddress).Int64(Value);
		return true;
	}
	if (Device == "mouse")
	{
		if (Event == "move")
		{
			float X = 0, Y = 0;
			if (!Expect(2, 2, "mouse move X Y") || !Float(0, X) || !Float(1, Y))
			{
				return false;
			}
			Builder.Begin(InputAddress("Mouse", "Position")).Float(X).Float(Y);
			return true;
		}
		if (Event == "inside")
		{
			if (!Expect(1, 1, "mouse inside 1|0"))
			{
				return false;
			}
			const std::string_view Word = Items[2];
			if (Word != "0" && Word != "1")
			{
				Error = "not 0 or 1: '" + std::string(Word) + "'";
				return false;
			}
			Builder.Begin(InputAddress("Mouse", "IsInside")).Bool(Word == "1");
			return true;
		}
		if (Event == "hover" || Event == "doubleclick")
		{
			if (!Expect(0, 0, Event == "hover" ? "mouse hover without arguments" : "mouse doubleclick without arguments"))
			{
				return false;
			}
			Builder.Begin(InputAddress("Mouse", Event == "hover" ? "Hover" : "DoubleClick"));
			return true;
		}
		if (Event == "down" || Event == "up" || Event == "double")
		{
			std::int32_t Mask = 0;
			if (!Expect(1, 1, "mouse down|up|double BUTTONS (left, right, middle, thumb1, thumb2 joined by +, or a number)") ||
			    !ParseButtons(Items[2], Mask, Error))
			{
				return false;
			}
			Builder.Begin(InputAddress("Mouse", Event == "down" ? "ButtonDown"
			                                    : Event == "up" ? "ButtonUp"
			                                                    : "DoubleClick2"))
			    .Int(Mask);
			return true;
		}
		if (Event == "wheel")
		{
			std::int32_t Units = 0;
			if (!Expect(1, 1, "mouse wheel UNITS (120 per notch)") || !Int(0, Units))
			{
				return false;
			}
			Builder.Begin(InputAddress("Mouse", "Wheel")).Int(Units);
			return true;
		}
		Error = "unknown mouse event '" + std::string(Event) + "' (move, inside, hover, down, up, double, doubleclick, wheel)";
		return false;
	}
	if (Device == "key")
	{
		if (Event == "down" || Event == "up")
		{
			std::int32_t Code = 0;
			if (!Expect(1, 1, "key down|up VK") || !Int(0, Code))
			{
				return false;
			}
			Builder.Begin(InputAddress("Keyboard", Event == "down" ? "KeyDown" : "KeyUp")).Int(Code);
			return true;
		}
		if (Event == "char")
		{
			std::int32_t Code = 0;
			if (!Expect(1, 1, "key char C (one character or U+XXXX)") || !ParseCharacter(Items[2], Code, Error))
			{
				return false;
			}
			Builder.Begin(InputAddress("Keyboard", "KeyPress")).Int(Code);
			return true;
		}
		Error = "unknown key event '" + std::string(Event) + "' (down, up, char)";
		return false;
	}
	if (Device == "touch")
	{
		if (Event == "add" || Event == "move" || Event == "remove")
		{
			const bool bRemove = Event == "remove";
			if (!Expect(3, bRemove ? 3 : 4, bRemove ? "touch remove ID X Y" : "touch add|move ID X Y [FORCE]"))
			{
				return false;
			}
			std::int32_t Id = 0;
			float X = 0, Y = 0, Force = 1.0f;
			const std::string_view IdWord = Items[2];
			const bool bDecimal = IdWord.size() < 2 || (IdWord[1] != 'x' && IdWord[1] != 'X');
			if (!bDecimal || !ParseI32(IdWord, Id))
			{
				Error = "not a decimal touch id: '" + std::string(IdWord) + "'";
				return false;
			}
			if (!Float(1, X) || !Float(2, Y) || (Count == 4 && !Float(3, Force)))
			{
				return false;
			}
			Builder.Begin(InputAddress("MultiTouch", Event == "add"    ? "TouchAdd"
			                                         : Event == "move" ? "TouchMove"
			                                                           : "TouchRemove"))
			    .String(std::to_string(Id))
			    .Float(X)
			    .Float(Y)
			    .Float(0.0f)
			    .Float(Force);
			return true;
		}
		Error = "unknown touch event '" + std::string(Event) + "' (add, move, remove)";
		return false;
	}
	Error = Device.empty() ? "missing event (mouse, key, touch or timecode)"
	                       : "unknown input '" + std::string(Device) + "' (mouse, key, touch or timecode)";
	return false;
}

} // namespace

bool ParseGuid(std::string_view Text, UE4::GUID& Out)
{
	if (Text.size() == 38 && Text.front() == '{' && Text.back() == '}')
	{
		Text = Text.substr(1, 36);
	}
	if (Text.size() != 36 || Text[8] != '-' || Text[13] != '-' || Text[18] != '-' || Text[23] != '-')
	{
		return false;
	}
	std::uint8_t Bytes[16];
	std::size_t Count = 0;
	for (std::size_t Index = 0; Index < Text.size();)
	{
		if (Text[Index] == '-')
		{
			++Index;
			continue;
		}
		const int High = HexDigitValue(Text[Index]);
		const int Low = HexDigitValue(Text[Index + 1]);
		if (High < 0 || Low < 0)
		{
			return false;
		}
		Bytes[Count++] = static_cast<std::uint8_t>(High * 16 + Low);
		Index += 2;
	}
	// The text shows Data1, Data2 and Data3 as numbers; memory holds them little-endian.
	Out.Data1 = (std::uint32_t{Bytes[0]} << 24) | (std::uint32_t{Bytes[1]} << 16) | (std::uint32_t{Bytes[2]} << 8) | Bytes[3];
	Out.Data2 = static_cast<std::uint16_t>((Bytes[4] << 8) | Bytes[5]);
	Out.Data3 = static_cast<std::uint16_t>((Bytes[6] << 8) | Bytes[7]);
	std::memcpy(Out.Data4, Bytes + 8, 8);
	return true;
}

bool BuildPayload(std::string_view TagName, std::string_view Rest, std::vector<std::uint8_t>& Out, std::string& Error,
                  std::vector<std::string>* OutNames)
{
	std::uint32_t Tag = 0;
	if (!ParseTagName(TagName, Tag, Error))
	{
		return false;
	}
	Rest = TrimRight(Rest);
	FArgs Args{Words(Rest), Error, OutNames};
	Out.clear();
	auto Fixed = [&](std::size_t Count, const char* Usage, auto Parse) {
		return Args.Count(Count, Usage) && Args.Each(0, Count, Parse);
	};
	auto I32 = [&](std::size_t Index) { return Args.I32(Index, Out); };
	auto F32 = [&](std::size_t Index) { return Args.F32(Index, Out); };
	// Everything after the first word (an id) as free text.
	auto TextAfterId = [&](std::string_view& Text) {
		std::string_view Tail = Rest;
		NextWord(Tail);
		Text = Tail;
	};

	switch (Tag)
	{
	case UE4::Tag::VINT:
		return Args.Count(2, "<id> <int>") && Args.Id(0, Out) && Args.I32(1, Out);
	case UE4::Tag::VFLT:
		return Args.Count(2, "<id> <float>") && Args.Id(0, Out) && Args.F32(1, Out);
	case UE4::Tag::VBOL:
		return Args.Count(2, "<id> 0|1") && Args.Id(0, Out) && Args.Bool(1, Out);
	case UE4::Tag::VSTR:
	case UE4::Tag::ASTR: {
		if (!Args.AtLeast(1, "<id> <text>") || !Args.Id(0, Out))
		{
			return false;
		}
		std::string_view Tail;
		TextAfterId(Tail);
		std::string Text;
		if (!Unescape(Tail, Text, Error))
		{
			return false;
		}
		if (Tag == UE4::Tag::VSTR)
		{
			PutText(Out, Text);
			return true;
		}
		// Items separated by '|', each followed by a zero byte.
		for (std::size_t Start = 0;;)
		{
			const std::size_t Bar = Text.find('|', Start);
			PutText(Out, std::string_view(Text).substr(Start, Bar == std::string::npos ? std::string::npos : Bar - Start));
			Out.push_back(0);
			if (Bar == std::string::npos)
			{
				break;
			}
			Start = Bar + 1;
		}
		return true;
	}
	case UE4::Tag::AINT:
	case UE4::Tag::AFLT:
	case UE4::Tag::ABOL:
		if (!Args.AtLeast(1, "<id> <values...>") || !Args.Id(0, Out))
		{
			return false;
		}
		return Args.Each(1, Args.Items.size(), [&](std::size_t Index) {
			return Tag == UE4::Tag::AINT   ? Args.I32(Index, Out)
			       : Tag == UE4::Tag::AFLT ? Args.F32(Index, Out)
			                               : Args.Bool(Index, Out);
		});
	case UE4::Tag::EVNT:
		if (!Args.Count(2, "<id> <argument>") || !Args.Id(0, Out))
		{
			return false;
		}
		Put(Out, std::int32_t{0});
		return Args.I32(1, Out);
	case UE4::Tag::MTXV:
		return Args.Count(18, "<id> <identifier-guid|0> <16 floats>") && Args.Id(0, Out) && Args.Guid(1, Out, false, true) &&
		       Args.Each(2, 18, F32);
	case UE4::Tag::CAMR:
	case UE4::Tag::PROJ: {
		// Readable forms: "CAMR at x y z yaw pitch roll", "PROJ perspective fov aspect near far",
		// "PROJ ortho width height near far"; otherwise the 16 floats as they are.
		const bool bCameraForm = Tag == UE4::Tag::CAMR && !Args.Items.empty() && Args.Items[0] == "at";
		const bool bPerspectiveForm = Tag == UE4::Tag::PROJ && !Args.Items.empty() && Args.Items[0] == "perspective";
		const bool bOrthoForm = Tag == UE4::Tag::PROJ && !Args.Items.empty() && Args.Items[0] == "ortho";
		if (!bCameraForm && !bPerspectiveForm && !bOrthoForm)
		{
			return Fixed(16, "16 floats", F32);
		}
		const std::size_t Expected = bCameraForm ? 7 : 5;
		if (!Args.Count(Expected, bCameraForm        ? "at <x> <y> <z> <yaw> <pitch> <roll>"
		                          : bPerspectiveForm ? "perspective <fov> <aspect> <near> <far>"
		                                             : "ortho <width> <height> <near> <far>"))
		{
			return false;
		}
		double Numbers[6] = {};
		for (std::size_t Index = 1; Index < Expected; ++Index)
		{
			float Value = 0;
			if (!ParseFloat(Args.Items[Index], Value))
			{
				Error = "not a number: '" + std::string(Args.Items[Index]) + "'";
				return false;
			}
			Numbers[Index - 1] = Value;
		}
		const FMatrix4 Matrix = bCameraForm ? CameraMatrix(Numbers[0], Numbers[1], Numbers[2], Numbers[3], Numbers[4], Numbers[5])
		                        : bPerspectiveForm ? PerspectiveMatrix(Numbers[0], Numbers[1], Numbers[2], Numbers[3])
		                                           : OrthographicMatrix(Numbers[0], Numbers[1], Numbers[2], Numbers[3]);
		for (const float Element : Matrix)
		{
			Put(Out, Element);
		}
		return true;
	}
	case UE4::Tag::RESN:
		return Fixed(2, "<width> <height>", I32);
	case UE4::Tag::QLTY:
		return Fixed(1, "<quality>", I32);
	case UE4::Tag::LPHA:
		return Fixed(1, "<mode>", I32);
	case UE4::Tag::UVER:
		return Fixed(3, "<major> <minor> <patch>", I32);
	case UE4::Tag::VIEW:
		return Fixed(6, "6 integers", I32);
	case UE4::Tag::CLCK: {
		if (!Args.Count(4, "<frameCounter> <time> <numerator> <denominator>"))
		{
			return false;
		}
		std::int64_t Frame = 0;
		if (!ParseI64(Args.Items[0], Frame, 64))
		{
			Error = "not a 64-bit integer: '" + std::string(Args.Items[0]) + "'";
			return false;
		}
		Put(Out, Frame);
		if (!Args.F32(1, Out) || !Args.I32(2, Out) || !Args.I32(3, Out))
		{
			return false;
		}
		Put(Out, std::int32_t{0});
		return true;
	}
	case UE4::Tag::ITAC: {
		std::vector<std::uint8_t> Packet;
		if (!ParseHexBytes(Args.Items, Packet, Error))
		{
			return false;
		}
		Put(Out, static_cast<std::int32_t>(Packet.size()));
		Out.insert(Out.end(), Packet.begin(), Packet.end());
		return true;
	}
	case UE4::Tag::VERR: {
		std::string Text;
		if (!Unescape(Rest, Text, Error))
		{
			return false;
		}
		PutText(Out, Text);
		return true;
	}
	case UE4::Tag::FLDQ: {
		if (!Args.Count(2, "<guid|new> <name>") || !Args.Guid(0, Out, true, false))
		{
			return false;
		}
		PutText(Out, Args.Items[1]);
		Out.push_back(0);
		return true;
	}
	case UE4::Tag::FLDS: {
		if (!Args.AtLeast(1, "<guid|last> <type:flag:name>..."))
		{
			return false;
		}
		if (Args.Items[0] == "last")
		{
			// The tool fills in the GUID of the question when it sends.
			Out.insert(Out.end(), sizeof(UE4::GUID), 0);
		}
		else if (!Args.Guid(0, Out, false, false))
		{
			return false;
		}
		for (std::size_t Index = 1; Index < Args.Items.size(); ++Index)
		{
			const std::string_view Record = Args.Items[Index];
			const std::size_t First = Record.find(':');
			const std::size_t Second = First == std::string_view::npos ? First : Record.find(':', First + 1);
			std::uint32_t Type = 0;
			std::uint32_t Flag = 0;
			if (Second == std::string_view::npos || !ParseU32(Record.substr(0, First), Type) || Type > 255 ||
			    !ParseU32(Record.substr(First + 1, Second - First - 1), Flag) || Flag > 255)
			{
				Error = "bad field record '" + std::string(Record) + "' (type:flag:name)";
				return false;
			}
			Out.push_back(static_cast<std::uint8_t>(Type));
			Out.push_back(static_cast<std::uint8_t>(Flag));
			PutText(Out, Record.substr(Second + 1));
			Out.push_back(0);
		}
		return true;
	}
	default:
		return ParseHexBytes(Args.Items, Out, Error);
	}
}

bool ParseNameList(std::string_view Text, std::vector<std::string>& Out, std::string& Error)
{
	Out.clear();
	for (const std::string_view Word : Words(Text))
	{
		for (std::size_t Start = 0; Start <= Word.size();)
		{
			const std::size_t Comma = std::min(Word.find(',', Start), Word.size());
			const std::string_view Item = Word.substr(Start, Comma - Start);
			Start = Comma + 1;
			if (Item.empty())
			{
				continue;
			}
			if (IsNumberWord(Item))
			{
				Error = "'" + std::string(Item) + "' is a number, not a name";
				return false;
			}
			std::string Name;
			if (!ParseName(Item, Name, Error))
			{
				return false;
			}
			Out.push_back(std::move(Name));
		}
	}
	if (Out.empty())
	{
		Error = "expected names (node.field, node.method or node), separated by commas or blanks";
		return false;
	}
	return true;
}

bool BuildInputPacket(std::string_view Events, std::vector<std::uint8_t>& Out, std::string& Error)
{
	InputPacketBuilder Builder;
	std::size_t Number = 0;
	for (std::size_t Start = 0;;)
	{
		const std::size_t Semicolon = Events.find(';', Start);
		const std::string_view Event =
		    Events.substr(Start, Semicolon == std::string_view::npos ? std::string_view::npos : Semicolon - Start);
		++Number;
		const std::vector<std::string_view> Items = Words(Event);
		// Only a lone event may be named in the error without its number.
		const bool bSeveral = Number > 1 || Semicolon != std::string_view::npos;
		if (!AddInputEvent(Items, Builder, Error))
		{
			if (bSeveral)
			{
				Error = "event " + std::to_string(Number) + ": " + Error;
			}
			return false;
		}
		if (Semicolon == std::string_view::npos)
		{
			break;
		}
		Start = Semicolon + 1;
	}
	Out = Builder.Finish();
	return true;
}

EParseResult ParseScriptLine(std::string_view Line, ScriptCommand& Out, std::string& Error)
{
	Out = ScriptCommand{};
	Error.clear();
	std::string_view Rest = Line;
	const std::string_view Command = NextWord(Rest);
	if (Command.empty() || Command[0] == '#')
	{
		return EParseResult::Nothing;
	}
	const std::vector<std::string_view> Args = Words(Rest);
	auto Arg = [&Args](std::size_t Index) { return Index < Args.size() ? Args[Index] : std::string_view(); };
	auto NoMore = [&](std::size_t Count) {
		if (Args.size() > Count)
		{
			Error = "unexpected '" + std::string(Args[Count]) + "' after " + std::string(Command);
			return false;
		}
		return true;
	};
	auto Done = [&](bool bOk) { return bOk ? EParseResult::Command : EParseResult::Error; };

	if (Command == "slots" || Command == "hold-table" || Command == "release-table" || Command == "quit" || Command == "die")
	{
		Out.Kind = Command == "slots"           ? ECommandKind::Slots
		           : Command == "hold-table"    ? ECommandKind::HoldTable
		           : Command == "release-table" ? ECommandKind::ReleaseTable
		           : Command == "quit"          ? ECommandKind::Quit
		                                        : ECommandKind::Die;
		return Done(NoMore(0));
	}
	if (Command == "drop" || Command == "free")
	{
		Out.Kind = Command == "drop" ? ECommandKind::Drop : ECommandKind::Free;
		return Done(ParseSlot(Arg(0), Out.Slot, Error) && NoMore(1));
	}
	if (Command == "accept")
	{
		Out.Kind = ECommandKind::Accept;
		if (!ParseSlot(Arg(0), Out.Slot, Error))
		{
			return EParseResult::Error;
		}
		for (std::size_t Index = 1; Index < Args.size(); ++Index)
		{
			const std::string_view Option = Args[Index];
			bool* Flag = Option == "no-monitor"      ? &Out.Objects.bServerMonitor
			             : Option == "no-data-event" ? &Out.Objects.bDataSentEvent
			             : Option == "no-pipe"       ? &Out.Objects.bInboundPipe
			             : Option == "no-sync-event" ? &Out.Objects.bSyncEvent
			                                         : nullptr;
			if (!Flag)
			{
				Error = "unknown accept option '" + std::string(Option) + "' (no-monitor, no-data-event, no-pipe, no-sync-event)";
				return EParseResult::Error;
			}
			*Flag = false;
		}
		return EParseResult::Command;
	}
	if (Command == "set-state")
	{
		Out.Kind = ECommandKind::SetState;
		if (!ParseSlot(Arg(0), Out.Slot, Error) || !NoMore(2))
		{
			return EParseResult::Error;
		}
		if (Out.Slot.bFirstConnected || !ParseI32(Arg(1), Out.State))
		{
			Error = "expected set-state <slot 0-15> <state>";
			return EParseResult::Error;
		}
		return EParseResult::Command;
	}
	if (Command == "sleep")
	{
		Out.Kind = ECommandKind::Sleep;
		if (!ParseU32(Arg(0), Out.SleepMs))
		{
			Error = "expected sleep <milliseconds>";
			return EParseResult::Error;
		}
		return Done(NoMore(1));
	}
	if (Command == "wait")
	{
		const std::string_view What = Arg(0);
		if (What == "connected")
		{
			Out.Kind = ECommandKind::WaitConnected;
			// wait connected [slot] [timeout]: a single number below 16 is a slot, a larger one a time-out.
			std::size_t Next = 1;
			std::uint32_t Number = 0;
			const bool bSlotFirst = Args.size() >= 3 || Arg(1) == "*" || (ParseU32(Arg(1), Number) && Number < UE4::SlotCount);
			if (bSlotFirst)
			{
				if (!ParseSlot(Arg(1), Out.Slot, Error))
				{
					return EParseResult::Error;
				}
				Next = 2;
			}
			Out.bAnySlot = !bSlotFirst || Out.Slot.bFirstConnected;
			return Done(ParseOptionalTimeout(Arg(Next), Out.TimeoutMs, Error) && NoMore(Next + 1));
		}
		if (What == "message")
		{
			Out.Kind = ECommandKind::WaitMessage;
			if (Arg(1).empty())
			{
				Error = "expected wait message <TAG> [timeout-ms]";
				return EParseResult::Error;
			}
			return Done(ParseTagName(Arg(1), Out.Tag, Error) && ParseOptionalTimeout(Arg(2), Out.TimeoutMs, Error) && NoMore(3));
		}
		Error = "expected wait connected [slot] [timeout-ms] or wait message <TAG> [timeout-ms]";
		return EParseResult::Error;
	}
	if (Command == "send")
	{
		Out.Kind = ECommandKind::Send;
		std::string_view Tail = Rest;
		const std::string_view SlotWord = NextWord(Tail);
		if (!ParseSlot(SlotWord, Out.Slot, Error))
		{
			return EParseResult::Error;
		}
		const std::string_view TagWord = NextWord(Tail);
		if (TagWord.empty())
		{
			Error = "expected send <slot> <TAG> <arguments...>";
			return EParseResult::Error;
		}
		if (TagWord == "raw")
		{
			Out.bRaw = true;
			const std::vector<std::string_view> Items = Words(Tail);
			if (!ParseHexBytes(Items, Out.Payload, Error))
			{
				return EParseResult::Error;
			}
			if (Out.Payload.empty())
			{
				Error = "send raw needs at least one byte";
				return EParseResult::Error;
			}
			return EParseResult::Command;
		}
		if (!ParseTagName(TagWord, Out.Tag, Error) || !BuildPayload(TagWord, Tail, Out.Payload, Error, &Out.Names))
		{
			Error = std::string(TagWord) + ": " + Error;
			return EParseResult::Error;
		}
		std::string_view Arguments = Tail;
		Out.bAnswersLastQuestion = Out.Tag == UE4::Tag::FLDS && NextWord(Arguments) == "last";
		return EParseResult::Command;
	}
	if (Command == "name")
	{
		Out.Kind = ECommandKind::Name;
		if (!ParseNameList(Rest, Out.Names, Error))
		{
			Error = "name: " + Error;
			return EParseResult::Error;
		}
		return EParseResult::Command;
	}
	if (Command == "input")
	{
		// An ITAC message built from readable events.
		Out.Kind = ECommandKind::Send;
		Out.Tag = UE4::Tag::ITAC;
		std::string_view Tail = Rest;
		if (!ParseSlot(NextWord(Tail), Out.Slot, Error))
		{
			return EParseResult::Error;
		}
		std::vector<std::uint8_t> Packet;
		if (!BuildInputPacket(Tail, Packet, Error))
		{
			Error = "input: " + Error;
			return EParseResult::Error;
		}
		Out.Payload = InputPacketPayload(Packet);
		return EParseResult::Command;
	}
	Error = "unknown command '" + std::string(Command) + "'";
	return EParseResult::Error;
}

const char* ScriptHelpText()
{
	return R"(Commands (one per line; blank lines and lines starting with # are ignored; SLOT is 0-15 or * for the
first connected slot):
  slots                          list the 16 slots: state, connection GUID, launch GUID, generated flag,
                                 game-running byte, client code
  accept SLOT [no-monitor] [no-data-event] [no-pipe] [no-sync-event]
                                 offer a requested slot, optionally leaving out host objects
  drop SLOT                      end or refuse a connection (state 4)
  free SLOT                      write state 0 and close the slot's host objects
  set-state SLOT STATE           write any state into a slot
  wait connected [SLOT] [MS]     wait until a slot (or the given one) is connected (default 10000 ms;
                                 a single number below 16 is a slot)
  wait message TAG [MS]          wait for the next message with that tag from the plug-in
  sleep MS                       pause the script (the host keeps polling)
  hold-table / release-table     take / give back the machine-wide mutex
  die                            end the process at once, leaving every host object abandoned
  quit                           drop every connection and exit
  name NAME[,NAME]...            print the ids of these names and of their "_synced" echoes by name (the
                                 names that send commands use are known already); prints each name's ids
  send SLOT TAG ARGS...          send one message to the plug-in:
    VINT id int        VFLT id float       VBOL id 0|1         VSTR id text...
    AINT id ints...    AFLT id floats...   ABOL id 0|1...      ASTR id item|item|...
    EVNT id argument   MTXV id guid|0 16-floats               CAMR 16-floats   PROJ 16-floats
    CAMR at x y z yaw pitch roll      (camera at x y z metres, turned yaw about y, pitch about x, roll about z)
    PROJ perspective fov aspect near far   PROJ ortho width height near far
    RESN w h           QLTY q              CLCK frame time num den             ITAC hex-bytes...
    FLD? guid|new name FLDS guid|last type:flag:name...       VERR text...     VIEW 6-ints
    LPHA int           UVER major minor patch                 XXXX hex-bytes (any other tag)
    raw hex-bytes      (the whole message as given, tag included)
    An id is a number or a name: node.field for a value, node.method or node.event for an event, node for
    a transform (MTXV); a name is hashed, lower-cased, to its id (door.width is 0xBDFE2769).
    FLDS last answers the latest field-list question (FLD?) the plug-in on that slot asked.
  input SLOT EVENT [; EVENT]...  send one input packet (ITAC), one bundle element per event, in order:
    mouse move X Y                 pointer at X, Y (fractions of the viewport)
    mouse inside 1|0               pointer enters / leaves the output window
    mouse hover                    pointer hovers (no arguments)
    mouse doubleclick              a double click of the left button (no arguments)
    mouse down|up|double BUTTONS   press, release or double-click buttons: left, right, middle, thumb1,
                                   thumb2, joined by + (left+right), or a mask number
    mouse wheel UNITS              120 units per notch, negative towards the user
    key down|up VK                 Windows virtual-key code (0x41 is A)
    key char C                     one character, or U+XXXX (U+0020 for a space, U+003B for ;)
    touch add|move ID X Y [FORCE]  touch ID (a decimal number) at X, Y; FORCE 1 when left out
    touch remove ID X Y
    timecode T                     a 64-bit integer
  Numbers may be written in hexadecimal with 0x; text takes the escapes \n \r \t \0 \\ \xNN.
)";
}

} // namespace Korvat::Host
