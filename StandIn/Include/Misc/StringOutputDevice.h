// FStringOutputDevice: an output device that appends everything written to it to itself (it is an FString).
// In UE 5.5 the class is declared in Containers/UnrealString.h; newer engines moved it to this header.
// UNCONFIRMED for 5.5: this include path (5.5 code reaches the class through Containers/UnrealString.h or
// CoreMinimal.h; the stand-in's Containers/UnrealString.h should include this header at its end).
#pragma once

#include "Containers/UnrealString.h"
#include "Misc/OutputDevice.h"

class FStringOutputDevice : public FString, public FOutputDevice
{
public:
	FStringOutputDevice(const TCHAR* OutputDeviceName = TEXT(""))
		: FString(OutputDeviceName)
	{
		bAutoEmitLineTerminator = false;
	}

	virtual void Serialize(const TCHAR* InData, ELogVerbosity::Type Verbosity, const class FName& Category) override
	{
		(void)Verbosity;
		(void)Category;
		FString::operator+=(InData);
		if (bAutoEmitLineTerminator)
		{
			FString::operator+=(LINE_TERMINATOR);
		}
	}

	FStringOutputDevice(FStringOutputDevice&&) = default;
	FStringOutputDevice(const FStringOutputDevice&) = default;
	FStringOutputDevice& operator=(FStringOutputDevice&&) = default;
	FStringOutputDevice& operator=(const FStringOutputDevice&) = default;

	// Make += operator virtual.
	virtual FString& operator+=(const FString& Other)
	{
		return FString::operator+=(Other);
	}
};

/** Counts the line terminators written to it. */
class FStringOutputDeviceCountLines : public FStringOutputDevice
{
	typedef FStringOutputDevice Super;

	int32 LineCount;

public:
	FStringOutputDeviceCountLines(const TCHAR* OutputDeviceName = TEXT(""))
		: Super(OutputDeviceName)
		, LineCount(0)
	{
	}

	virtual void Serialize(const TCHAR* InData, ELogVerbosity::Type Verbosity, const class FName& Category) override
	{
		Super::Serialize(InData, Verbosity, Category);
		const int32 TermLength = FCString::Strlen(LINE_TERMINATOR);
		for (;;)
		{
			InData = FCString::Strstr(InData, LINE_TERMINATOR);
			if (!InData)
			{
				break;
			}
			LineCount++;
			InData += TermLength;
		}
		if (bAutoEmitLineTerminator)
		{
			LineCount++;
		}
	}

	virtual FStringOutputDeviceCountLines& operator+=(const FStringOutputDeviceCountLines& Other)
	{
		FString::operator+=(static_cast<const FString&>(Other));
		LineCount += Other.GetLineCount();
		return *this;
	}

	/** Appends through Log, so the lines of Other are counted. */
	virtual FString& operator+=(const FString& Other) override
	{
		Log(Other);
		return *this;
	}

	int32 GetLineCount() const { return LineCount; }
};
