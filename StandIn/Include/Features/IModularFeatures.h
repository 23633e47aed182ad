// The registry of modular features: implementations registered under a feature name, in
// registration order. The registry does not own them.
#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Delegates/Delegate.h"
#include "Features/IModularFeature.h"
#include "UObject/NameTypes.h"

class CORE_API IModularFeatures
{
public:
	static IModularFeatures& Get();

	virtual ~IModularFeatures() {}

	template <typename TModularFeature>
	TModularFeature& GetModularFeature(const FName Type)
	{
		return static_cast<TModularFeature&>(*GetModularFeatureImplementation(Type, 0));
	}

	template <typename TModularFeature>
	TArray<TModularFeature*> GetModularFeatureImplementations(const FName Type)
	{
		TArray<TModularFeature*> Implementations;
		const int32 Count = GetModularFeatureImplementationCount(Type);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Implementations.Add(static_cast<TModularFeature*>(GetModularFeatureImplementation(Type, Index)));
		}
		return Implementations;
	}

	virtual void LockModularFeatureList() = 0;
	virtual void UnlockModularFeatureList() = 0;
	virtual int32 GetModularFeatureImplementationCount(const FName Type) = 0;
	virtual IModularFeature* GetModularFeatureImplementation(const FName Type, const int32 Index) = 0;
	/** Registers an implementation; the registry does not take ownership. */
	virtual void RegisterModularFeature(const FName Type, class IModularFeature* ModularFeature) = 0;
	virtual void UnregisterModularFeature(const FName Type, class IModularFeature* ModularFeature) = 0;

	bool IsModularFeatureAvailable(const FName Type) { return GetModularFeatureImplementationCount(Type) > 0; }

	DECLARE_MULTICAST_DELEGATE_TwoParams(FOnModularFeatureRegistered, const FName& /*Type*/, class IModularFeature* /*ModularFeature*/);
	virtual FOnModularFeatureRegistered& OnModularFeatureRegistered() = 0;

	DECLARE_MULTICAST_DELEGATE_TwoParams(FOnModularFeatureUnregistered, const FName& /*Type*/, class IModularFeature* /*ModularFeature*/);
	virtual FOnModularFeatureUnregistered& OnModularFeatureUnregistered() = 0;
};
