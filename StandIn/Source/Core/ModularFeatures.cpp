#include "Features/IModularFeatures.h"
#include "Containers/Map.h"

#include <mutex>

namespace
{
	class FModularFeatures final : public IModularFeatures
	{
	public:
		virtual void LockModularFeatureList() override { Mutex.lock(); }
		virtual void UnlockModularFeatureList() override { Mutex.unlock(); }

		virtual int32 GetModularFeatureImplementationCount(const FName Type) override
		{
			std::lock_guard<std::recursive_mutex> Lock(Mutex);
			const TArray<IModularFeature*>* Implementations = Features.Find(Type);
			return Implementations ? Implementations->Num() : 0;
		}

		virtual IModularFeature* GetModularFeatureImplementation(const FName Type, const int32 Index) override
		{
			std::lock_guard<std::recursive_mutex> Lock(Mutex);
			const TArray<IModularFeature*>* Implementations = Features.Find(Type);
			return Implementations && Implementations->IsValidIndex(Index) ? (*Implementations)[Index] : nullptr;
		}

		virtual void RegisterModularFeature(const FName Type, IModularFeature* ModularFeature) override
		{
			check(ModularFeature != nullptr);
			{
				std::lock_guard<std::recursive_mutex> Lock(Mutex);
				Features.FindOrAdd(Type).AddUnique(ModularFeature);
			}
			RegisteredEvent.Broadcast(Type, ModularFeature);
		}

		virtual void UnregisterModularFeature(const FName Type, IModularFeature* ModularFeature) override
		{
			bool bRemoved = false;
			{
				std::lock_guard<std::recursive_mutex> Lock(Mutex);
				if (TArray<IModularFeature*>* Implementations = Features.Find(Type))
				{
					bRemoved = Implementations->Remove(ModularFeature) > 0;
				}
			}
			if (bRemoved)
			{
				UnregisteredEvent.Broadcast(Type, ModularFeature);
			}
		}

		virtual FOnModularFeatureRegistered& OnModularFeatureRegistered() override { return RegisteredEvent; }
		virtual FOnModularFeatureUnregistered& OnModularFeatureUnregistered() override { return UnregisteredEvent; }

	private:
		std::recursive_mutex Mutex;
		TMap<FName, TArray<IModularFeature*>> Features;
		FOnModularFeatureRegistered RegisteredEvent;
		FOnModularFeatureUnregistered UnregisteredEvent;
	};
}

IModularFeatures& IModularFeatures::Get()
{
	static FModularFeatures* Instance = new FModularFeatures();
	return *Instance;
}
