#include "Containers/StringConv.h"

namespace UE::String::Private
{
	namespace
	{
		constexpr uint32 BogusCodepoint = '?';

		void AppendUTF8(uint32 Codepoint, TArray<ANSICHAR>& Out)
		{
			if (Codepoint > 0x10FFFF || (Codepoint >= 0xD800 && Codepoint <= 0xDFFF))
			{
				Codepoint = BogusCodepoint;
			}
			if (Codepoint < 0x80)
			{
				Out.Add(static_cast<ANSICHAR>(Codepoint));
			}
			else if (Codepoint < 0x800)
			{
				Out.Add(static_cast<ANSICHAR>(0xC0 | (Codepoint >> 6)));
				Out.Add(static_cast<ANSICHAR>(0x80 | (Codepoint & 0x3F)));
			}
			else if (Codepoint < 0x10000)
			{
				Out.Add(static_cast<ANSICHAR>(0xE0 | (Codepoint >> 12)));
				Out.Add(static_cast<ANSICHAR>(0x80 | ((Codepoint >> 6) & 0x3F)));
				Out.Add(static_cast<ANSICHAR>(0x80 | (Codepoint & 0x3F)));
			}
			else
			{
				Out.Add(static_cast<ANSICHAR>(0xF0 | (Codepoint >> 18)));
				Out.Add(static_cast<ANSICHAR>(0x80 | ((Codepoint >> 12) & 0x3F)));
				Out.Add(static_cast<ANSICHAR>(0x80 | ((Codepoint >> 6) & 0x3F)));
				Out.Add(static_cast<ANSICHAR>(0x80 | (Codepoint & 0x3F)));
			}
		}

		void AppendTCHAR(uint32 Codepoint, TArray<TCHAR>& Out)
		{
			if (Codepoint > 0x10FFFF || (Codepoint >= 0xD800 && Codepoint <= 0xDFFF))
			{
				Codepoint = BogusCodepoint;
			}
			if constexpr (sizeof(TCHAR) == 2)
			{
				if (Codepoint >= 0x10000)
				{
					Codepoint -= 0x10000;
					Out.Add(static_cast<TCHAR>(0xD800 + (Codepoint >> 10)));
					Out.Add(static_cast<TCHAR>(0xDC00 + (Codepoint & 0x3FF)));
					return;
				}
			}
			Out.Add(static_cast<TCHAR>(Codepoint));
		}
	}

	void ConvertTCHARToUTF8(const TCHAR* Source, int32 Len, TArray<ANSICHAR>& Out)
	{
		Out.Reserve(Out.Num() + Len);
		for (int32 Index = 0; Index < Len; ++Index)
		{
			uint32 Codepoint = static_cast<uint32>(Source[Index]);
			if constexpr (sizeof(TCHAR) == 2)
			{
				Codepoint &= 0xFFFF;
				if (Codepoint >= 0xD800 && Codepoint <= 0xDBFF && Index + 1 < Len)
				{
					const uint32 Low = static_cast<uint32>(Source[Index + 1]) & 0xFFFF;
					if (Low >= 0xDC00 && Low <= 0xDFFF)
					{
						Codepoint = 0x10000 + ((Codepoint - 0xD800) << 10) + (Low - 0xDC00);
						++Index;
					}
				}
			}
			AppendUTF8(Codepoint, Out);
		}
	}

	void ConvertUTF8ToTCHAR(const ANSICHAR* Source, int32 Len, TArray<TCHAR>& Out)
	{
		const uint8* Bytes = reinterpret_cast<const uint8*>(Source);
		Out.Reserve(Out.Num() + Len);
		int32 Index = 0;
		while (Index < Len)
		{
			const uint8 Lead = Bytes[Index];
			int32 Trail = 0;
			uint32 Codepoint = 0;
			uint32 MinCodepoint = 0;
			if (Lead < 0x80)
			{
				Codepoint = Lead;
			}
			else if ((Lead & 0xE0) == 0xC0)
			{
				Trail = 1;
				Codepoint = Lead & 0x1F;
				MinCodepoint = 0x80;
			}
			else if ((Lead & 0xF0) == 0xE0)
			{
				Trail = 2;
				Codepoint = Lead & 0x0F;
				MinCodepoint = 0x800;
			}
			else if ((Lead & 0xF8) == 0xF0)
			{
				Trail = 3;
				Codepoint = Lead & 0x07;
				MinCodepoint = 0x10000;
			}
			else
			{
				AppendTCHAR(BogusCodepoint, Out);
				++Index;
				continue;
			}
			int32 Consumed = 1;
			bool bValid = true;
			for (; Consumed <= Trail; ++Consumed)
			{
				if (Index + Consumed >= Len || (Bytes[Index + Consumed] & 0xC0) != 0x80)
				{
					bValid = false;
					break;
				}
				Codepoint = (Codepoint << 6) | (Bytes[Index + Consumed] & 0x3F);
			}
			if (!bValid || Codepoint < MinCodepoint)
			{
				AppendTCHAR(BogusCodepoint, Out);
				Index += Consumed;
				continue;
			}
			AppendTCHAR(Codepoint, Out);
			Index += Consumed;
		}
	}

	void ConvertTCHARToANSI(const TCHAR* Source, int32 Len, TArray<ANSICHAR>& Out)
	{
		Out.Reserve(Out.Num() + Len);
		for (int32 Index = 0; Index < Len; ++Index)
		{
			const uint32 Char = static_cast<uint32>(Source[Index]);
			Out.Add(static_cast<ANSICHAR>(Char <= 0xFF ? Char : BogusCodepoint));
		}
	}

	void ConvertANSIToTCHAR(const ANSICHAR* Source, int32 Len, TArray<TCHAR>& Out)
	{
		Out.Reserve(Out.Num() + Len);
		for (int32 Index = 0; Index < Len; ++Index)
		{
			Out.Add(static_cast<TCHAR>(static_cast<uint8>(Source[Index])));
		}
	}
}
