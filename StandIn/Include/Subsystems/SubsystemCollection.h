// The subsystem collection of the stand-in engine (module Engine): the set of subsystems one owner holds.
#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "Templates/Casts.h"
#include "Subsystems/Subsystem.h"

/**
 * The subsystems of one owner, in creation order. The owner calls Initialize once (creating every
 * subsystem class derived from the collection's base class that accepts the owner) and Deinitialize once.
 */
class ENGINE_API FSubsystemCollectionBase
{
public:
	virtual ~FSubsystemCollectionBase();

	FSubsystemCollectionBase(const FSubsystemCollectionBase&) = delete;
	FSubsystemCollectionBase& operator=(const FSubsystemCollectionBase&) = delete;

	/** Creates and initialises the subsystems for NewOuter (once; later calls do nothing). */
	void Initialize(UObject* NewOuter);

	/** Deinitialises the subsystems in reverse order and forgets them. */
	void Deinitialize();

	/** Makes sure a subsystem of SubsystemClass is initialised before the caller; usable during Initialize. */
	USubsystem* InitializeDependency(TSubclassOf<USubsystem> SubsystemClass);

	template <typename TSubsystemClass>
	TSubsystemClass* InitializeDependency()
	{
		return Cast<TSubsystemClass>(InitializeDependency(TSubsystemClass::StaticClass()));
	}

	/** The subsystems whose class is SubsystemClass or derived from it, in creation order. */
	TArray<USubsystem*> GetSubsystemArrayCopy(UClass* SubsystemClass) const;

protected:
	explicit FSubsystemCollectionBase(UClass* InBaseType);

	/** The first subsystem of SubsystemClass (or derived), or null. */
	USubsystem* GetSubsystemInternal(UClass* SubsystemClass) const;

	/** The subsystems of SubsystemClass (or derived); the array lives as long as the collection. */
	const TArray<USubsystem*>& GetSubsystemArrayInternal(UClass* SubsystemClass) const;

private:
	USubsystem* AddAndInitializeSubsystem(UClass* SubsystemClass);

	UClass* BaseType;
	UObject* Outer = nullptr;
	bool bPopulating = false;
	TArray<USubsystem*> Subsystems;
	// Held through shared pointers so a returned array stays where it is while the map grows.
	mutable TMap<UClass*, TSharedPtr<TArray<USubsystem*>>> SubsystemArrayCache;
};

/** The subsystem collection of an owner whose subsystems derive from TBaseType. */
template <typename TBaseType>
class FObjectSubsystemCollection : public FSubsystemCollectionBase
{
public:
	FObjectSubsystemCollection()
		: FSubsystemCollectionBase(TBaseType::StaticClass())
	{
	}

	/** The subsystem of that class, or null. */
	template <typename TSubsystemClass>
	TSubsystemClass* GetSubsystem(const TSubclassOf<TSubsystemClass>& SubsystemClass) const
	{
		static_assert(std::is_base_of_v<TBaseType, TSubsystemClass>, "not a subsystem of this collection");
		return static_cast<TSubsystemClass*>(GetSubsystemInternal(SubsystemClass));
	}

	/** The subsystems of that class or derived from it; the array lives as long as the collection. */
	template <typename TSubsystemClass>
	const TArray<TSubsystemClass*>& GetSubsystemArray(const TSubclassOf<TSubsystemClass>& SubsystemClass) const
	{
		static_assert(std::is_base_of_v<TBaseType, TSubsystemClass>, "not a subsystem of this collection");
		const TArray<USubsystem*>& Array = GetSubsystemArrayInternal(SubsystemClass);
		return reinterpret_cast<const TArray<TSubsystemClass*>&>(Array);
	}

	/** A copy of the subsystems of that class or derived from it. */
	template <typename TSubsystemClass>
	TArray<TSubsystemClass*> GetSubsystemArrayCopy(const TSubclassOf<TSubsystemClass>& SubsystemClass) const
	{
		static_assert(std::is_base_of_v<TBaseType, TSubsystemClass>, "not a subsystem of this collection");
		return GetSubsystemArray<TSubsystemClass>(SubsystemClass);
	}
};
