#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Misc/EngineVersionBase.h"

class CORE_API FEngineVersion : public FEngineVersionBase
{
public:
	FEngineVersion() = default;
	FEngineVersion(uint16 InMajor, uint16 InMinor, uint16 InPatch, uint32 InChangelist, const FString& InBranch);

	void Set(uint16 InMajor, uint16 InMinor, uint16 InPatch, uint32 InChangelist, const FString& InBranch);
	void Empty();
	bool ExactMatch(const FEngineVersion& Other) const;
	bool IsCompatibleWith(const FEngineVersionBase& Other) const;
	/** "5.5.1-0+++UE5+Release-5.5" up to the given component. */
	FString ToString(EVersionComponent LastComponent = EVersionComponent::Branch) const;
	FString GetBranch() const { return Branch.Replace(TEXT("+"), TEXT("/")); }
	const FString& GetBranchDescriptor() const { return Branch; }

	/** The version of the running engine. */
	static const FEngineVersion& Current();
	static const FEngineVersion& CompatibleWith();

private:
	FString Branch;
};
