#include "Misc/ConfigCacheIni.h"
#include "StandInState.h"

struct FConfigCacheIni::FImpl
{
	// File -> section -> key -> value. Names compare without case, as the engine's config does.
	TMap<FString, TMap<FString, TMap<FString, FString>>> Files;
	EConfigCacheType Type;
};

namespace
{
	void RecordWrite(const FString& Filename, const TCHAR* Section, const TCHAR* Key, const FString& Value)
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.ConfigWrites.Add(StandInTesting::FConfigWrite{Filename, FString(Section), FString(Key), Value});
	}
}

FConfigCacheIni::FConfigCacheIni(EConfigCacheType Type)
	: Impl(new FImpl{{}, Type})
{
}

FConfigCacheIni::~FConfigCacheIni()
{
	delete Impl;
}

bool FConfigCacheIni::GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename)
{
	const TMap<FString, TMap<FString, FString>>* File = Impl->Files.Find(Filename);
	const TMap<FString, FString>* SectionValues = File ? File->Find(FString(Section)) : nullptr;
	const FString* Found = SectionValues ? SectionValues->Find(FString(Key)) : nullptr;
	if (!Found)
	{
		return false;
	}
	Value = *Found;
	return true;
}

void FConfigCacheIni::SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename)
{
	Impl->Files.FindOrAdd(Filename).FindOrAdd(FString(Section)).Add(FString(Key), FString(Value));
	RecordWrite(Filename, Section, Key, FString(Value));
}

bool FConfigCacheIni::GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::ToBool(*Text);
	return true;
}

void FConfigCacheIni::SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename)
{
	SetString(Section, Key, Value ? TEXT("True") : TEXT("False"), Filename);
}

bool FConfigCacheIni::GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atoi(*Text);
	return true;
}

void FConfigCacheIni::SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename)
{
	SetString(Section, Key, *FString::Printf(TEXT("%d"), Value), Filename);
}

bool FConfigCacheIni::GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atof(*Text);
	return true;
}

void FConfigCacheIni::SetFloat(const TCHAR* Section, const TCHAR* Key, float Value, const FString& Filename)
{
	SetString(Section, Key, *FString::SanitizeFloat(Value), Filename);
}

bool FConfigCacheIni::GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atod(*Text);
	return true;
}

void FConfigCacheIni::SetDouble(const TCHAR* Section, const TCHAR* Key, double Value, const FString& Filename)
{
	SetString(Section, Key, *FString::SanitizeFloat(Value), Filename);
}

bool FConfigCacheIni::RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename)
{
	TMap<FString, TMap<FString, FString>>* File = Impl->Files.Find(Filename);
	TMap<FString, FString>* SectionValues = File ? File->Find(FString(Section)) : nullptr;
	return SectionValues && SectionValues->Remove(FString(Key)) > 0;
}

bool FConfigCacheIni::DoesSectionExist(const TCHAR* Section, const FString& Filename)
{
	const TMap<FString, TMap<FString, FString>>* File = Impl->Files.Find(Filename);
	return File && File->Contains(FString(Section));
}

void FConfigCacheIni::Flush(bool bRemoveFromCache, const FString& Filename)
{
	{
		StandInState::FRecords& Records = StandInState::Records();
		std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
		Records.ConfigFlushes.Add(StandInTesting::FConfigFlush{bRemoveFromCache, Filename});
	}
	// The stand-in keeps files in memory only; a flushed file keeps its values, as a reload from disk would.
	(void)Impl;
}
