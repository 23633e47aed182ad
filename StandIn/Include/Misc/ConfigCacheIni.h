// FConfigCacheIni: configuration values by file, section and key, held in memory. Every write and
// flush is recorded for inspection by tests.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "CoreGlobals.h"

enum class EConfigCacheType : uint8
{
	DiskBacked,
	Temporary,
};

class CORE_API FConfigCacheIni
{
public:
	explicit FConfigCacheIni(EConfigCacheType Type);
	~FConfigCacheIni();
	FConfigCacheIni(const FConfigCacheIni&) = delete;
	FConfigCacheIni& operator=(const FConfigCacheIni&) = delete;

	bool GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename);
	void SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename);
	bool GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename);
	void SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename);
	bool GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename);
	void SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename);
	bool GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename);
	void SetFloat(const TCHAR* Section, const TCHAR* Key, float Value, const FString& Filename);
	bool GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename);
	void SetDouble(const TCHAR* Section, const TCHAR* Key, double Value, const FString& Filename);
	bool RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename);
	bool DoesSectionExist(const TCHAR* Section, const FString& Filename);

	/** Writes the named file (all files for an empty name); optionally drops it from the cache. */
	void Flush(bool bRemoveFromCache, const FString& Filename = FString());

private:
	struct FImpl;
	FImpl* Impl;
};
