// Storing decoded inbound messages: the latest block per kind, values by id, queues in arrival order.
#include "InboundStore.h"

#include "Platform/System.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Korvat::UE4
{

namespace
{

template <typename T>
T LoadValue(const std::uint8_t* Bytes) noexcept
{
	T Value;
	std::memcpy(&Value, Bytes, sizeof(T));
	return Value;
}

/** Copies a fixed block when the message carries all of it; the block takes no more than its own size. */
template <typename T, std::size_t N>
bool CopyBlock(T (&Block)[N], const DecodedMessage& Message) noexcept
{
	if (static_cast<std::size_t>(Message.Length) < sizeof(Block))
	{
		return false;
	}
	std::memcpy(Block, Message.Data, sizeof(Block));
	return true;
}

bool CopyMatrix(Matrix16& Block, const DecodedMessage& Message) noexcept
{
	if (static_cast<std::size_t>(Message.Length) < sizeof(Block))
	{
		return false;
	}
	std::memcpy(Block.data(), Message.Data, sizeof(Block));
	return true;
}

template <typename T>
void FillArray(std::vector<T>& Out, const DecodedMessage& Message)
{
	const std::size_t Count = static_cast<std::size_t>(Message.Length) / sizeof(T);
	Out.resize(Count);
	if (Count > 0)
	{
		std::memcpy(Out.data(), Message.Data, Count * sizeof(T));
	}
}

} // namespace

bool InboundStore::Apply(const DecodedMessage& Message)
{
	if (Message.Length < 0 || (Message.Length > 0 && Message.Data == nullptr))
	{
		return false;
	}
	const std::uint8_t* const Data = Message.Data;
	const auto Length = static_cast<std::size_t>(Message.Length);

	switch (Message.Tag)
	{
	case Tag::CAMR:
		if (CopyMatrix(Camera, Message))
		{
			CameraChanged = true;
		}
		return false;

	case Tag::PROJ:
		if (CopyMatrix(Projection, Message))
		{
			CameraChanged = true;
		}
		return false;

	case Tag::UVER:
		CopyBlock(HostVersion, Message);
		return false;

	case Tag::VIEW:
		CopyBlock(Viewports, Message);
		return false;

	case Tag::LPHA:
		if (Length > 0)
		{
			std::memcpy(Alpha, Data, std::min(Length, sizeof(Alpha)));
		}
		return false;

	case Tag::ITAC:
		InputPackets.emplace_back(reinterpret_cast<const char*>(Data), Length);
		return false;

	case Tag::EVNT:
	{
		// Only the full layout (id, 4 unread bytes, argument) carries an argument.
		const std::int32_t Argument = Length == 8 ? LoadValue<std::int32_t>(Data + 4) : 0;
		Events.push_back({static_cast<std::int32_t>(Message.Id), Argument});
		return true;
	}

	case Tag::VINT:
		if (Length < sizeof(std::int32_t))
		{
			return false;
		}
		IntValues[Message.Id] = LoadValue<std::int32_t>(Data);
		return true;

	case Tag::VFLT:
		if (Length < sizeof(float))
		{
			return false;
		}
		FloatValues[Message.Id] = LoadValue<float>(Data);
		return true;

	case Tag::VBOL:
		if (Length < 1)
		{
			return false;
		}
		BoolValues[Message.Id] = Data[0] != 0;
		return true;

	case Tag::VSTR:
		StringValues[Message.Id].assign(reinterpret_cast<const char*>(Data), Length);
		return true;

	case Tag::AINT:
		FillArray(IntArrays[Message.Id], Message);
		return true;

	case Tag::AFLT:
		FillArray(FloatArrays[Message.Id], Message);
		return true;

	case Tag::ABOL:
		BoolArrays[Message.Id].assign(Data, Data + Length);
		return true;

	case Tag::ASTR:
	{
		// The whole rest, zero bytes included, is one text in the system code page; a text the conversion
		// rejects stores nothing and is not echoed.
		const auto* Bytes = reinterpret_cast<const char*>(Data);
		const int Count = Length > 0 ? Platform::AnsiToWide(Bytes, Message.Length, nullptr, 0) : 0;
		if (Count <= 0)
		{
			return false;
		}
		std::wstring Text(static_cast<std::size_t>(Count), L'\0');
		if (Platform::AnsiToWide(Bytes, Message.Length, Text.data(), Count) <= 0)
		{
			return false;
		}
		StringArrays[Message.Id] = std::move(Text);
		return true;
	}

	case Tag::VERR:
		HostErrorText.assign(reinterpret_cast<const char*>(Data), Length);
		return true;

	case Tag::MTXV:
	{
		Matrix16 Narrowed;
		for (std::size_t Index = 0; Index < Narrowed.size(); ++Index)
		{
			Narrowed[Index] = static_cast<float>(Message.Matrix[Index]);
		}

		if (!Message.Identifier.IsZero())
		{
			const auto [Entry, bInserted] = MatricesByIdentifier.try_emplace(Message.Identifier, Narrowed);
			if (!bInserted)
			{
				if (std::memcmp(Entry->second.data(), Narrowed.data(), sizeof(Matrix16)) != 0 &&
					std::find(ChangedIdentifiers.begin(), ChangedIdentifiers.end(), Message.Identifier) ==
						ChangedIdentifiers.end())
				{
					ChangedIdentifiers.push_back(Message.Identifier);
				}
				Entry->second = Narrowed;
			}
		}
		if (Message.Id == 0)
		{
			return false;
		}
		Matrices[Message.Id] = Narrowed;
		return true;
	}

	default:
		return false;
	}
}

} // namespace Korvat::UE4
