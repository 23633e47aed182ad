#include "Subsystems/SubsystemCollection.h"
#include "Subsystems/WorldSubsystem.h"
#include "Engine/World.h"
#include "UObject/UObjectHash.h"

FSubsystemCollectionBase::FSubsystemCollectionBase(UClass* InBaseType)
	: BaseType(InBaseType)
{
}

FSubsystemCollectionBase::~FSubsystemCollectionBase()
{
	Deinitialize();
}

void FSubsystemCollectionBase::Initialize(UObject* NewOuter)
{
	if (Outer != nullptr || NewOuter == nullptr)
	{
		return;
	}
	Outer = NewOuter;
	bPopulating = true;
	TArray<UClass*> SubsystemClasses;
	GetDerivedClasses(BaseType, SubsystemClasses, true);
	for (UClass* SubsystemClass : SubsystemClasses)
	{
		AddAndInitializeSubsystem(SubsystemClass);
	}
	bPopulating = false;
}

USubsystem* FSubsystemCollectionBase::AddAndInitializeSubsystem(UClass* SubsystemClass)
{
	if (SubsystemClass == nullptr || SubsystemClass->HasAnyClassFlags(CLASS_Abstract))
	{
		return nullptr;
	}
	for (USubsystem* Existing : Subsystems)
	{
		if (Existing->GetClass() == SubsystemClass)
		{
			return Existing;
		}
	}
	const USubsystem* Default = CastChecked<USubsystem>(SubsystemClass->GetDefaultObject());
	if (!Default->ShouldCreateSubsystem(Outer))
	{
		return nullptr;
	}
	USubsystem* Subsystem = NewObject<USubsystem>(Outer, SubsystemClass);
	Subsystems.Add(Subsystem);
	SubsystemArrayCache.Empty();
	Subsystem->Initialize(*this);
	return Subsystem;
}

void FSubsystemCollectionBase::Deinitialize()
{
	for (int32 Index = Subsystems.Num() - 1; Index >= 0; --Index)
	{
		Subsystems[Index]->Deinitialize();
	}
	Subsystems.Empty();
	SubsystemArrayCache.Empty();
	Outer = nullptr;
}

USubsystem* FSubsystemCollectionBase::InitializeDependency(TSubclassOf<USubsystem> SubsystemClass)
{
	UClass* Class = SubsystemClass.Get();
	if (!bPopulating || Class == nullptr || !Class->IsChildOf(BaseType))
	{
		return nullptr;
	}
	return AddAndInitializeSubsystem(Class);
}

USubsystem* FSubsystemCollectionBase::GetSubsystemInternal(UClass* SubsystemClass) const
{
	for (USubsystem* Subsystem : Subsystems)
	{
		if (SubsystemClass != nullptr && Subsystem->GetClass()->IsChildOf(SubsystemClass))
		{
			return Subsystem;
		}
	}
	return nullptr;
}

const TArray<USubsystem*>& FSubsystemCollectionBase::GetSubsystemArrayInternal(UClass* SubsystemClass) const
{
	if (const TSharedPtr<TArray<USubsystem*>>* Cached = SubsystemArrayCache.Find(SubsystemClass))
	{
		return **Cached;
	}
	TSharedPtr<TArray<USubsystem*>> Matching = MakeShared<TArray<USubsystem*>>();
	for (USubsystem* Subsystem : Subsystems)
	{
		if (SubsystemClass != nullptr && Subsystem->GetClass()->IsChildOf(SubsystemClass))
		{
			Matching->Add(Subsystem);
		}
	}
	SubsystemArrayCache.Add(SubsystemClass, Matching);
	return *Matching;
}

TArray<USubsystem*> FSubsystemCollectionBase::GetSubsystemArrayCopy(UClass* SubsystemClass) const
{
	return GetSubsystemArrayInternal(SubsystemClass);
}

UWorldSubsystem::UWorldSubsystem() = default;

UWorld* UWorldSubsystem::GetWorld() const
{
	return Cast<UWorld>(GetOuter());
}

UWorld& UWorldSubsystem::GetWorldRef() const
{
	UWorld* World = GetWorld();
	check(World != nullptr);
	return *World;
}

bool UWorldSubsystem::ShouldCreateSubsystem(UObject* Outer) const
{
	const UWorld* World = Cast<UWorld>(Outer);
	return World != nullptr && DoesSupportWorldType(World->WorldType);
}

bool UWorldSubsystem::DoesSupportWorldType(const EWorldType::Type WorldType) const
{
	return WorldType == EWorldType::Game || WorldType == EWorldType::Editor || WorldType == EWorldType::PIE;
}

UTickableWorldSubsystem::UTickableWorldSubsystem() = default;

UWorld* UTickableWorldSubsystem::GetTickableGameObjectWorld() const
{
	return GetWorld();
}

ETickableTickType UTickableWorldSubsystem::GetTickableTickType() const
{
	// The class default object never ticks; instances decide through IsAllowedToTick.
	return IsTemplate() ? ETickableTickType::Never : ETickableTickType::Conditional;
}

bool UTickableWorldSubsystem::IsAllowedToTick() const
{
	return !IsTemplate() && bInitialized;
}

void UTickableWorldSubsystem::Tick(float /*DeltaTime*/)
{
	checkf(IsInitialized(), TEXT("Ticking a world subsystem that is not initialised"));
}

TStatId UTickableWorldSubsystem::GetStatId() const
{
	return TStatId();
}

void UTickableWorldSubsystem::Initialize(FSubsystemCollectionBase& /*Collection*/)
{
	check(!bInitialized);
	bInitialized = true;
}

void UTickableWorldSubsystem::Deinitialize()
{
	check(bInitialized);
	bInitialized = false;
}
