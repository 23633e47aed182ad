// Typed values between game code and the host: the readers take what the host sent from the link's inbound
// store; the senders publish one parameter per value in every registered share object.
#include "KorvatPluginModule.h"

#include "Containers/StringConv.h"

#include <string>
#include <vector>

namespace KorvatValues
{
/**
 * The largest payload a share parameter can carry: its value is two digits per byte after the frame marker's
 * eight, and an engine string holds at most MAX_int32 characters including its terminator.
 */
constexpr int64 MaxPayloadBytes = (static_cast<int64>(MAX_int32) - 1) / 2 - 4;

/** Whether Count elements of ElementSize bytes fit into one parameter. */
bool FitsOneParameter(int64 Count, int64 ElementSize)
{
	return Count <= MaxPayloadBytes / ElementSize;
}

/** The mapped value, or null when the id is absent; sets bOutFound accordingly. */
template <typename MapType>
const typename MapType::mapped_type* FindStored(const MapType& Map, uint32 ValueId, bool& bOutFound)
{
	const auto Entry = Map.find(ValueId);
	bOutFound = Entry != Map.end();
	return bOutFound ? &Entry->second : nullptr;
}

/**
 * Appends the UTF-8 bytes of Text up to its first NUL to Out, then Terminators zero bytes; false, leaving Out
 * unchanged, when the result would not fit into one parameter.
 */
bool AppendUtf8(const FString& Text, int32 Terminators, TArray<uint8>& Out)
{
	// Converting from the NUL-terminated buffer stops at the first NUL the text may carry.
	const FTCHARToUTF8 Utf8(*Text);
	if (!FitsOneParameter(static_cast<int64>(Out.Num()) + Utf8.Length() + Terminators, 1))
	{
		return false;
	}
	Out.Append(reinterpret_cast<const uint8*>(Utf8.Get()), Utf8.Length());
	for (int32 Index = 0; Index < Terminators; ++Index)
	{
		Out.Add(0);
	}
	return true;
}
} // namespace KorvatValues

int32 FKorvatPlugin::GetIntValue(uint32 ValueId, bool& isAvailable) const
{
	const int32* Stored = KorvatValues::FindStored(Link.Inbound.IntValues, ValueId, isAvailable);
	return Stored != nullptr ? *Stored : 0;
}

float FKorvatPlugin::GetFloatValue(uint32 ValueId, bool& isAvailable) const
{
	const float* Stored = KorvatValues::FindStored(Link.Inbound.FloatValues, ValueId, isAvailable);
	return Stored != nullptr ? *Stored : 0.0f;
}

FString FKorvatPlugin::GetStringValue(uint32 ValueId, bool& isAvailable) const
{
	const std::string* Stored = KorvatValues::FindStored(Link.Inbound.StringValues, ValueId, isAvailable);
	if (Stored == nullptr)
	{
		return FString();
	}
	// The text ends at its first NUL; an engine string cannot hold more than MAX_int32 characters.
	size_t Length = Stored->find('\0');
	if (Length == std::string::npos)
	{
		Length = Stored->size();
	}
	if (Length > static_cast<size_t>(MAX_int32 - 1))
	{
		Length = static_cast<size_t>(MAX_int32 - 1);
	}
	const FUTF8ToTCHAR Text(Stored->data(), static_cast<int32>(Length));
	return FString(Text.Length(), Text.Get());
}

bool FKorvatPlugin::GetBoolValue(uint32 ValueId, bool& isAvailable) const
{
	const bool* Stored = KorvatValues::FindStored(Link.Inbound.BoolValues, ValueId, isAvailable);
	return Stored != nullptr && *Stored;
}

TArray<int32> FKorvatPlugin::GetIntArray(uint32 ValueId, bool& isAvailable) const
{
	TArray<int32> Result;
	if (const std::vector<int32>* Stored = KorvatValues::FindStored(Link.Inbound.IntArrays, ValueId, isAvailable))
	{
		Result.Append(Stored->data(), static_cast<int32>(Stored->size()));
	}
	return Result;
}

TArray<float> FKorvatPlugin::GetFloatArray(uint32 ValueId, bool& isAvailable) const
{
	TArray<float> Result;
	if (const std::vector<float>* Stored = KorvatValues::FindStored(Link.Inbound.FloatArrays, ValueId, isAvailable))
	{
		Result.Append(Stored->data(), static_cast<int32>(Stored->size()));
	}
	return Result;
}

TArray<FString> FKorvatPlugin::GetStringArray(uint32 ValueId, bool& isAvailable) const
{
	TArray<FString> Result;
	const std::wstring* Stored = KorvatValues::FindStored(Link.Inbound.StringArrays, ValueId, isAvailable);
	if (Stored == nullptr)
	{
		return Result;
	}
	// Items run up to the next NUL or the end; a final NUL ends the last item without starting another.
	const size_t Length = Stored->size();
	size_t Start = 0;
	while (Start < Length)
	{
		size_t End = Stored->find(L'\0', Start);
		if (End == std::wstring::npos)
		{
			End = Length;
		}
		Result.Emplace(static_cast<int32>(End - Start), Stored->data() + Start);
		Start = End + 1;
	}
	return Result;
}

TArray<bool> FKorvatPlugin::GetBoolArray(uint32 ValueId, bool& isAvailable) const
{
	TArray<bool> Result;
	if (const std::vector<uint8>* Stored = KorvatValues::FindStored(Link.Inbound.BoolArrays, ValueId, isAvailable))
	{
		Result.Reserve(static_cast<int32>(Stored->size()));
		for (const uint8 Byte : *Stored)
		{
			Result.Add(Byte != 0);
		}
	}
	return Result;
}

FTransform FKorvatPlugin::GetTransformValue(uint32 ValueId, bool& isAvailable) const
{
	const Korvat::UE4::Matrix16* Stored = KorvatValues::FindStored(Link.Inbound.Matrices, ValueId, isAvailable);
	if (Stored == nullptr)
	{
		return FTransform::Identity;
	}
	FMatrix Matrix;
	for (int32 Row = 0; Row < 4; ++Row)
	{
		for (int32 Column = 0; Column < 4; ++Column)
		{
			Matrix.M[Row][Column] = static_cast<double>((*Stored)[Row * 4 + Column]);
		}
	}
	return FTransform(Matrix);
}

FColor FKorvatPlugin::GetColorValue(uint32 ValueId, bool& isAvailable) const
{
	const Korvat::UE4::StoredColor* Stored = KorvatValues::FindStored(Link.Inbound.Colors, ValueId, isAvailable);
	return Stored != nullptr ? FColor(Stored->R, Stored->G, Stored->B, Stored->A) : FColor(0, 0, 0, 0);
}

void FKorvatPlugin::SendIntValue(uint32 ValueId, const int32& Value)
{
	PublishParameter(Korvat::UE4::Tag::VINT, ValueId, Korvat::UE4::GUID{}, &Value, sizeof(Value));
}

void FKorvatPlugin::SendFloatValue(uint32 ValueId, const float& Value)
{
	PublishParameter(Korvat::UE4::Tag::VFLT, ValueId, Korvat::UE4::GUID{}, &Value, sizeof(Value));
}

void FKorvatPlugin::SendStringValue(uint32 ValueId, const FString& Value)
{
	if (RegisteredTextureShares.empty())
	{
		return;
	}
	TArray<uint8> Payload;
	if (KorvatValues::AppendUtf8(Value, 0, Payload))
	{
		PublishParameter(Korvat::UE4::Tag::VSTR, ValueId, Korvat::UE4::GUID{}, Payload.GetData(), Payload.Num());
	}
}

void FKorvatPlugin::SendBoolValue(uint32 ValueId, bool Value)
{
	const uint8 Byte = Value ? 1 : 0;
	PublishParameter(Korvat::UE4::Tag::VBOL, ValueId, Korvat::UE4::GUID{}, &Byte, 1);
}

void FKorvatPlugin::SendIntArray(uint32 ValueId, const TArray<int32>& Values)
{
	// The elements lie back to back in little-endian order, as the host reads them.
	if (KorvatValues::FitsOneParameter(Values.Num(), sizeof(int32)))
	{
		PublishParameter(Korvat::UE4::Tag::AINT, ValueId, Korvat::UE4::GUID{}, Values.GetData(),
			Values.Num() * static_cast<int32>(sizeof(int32)));
	}
}

void FKorvatPlugin::SendFloatArray(uint32 ValueId, const TArray<float>& Values)
{
	if (KorvatValues::FitsOneParameter(Values.Num(), sizeof(float)))
	{
		PublishParameter(Korvat::UE4::Tag::AFLT, ValueId, Korvat::UE4::GUID{}, Values.GetData(),
			Values.Num() * static_cast<int32>(sizeof(float)));
	}
}

void FKorvatPlugin::SendStringArray(uint32 ValueId, const TArray<FString>& Values)
{
	if (RegisteredTextureShares.empty())
	{
		return;
	}
	TArray<uint8> Payload;
	for (const FString& Item : Values)
	{
		if (!KorvatValues::AppendUtf8(Item, 1, Payload))
		{
			return;
		}
	}
	PublishParameter(Korvat::UE4::Tag::ASTR, ValueId, Korvat::UE4::GUID{}, Payload.GetData(), Payload.Num());
}

void FKorvatPlugin::SendBoolArray(uint32 ValueId, const TArray<bool>& Values)
{
	if (RegisteredTextureShares.empty() || !KorvatValues::FitsOneParameter(Values.Num(), 1))
	{
		return;
	}
	// One byte per element, 0 or 1, whatever the compiler's representation of bool.
	TArray<uint8> Payload;
	Payload.SetNumUninitialized(Values.Num());
	for (int32 Index = 0; Index < Values.Num(); ++Index)
	{
		Payload[Index] = Values[Index] ? 1 : 0;
	}
	PublishParameter(Korvat::UE4::Tag::ABOL, ValueId, Korvat::UE4::GUID{}, Payload.GetData(), Payload.Num());
}

void FKorvatPlugin::SendTransformValue(uint32 ValueId, const FTransform& Value)
{
	const FMatrix Matrix = Value.ToMatrixWithScale();
	double Elements[16];
	for (int32 Row = 0; Row < 4; ++Row)
	{
		for (int32 Column = 0; Column < 4; ++Column)
		{
			Elements[Row * 4 + Column] = Matrix.M[Row][Column];
		}
	}
	PublishParameter(Korvat::UE4::Tag::MTXV, ValueId, Korvat::UE4::GUID{}, Elements, sizeof(Elements));
}
